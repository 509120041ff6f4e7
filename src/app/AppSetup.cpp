#include "app/AppSetup.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace velmora {
namespace {

// Texts of Qt's file dialog that its Korean translation leaves out: the type column names
// folders and drives through a context the translation does not have.
class QtKoreanGaps : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0) return {};
        static const std::pair<const char*, const char*> texts[] = {
            {"Folder", "폴더"}, {"Drive", "드라이브"}, {"Alias", "별칭"}, {"Shortcut", "바로 가기"}};
        for (const auto& [english, korean] : texts)
            if (qstrcmp(source, english) == 0) return QString::fromUtf8(korean);
        return {};
    }
};

}  // namespace

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
    QCoreApplication::installTranslator(new QtKoreanGaps(&app));
    return QCoreApplication::installTranslator(translator);
}

}  // namespace velmora
