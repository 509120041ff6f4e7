#include "skin/SkinCaption.h"

#include <QPainter>
#include <tinyxml2.h>

#include "skin/SkinResources.h"
#include "skin/SkinXml.h"

namespace velmora {

using tinyxml2::XMLElement;

QRect ElementRect(const XMLElement* el) {
    const XMLElement* pos = el->FirstChildElement("Position");
    const XMLElement* size = el->FirstChildElement("Size");
    return QRect(AttrInt(pos, "x"), AttrInt(pos, "y"), AttrInt(size, "w"), AttrInt(size, "h"));
}

std::vector<SkinCaption> ReadCaptions(const XMLElement* control) {
    std::vector<SkinCaption> out;
    for (const XMLElement* c = control->FirstChildElement("Caption"); c;
         c = c->NextSiblingElement("Caption")) {
        SkinCaption cap;
        cap.index = AttrInt(c, "index");
        cap.font = AttrText(c, "font");
        const std::string align = AttrText(c, "align");
        cap.align = align == "RIGHT" ? kAlignRight : align == "LEFT" ? kAlignLeft : kAlignHCenter;
        cap.color = AttrColor(c, "color");
        cap.rect = ElementRect(c);
        if (const XMLElement* offsets = c->FirstChildElement("Offsets")) {
            for (const XMLElement* o = offsets->FirstChildElement("Offset"); o;
                 o = o->NextSiblingElement("Offset"))
                cap.offsets.push_back({AttrText(o, "type"), AttrInt(o, "movex"), AttrInt(o, "movey"),
                                       AttrColor(o, "color")});
        }
        out.push_back(std::move(cap));
    }
    return out;
}

std::string CaptionTextOf(const std::vector<SkinCaption>& captions, int index) {
    for (const SkinCaption& c : captions)
        if (c.index == index) return c.text;
    return {};
}

bool SetCaptionTextOf(std::vector<SkinCaption>& captions, int index, const std::string& text) {
    for (SkinCaption& c : captions)
        if (c.index == index) {
            c.text = text;
            return true;
        }
    return false;
}

void DrawCaptions(QPainter& p, const std::vector<SkinCaption>& captions, bool hover) {
    for (int index = 0;; ++index) {
        const SkinCaption* cap = nullptr;
        for (const SkinCaption& c : captions)
            if (c.index == index) {
                cap = &c;
                break;
            }
        if (!cap) return;
        QRect r = cap->rect;
        Rgb color = cap->color;
        if (hover) {
            for (const SkinCaption::Offset& o : cap->offsets)
                if (o.type == "OVER") {
                    r.translate(o.moveX, o.moveY);
                    color = o.color;
                    break;
                }
        }
        const QFont* font = SkinResources::Instance().FindFont(cap->font);
        p.setFont(font ? *font : QFont());
        p.setPen(ToQColor(color));
        const int h = cap->align == kAlignRight  ? Qt::AlignRight
                      : cap->align == kAlignLeft ? Qt::AlignLeft
                                                 : Qt::AlignHCenter;
        p.drawText(r, h | Qt::AlignVCenter | Qt::TextSingleLine, QString::fromStdString(cap->text));
    }
}

}  // namespace velmora
