#include "skin/SkinStatic.h"

#include <QPainter>
#include <tinyxml2.h>

#include "skin/SkinXml.h"

namespace velmora {

SkinStatic::SkinStatic(QWidget* parent, int id, const QRect& rect, const tinyxml2::XMLElement* el)
    : QWidget(parent), id_(id) {
    setGeometry(rect);
    if (const auto* img = el->FirstChildElement("Image"); img && *AttrText(img, "file"))
        image_.Load(AttrText(img, "file"));
    captions_ = ReadCaptions(el);
    raise();
}

void SkinStatic::SetCaptionText(int index, const std::string& text) {
    if (SetCaptionTextOf(captions_, index, text)) update();
}

std::string SkinStatic::CaptionText(int index) const { return CaptionTextOf(captions_, index); }

void SkinStatic::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!image_.IsEmpty()) p.drawImage(0, 0, image_.Bitmap().image());
    DrawCaptions(p, captions_, false);
}

}  // namespace velmora
