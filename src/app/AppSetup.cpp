#include "app/AppSetup.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <ctime>

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

// Sees the first paint event and, once that paint is through, prints the time.
class FirstPaintProbe : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            QCoreApplication::instance()->removeEventFilter(this);
            QTimer::singleShot(0, [] {
                timespec now;
                clock_gettime(CLOCK_REALTIME, &now);
                std::printf("first-paint %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                if (qgetenv("VELMORA_FIRST_PAINT") == "exit") QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
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

void ReportFirstPaintIfAsked(QCoreApplication& app) {
    if (qEnvironmentVariableIsSet("VELMORA_FIRST_PAINT")) app.installEventFilter(new FirstPaintProbe(&app));
}

}  // namespace velmora
