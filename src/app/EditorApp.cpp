#include "app/EditorApp.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/AppInfo.h"
#include "app/AppPrompter.h"
#include "app/FileAssociation.h"
#include "app/MainWindow.h"
#include "board/BoardControl.h"
#include "record/RecordNotifier.h"
#include "skin/ResourceArchive.h"
#include "skin/SkinResources.h"

namespace velmora {

EditorApp::EditorApp(CommandLine commandLine) : EditorApp(std::move(commandLine), Options{}) {}

EditorApp::EditorApp(CommandLine commandLine, Options options)
    : commandLine_(std::move(commandLine)), options_(options), instance_(kAppTitle) {}

EditorApp::~EditorApp() = default;

bool EditorApp::InitInstance() {
    if (options_.singleInstance && !instance_.Acquire()) return false;

    // A relative record path means the folder the user started from, not the program's.
    std::string record = commandLine_.recordPath;
    if (!record.empty()) record = QFileInfo(QString::fromStdString(record)).absoluteFilePath().toStdString();

    const QString saved = QDir::currentPath();
    const QString programDir = QCoreApplication::applicationDirPath();
    if (options_.registerAssociation)
        RegisterFileAssociation(QCoreApplication::applicationFilePath().toStdString(),
                                QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString(),
                                QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString());

    QDir::setCurrent(programDir);
    ResourceArchive::Instance().AddArchive("Resource.bk2");
    SkinResources::Instance().LoadAll();
    QDir::setCurrent(saved);

    prompter_ = std::make_unique<AppPrompter>();
    SetRecordNotifyHandler([](const std::string& text) { Prompter::Current().MessageBox(text, kAppTitle, kButtonsOk); });
    RegisterBoardControl();

    window_ = std::make_unique<MainWindow>();
    if (!window_->Create(options_.maximise)) return false;
    window_->show();

    if (!record.empty()) {
        QDir::setCurrent(programDir);
        window_->OpenRecordFile(record);
    }
    return true;
}

int EditorApp::ExitInstance() {
    window_.reset();
    SetRecordNotifyHandler({});
    prompter_.reset();
    ResourceArchive::Instance().Clear();
    return 0;
}

bool EditorApp::SaveScreenshot(const std::string& path, int width, int height) {
    if (!window_) return false;
    window_->setWindowState(Qt::WindowNoState);
    window_->resize(width, height);
    // Let the posted tab change and the repaints run first.
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    return window_->grab().save(QString::fromStdString(path), "PNG");
}

}  // namespace velmora
