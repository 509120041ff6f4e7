// One window with a Korean label. With VELMORA_FIRST_PAINT set it prints "first-paint <ns>"
// (CLOCK_REALTIME) once its first paint has reached the display, as velmora does.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace {

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                timespec now;
                clock_gettime(CLOCK_REALTIME, &now);
                std::printf("first-paint %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstPaint probe;
    if (qEnvironmentVariableIsSet("VELMORA_FIRST_PAINT")) app.installEventFilter(&probe);
    QLabel label(QString::fromUtf8("바둑 기보 편집기"));
    label.setAlignment(Qt::AlignCenter);
    label.resize(640, 480);
    label.show();
    return app.exec();
}
