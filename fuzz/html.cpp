// Feeds arbitrary mark-up (and optionally a style sheet) to the rich-text renderer:
// layout, drawing into a small surface and the link lookups.
// Input: one byte of options, then the mark-up; a NUL splits a style sheet off the front.
#include <QApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "richtext/HtmlDrawer.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(*argc, *argv);
    // Every image request gets a small picture, so image sizes and lists are laid out; an
    // image list gets a strip of three frames.
    velmora::SetDefaultHtmlImageLoader([](const velmora::HtmlImageRequest& r) {
        QImage img(r.tag == velmora::kTagImageList ? 12 : 6, 4, QImage::Format_RGB32);
        img.fill(0xFF336699u);
        return img;
    });
    velmora::SetHtmlStringLoader([](int id) { return id == 1 ? std::string("one two, 셋") : std::string(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora;
    if (size < 1) return 0;
    const unsigned options = data[0];
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    static HtmlDrawer drawer;
    drawer.SetMaxWidth((options & 1) ? 120 : 0);
    drawer.SetKeepLineBreaks(options & 2);
    const size_t nul = text.find('\0');
    if (nul != std::string::npos) {
        drawer.SetStyleSheet(text.substr(0, nul));
        text.erase(0, nul + 1);
    } else {
        drawer.SetStyleSheet(std::nullopt);
    }
    Surface surface(160, 120);
    drawer.Prepare(surface, text);
    drawer.Draw(surface, QRect(4, 4, 150, 110));
    if (drawer.AdvanceAnimation(250)) drawer.Draw(surface, QRect(4, 4, 150, 110));
    for (size_t i = 0; i < drawer.Links().size(); ++i)
        drawer.HoverAt(drawer.Links()[i].rect.center());
    drawer.LinkAt(QPoint(20, 20));
    if (drawer.SetHoverLink(0)) drawer.Draw(surface, QRect(4, 4, 150, 110));
    return 0;
}
