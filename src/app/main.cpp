#include <QApplication>
#include <string>
#include <vector>

#include "app/AppSetup.h"
#include "app/EditorApp.h"
#include "platform/Fonts.h"

// Velmora's entry point: the editor on the record named by the first argument. With
// "--screenshot FILE" it renders the main window to a picture instead (used when there is
// no display) and neither takes the single-instance lock nor touches the file association.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    velmora::SetUpApplication();
    velmora::InstallQtKoreanTranslation(app);
    velmora::RegisterFontSubstitutions();

    const velmora::CommandLine commandLine =
        velmora::CommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc));
    velmora::EditorApp::Options options;
    const bool screenshot = !commandLine.screenshot.empty();
    if (screenshot) options = {false, false, false, false, false};
    else velmora::ReportFirstPaintIfAsked(app);

    velmora::EditorApp editor(commandLine, options);
    // A second start ends quietly; a screenshot that could not be made is a failure.
    if (!editor.InitInstance()) return screenshot ? 1 : 0;
    const int code = screenshot ? (editor.SaveScreenshot(commandLine.screenshot, 1400, 900) ? 0 : 1) : app.exec();
    editor.ExitInstance();
    return code;
}
