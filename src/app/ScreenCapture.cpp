#include "app/ScreenCapture.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPixmap>
#include <QStandardPaths>
#include <QWidget>
#include <cstdio>

#include "platform/SafeFile.h"

namespace velmora {
namespace {

// Counts every name tried during the run, so captures never reuse a name.
int g_captureCounter = 0;

}  // namespace

std::string CaptureFolder() {
    QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (desktop.isEmpty()) desktop = QDir::homePath();
    return (desktop + QStringLiteral("/바둑캡쳐")).toStdString();
}

std::string CaptureFileName(const std::string& folder, int year, int month, int day, int counter) {
    char name[64];
    std::snprintf(name, sizeof name, "%02d%02d%02d__%02d.jpg", year % 100, month, day, counter);
    return folder + "/젤로네바둑" + name;
}

void ResetCaptureCounter() {
    g_captureCounter = 0;
}

CaptureResult CaptureWindow(QWidget* window, const std::string& folder) {
    CaptureResult result;
    const QString dir = QString::fromStdString(folder);
    result.folderMade = QDir().mkpath(dir) && QFileInfo(dir).isDir();
    const QDate today = QDate::currentDate();
    do {
        result.path =
            CaptureFileName(folder, today.year(), today.month(), today.day(), g_captureCounter++);
    } while (QFileInfo::exists(QString::fromStdString(result.path)));
    if (!window || !result.folderMade) return result;

    const QImage picture = window->grab().toImage().convertToFormat(QImage::Format_RGB888);
    if (picture.isNull()) return result;
    QImageWriter writer(QString::fromStdString(result.path), "jpeg");
    writer.setQuality(75);
    result.written = writer.write(picture);
    return result;
}

std::string CaptureMessage(const CaptureResult& result, const std::string& folder) {
    if (result.written)
        return result.path + "\n바탕화면에 위의 파일로 스크린 샷이 성공적으로 저장 되었습니다.";
    // The folder is judged as a file of its parent folder would be.
    if (!result.folderMade)
        return "캡쳐 폴더를 만들 수 없어 스크린 샷을 저장하지 못했습니다: " + WriteFailureReason(folder) + ".\n" + folder;
    return "스크린 샷을 저장하지 못했습니다: " + WriteFailureReason(result.path) + ".\n" + result.path;
}

}  // namespace velmora
