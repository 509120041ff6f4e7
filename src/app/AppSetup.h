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

// With VELMORA_FIRST_PAINT in the environment, prints "first-paint <ns>" (CLOCK_REALTIME) on
// standard output once the first window's first paint has been drawn; bench/startup.sh times
// the start-up with it, and a profiler's run sets it to "exit" to end there. Does nothing
// otherwise.
void ReportFirstPaintIfAsked(QCoreApplication& app);

}  // namespace velmora
