#pragma once

#include <QGuiApplication>
#include <memory>

namespace velmora {

// Fonts and painting need a GUI application: makes one (off-screen when no platform is named)
// unless one runs already → the application made here, or nullptr.
std::unique_ptr<QGuiApplication> EnsureCliGuiApplication();

}  // namespace velmora
