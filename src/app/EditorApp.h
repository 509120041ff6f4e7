#pragma once

#include <QString>
#include <memory>
#include <string>

#include "app/CommandLine.h"
#include "app/SingleInstance.h"

namespace velmora {

class AppPrompter;
class MainWindow;

// The application object: the single-instance rule, the file association, the resource
// archive and sets, the main window and the record named on the command line.
class EditorApp {
public:
    struct Options {
        bool singleInstance = true;       // a second start ends quietly
        bool registerAssociation = true;  // write the desktop entry and default handler
        bool maximise = true;             // off: the window keeps its skin size
        bool rememberSettings = true;     // the window's place and the records opened last
        bool askUser = true;              // off: questions go to standard error, and a missing
                                          // Resource.bk2 ends the start
    };

    explicit EditorApp(CommandLine commandLine);
    EditorApp(CommandLine commandLine, Options options);
    ~EditorApp();

    // The start-up → false when the program is to end at once (another instance runs, the
    // main window could not be made, or Resource.bk2 is missing with no one to ask).
    bool InitInstance();
    // The exit step: the main window goes, the resource archives close → the exit code.
    int ExitInstance();

    MainWindow* Window() const { return window_.get(); }
    // A record handed over by a later start: opened in the main window once no dialog or
    // menu is open there.
    void OpenHandedOver(const std::string& path);
    // Renders the main window at width × height into a PNG file → false when it cannot be written.
    bool SaveScreenshot(const std::string& path, int width, int height);

private:
    // Where the settings live: the user's configuration folder (velmora/velmora.conf).
    static QString SettingsPath();

    CommandLine commandLine_;
    Options options_;
    SingleInstance instance_;
    std::unique_ptr<AppPrompter> prompter_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace velmora
