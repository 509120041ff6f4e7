#include "app/EditorApp.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include "app/AppInfo.h"
#include "app/AppPrompter.h"
#include "app/AppStrings.h"
#include "app/FileAssociation.h"
#include "app/MainWindow.h"
#include "app/panes/DisplayMenu.h"
#include "board/BoardControl.h"
#include "platform/ProgramFolder.h"
#include "record/RecordNotifier.h"
#include "skin/ResourceArchive.h"
#include "skin/SkinResources.h"

namespace velmora {

EditorApp::EditorApp(CommandLine commandLine) : EditorApp(std::move(commandLine), Options{}) {}

EditorApp::EditorApp(CommandLine commandLine, Options options)
    : commandLine_(std::move(commandLine)), options_(options), instance_(kAppTitle) {}

EditorApp::~EditorApp() = default;

bool EditorApp::InitInstance() {
    // A relative record path means the folder the user started from, not the program's.
    std::string record = commandLine_.recordPath;
    // The name stays the bytes it was given: a file name need not be UTF-8.
    if (!record.empty() && record[0] != '/') record = QFile::encodeName(QDir::currentPath()).toStdString() + "/" + record;

    // Another editor runs: it opens the record (a file manager's double-click), this start ends.
    if (options_.singleInstance && !instance_.Acquire()) {
        if (!record.empty()) instance_.HandOver(record);
        return false;
    }

    // Questions asked while starting (a missing Resource.bk2) already carry the program's name.
    if (options_.askUser) prompter_ = std::make_unique<AppPrompter>();
    else Prompter::Install(&Prompter::StandardError());
    // Skin texts may name the program's strings by number.
    InstallAppStrings();
    if (options_.registerAssociation) {
        const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        std::vector<std::string> systemData;
        for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
            if (dir != dataHome) systemData.push_back(dir.toStdString());
        RegisterFileAssociation(QCoreApplication::applicationFilePath().toStdString(), dataHome.toStdString(),
                                QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString(),
                                systemData);
    }

    // The skin comes from the program's folder, whichever folder the user started in.
    const std::string programDir = ProgramFolder();
    ResourceArchive::Instance().SetFolder(programDir);
    const bool archived = ResourceArchive::Instance().AddArchive(programDir + "/Resource.bk2");
    // A window without its skin is no picture of the program: the message said, the run ends.
    if (!archived && !options_.askUser) return false;
    SkinResources::Instance().LoadAll();

    SetRecordNotifyHandler([](const std::string& text) { Prompter::Current().MessageBox(text, kAppTitle, kButtonsOk); });
    RegisterBoardControl();

    window_ = std::make_unique<MainWindow>();
    if (!window_->Create(options_.maximise)) return false;
    if (options_.rememberSettings) {
        QSettings settings(SettingsPath(), QSettings::IniFormat);
        // Back at its last size and place, unless that is off every screen now.
        const QRect normal = settings.value("window/normal").toRect();
        if (normal.isValid() && QGuiApplication::screenAt(normal.center()))
            window_->PlaceAt(normal, settings.value("window/maximised", options_.maximise).toBool());
        std::vector<std::string> recent;
        for (const QVariant& path : settings.value("recent/files").toList())
            recent.push_back(path.toByteArray().toStdString());
        window_->Document().SetRecentPaths(std::move(recent), [](const std::vector<std::string>& paths) {
            QVariantList list;
            for (const std::string& path : paths) list.push_back(QByteArray::fromStdString(path));
            QSettings(SettingsPath(), QSettings::IniFormat).setValue("recent/files", list);
        });
        // A new record suggests the board size chosen last.
        const int size = settings.value("board/size", kDefaultBoardSize).toInt();
        window_->Document().SetLastBoardSize(size, [](int chosen) {
            QSettings(SettingsPath(), QSettings::IniFormat).setValue("board/size", chosen);
        });
        // The board's coordinates read as chosen last.
        if (settings.value("board/coordinates").toString() == "usual")
            SetBoardCoordinateStyle(CoordinateStyle::kUsual);
        SetCoordinateStyleChosen([](CoordinateStyle style) {
            QSettings(SettingsPath(), QSettings::IniFormat)
                .setValue("board/coordinates", style == CoordinateStyle::kUsual ? "usual" : "classic");
        });
    }
    window_->show();
    if (options_.singleInstance) instance_.Listen([this](const std::string& path) { OpenHandedOver(path); });

    bool restored = false;
    if (options_.rememberSettings) {
        // Tests keep their copies in Qt's test folders, as they keep their settings.
        window_->Document().EnableRecovery(
            QStandardPaths::isTestModeEnabled()
                ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() + "/velmora/state"
                : Recovery::DefaultFolder());
        restored = window_->Document().OfferRecovery();
    }
    if (!record.empty() && !restored) window_->OpenRecordFile(record);
    return true;
}

void EditorApp::OpenHandedOver(const std::string& path) {
    if (!window_) return;
    // Not under an open dialog or menu: the record waits until the user has finished there.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        QTimer::singleShot(300, window_.get(), [this, path] { OpenHandedOver(path); });
        return;
    }
    window_->OpenHandedOver(path);
}

QString EditorApp::SettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/velmora/velmora.conf";
}

int EditorApp::ExitInstance() {
    if (window_ && options_.rememberSettings) {
        // A clean close: what was kept aside of unsaved work is no longer needed.
        window_->Document().DiscardRecovery();
        QSettings settings(SettingsPath(), QSettings::IniFormat);
        settings.setValue("window/normal", window_->NormalGeometry());
        settings.setValue("window/maximised", window_->isMaximized());
    }
    window_.reset();
    SetRecordNotifyHandler({});
    SetCoordinateStyleChosen({});
    prompter_.reset();
    Prompter::Install(nullptr);
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
