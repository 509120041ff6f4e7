#include "board/BoardRender.h"

#include <tinyxml2.h>

#include <QImageWriter>

#include "board/BoardCanvas.h"
#include "skin/SkinResources.h"
#include "skin/SkinXml.h"

namespace velmora {

QImage RenderBoardImage(const BoardLogic& logic, const RenderOptions& options) {
    if (options.width <= 0 || options.height <= 0) return {};
    // A canvas of its own, not installed as the logic's view: it reads the logic and draws once.
    BoardCanvas canvas(logic);
    if (!canvas.LoadImages()) return {};
    canvas.SetBackground(options.background);
    canvas.SetClientSize(options.width, options.height);
    canvas.Relayout();
    return canvas.BackBuffer().image();
}

namespace {

const tinyxml2::XMLElement* FindElement(const tinyxml2::XMLElement* el, const char* name) {
    for (; el; el = el->NextSiblingElement()) {
        if (std::string(el->Name()) == name) return el;
        if (const tinyxml2::XMLElement* inner = FindElement(el->FirstChildElement(), name))
            return inner;
    }
    return nullptr;
}

}  // namespace

Rgb SkinBoardBackground(const std::string& skinFile, Rgb fallback) {
    tinyxml2::XMLDocument doc;
    if (!LoadSkinXml(skinFile, doc)) return fallback;
    const tinyxml2::XMLElement* board = FindElement(doc.RootElement(), "BadukPan");
    if (!board || !*AttrText(board, "color")) return fallback;
    return AttrColor(board, "color");
}

bool RenderPositionPng(const BoardLogic& logic, const RenderOptions& options,
                       const std::string& path) {
    const QImage image = RenderBoardImage(logic, options);
    if (image.isNull()) return false;
    QImageWriter writer(QString::fromStdString(path), "png");
    return writer.write(image);
}

}  // namespace velmora
