// Feeds arbitrary text to the skin readers: the colour words, the four resource-set files
// and a window file, which is then built and drawn into a small surface.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Prompter.h"
#include "skin/ResourceArchive.h"
#include "skin/SkinResources.h"
#include "skin/SkinWindow.h"

namespace {

// Repeated names and timers ask; every question is answered with its first button.
class QuietPrompter : public velmora::Prompter {
  public:
    int MessageBox(const std::string&, const std::string&, int) override { return 1; }
    int Popup(const std::string&, int) override { return 1; }
    std::string OpenFileName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    std::string SaveFileName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    int ChooseItem(const std::string&, const std::vector<std::string>&,
                   const std::vector<std::vector<std::string>>&) override {
        return -1;
    }
};

void WriteFile(const QString& path, const std::uint8_t* data, std::size_t size) {
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(*argc, *argv);
    static QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    // One small bitmap the files may name ("a.bmp"), so pieces are cut from real pixels.
    QDir().mkpath("Resource");
    QImage img(40, 30, QImage::Format_RGB888);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) img.setPixel(x, y, qRgb(x * 6, y * 8, (x ^ y) * 4));
    img.save("Resource/a.bmp", "BMP");
    static QuietPrompter prompter;
    velmora::Prompter::Install(&prompter);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora;
    const std::string text(reinterpret_cast<const char*>(data), size);
    ParseColor(text);
    SkinResources::ParseColorSetRgb(text);

    ResourceArchive::Instance().Clear();
    SkinResources& res = SkinResources::Instance();
    res.Clear();
    WriteFile("s.xml", data, size);
    res.LoadColorSet("s.xml");
    res.LoadFontSet("s.xml");
    res.LoadImageMapSets("s.xml");
    res.LoadAniBtnImageSet("s.xml");

    SkinWindow w;
    w.SetSkinFile("s.xml");
    w.CreateFromSkin();
    w.AdvanceAnimations(0);
    w.AdvanceAnimations(100);
    Surface dc(std::clamp(w.width(), 1, 200), std::clamp(w.height(), 1, 150));
    w.RenderShapes(dc);
    return 0;
}
