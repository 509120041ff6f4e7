#include "app/AppSetup.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace velmora {

void SetUpApplication() {
    QCoreApplication::setApplicationName("velmora");
    QGuiApplication::setDesktopFileName("velmora");
    // The icon the package installs into the hicolor theme; none in a build tree.
    QGuiApplication::setWindowIcon(QIcon::fromTheme("velmora"));
}

bool InstallQtKoreanTranslation(QCoreApplication& app) {
    // The program is Korean whatever the desktop's language, so Qt's dialogs are too.
    const QLocale korean(QLocale::Korean, QLocale::SouthKorea);
    QLocale::setDefault(korean);
    auto* translator = new QTranslator(&app);
    if (!translator->load(korean, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace velmora
