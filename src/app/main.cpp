#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <cstring>
#include <string>

#include "platform/Fonts.h"

// Velmora's entry point. Until the main window exists this shows a plain window;
// "--screenshot FILE" renders it to a picture instead (used when there is no display).
int main(int argc, char** argv) {
    std::string screenshot;
    std::string record;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc)
            screenshot = argv[++i];
        else
            record = argv[i];
    }
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QString::fromUtf8("젤로네 기보 편집기"));
    velmora::RegisterFontSubstitutions();
    QLabel window(QString::fromUtf8("Velmora 기보 편집기\n%1").arg(QString::fromStdString(record)));
    window.setAlignment(Qt::AlignCenter);
    window.resize(900, 750);
    if (!screenshot.empty()) {
        window.grab().save(QString::fromStdString(screenshot));
        return 0;
    }
    window.show();
    return app.exec();
}
