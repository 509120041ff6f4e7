#pragma once

namespace velmora {

// The application title: the main window's caption and the name of the single-instance lock.
constexpr const char* kAppTitle = "젤로네 기보 편집기";
// The version text shown in the help menu and the version dialog.
constexpr const char* kVersionText = "V1.0";

}  // namespace velmora
