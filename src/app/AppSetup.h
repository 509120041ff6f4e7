#pragma once

class QCoreApplication;

namespace velmora {

// Names the application for the desktop (its desktop entry and window class). The display
// name stays unset: the desktop would append it to every window title, which already carries
// the program's name.
void SetUpApplication();

// Loads Qt's own Korean texts, so the file, print and message dialogs Qt draws speak Korean
// like the rest of the program → false when the translation is not installed.
bool InstallQtKoreanTranslation(QCoreApplication& app);

}  // namespace velmora
