#include "skin/SkinResources.h"

#include <tinyxml2.h>

#include <QFontMetrics>
#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/Fonts.h"
#include "platform/Prompter.h"
#include "skin/SkinXml.h"

namespace velmora {
namespace {

// Registers value under name unless the name is taken; a repeat gets a pop-up and is dropped.
template <typename Map, typename Value>
void Register(Map& map, const std::string& name, Value&& value) {
    if (map.count(name)) {
        Prompter::Current().Popup("스킨 오류: " + name + "(이)란 세트가 두 번 정의되어 뒤의 것을 쓰지 않습니다.", kButtonsOk);
        return;
    }
    map.emplace(name, std::forward<Value>(value));
}

// Walks root's children called entry in document order; false without a document or root.
template <typename Build>
bool LoadSet(const std::string& path, const char* root, const char* entry, Build build) {
    tinyxml2::XMLDocument doc;
    if (!LoadSkinXml(path, doc)) return false;
    const tinyxml2::XMLElement* r = doc.FirstChildElement(root);
    if (!r) return false;
    for (const auto* el = r->FirstChildElement(entry); el; el = el->NextSiblingElement(entry))
        build(el);
    return true;
}

ColorRef ColorWord(unsigned r, unsigned g, unsigned b) { return (r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16; }

// Leading hex digits of text as a number (0 when there are none).
unsigned long LeadingHex(const std::string& text) {
    if (text.empty() || !std::isxdigit(static_cast<unsigned char>(text[0]))) return 0;
    return std::strtoul(text.c_str(), nullptr, 16);
}

// Cuts text to at most n bytes without splitting a UTF-8 character.
std::string CutUtf8(const std::string& text, size_t n) {
    if (text.size() <= n) return text;
    size_t end = n;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

struct SlotName {
    const char* name;
    int slot;
};
constexpr SlotName kNineSliceSlots[] = {
    {"LeftTop", kLeftTop},         {"Title", kTitle},           {"CenterTop", kCenterTop},
    {"RightTop", kRightTop},       {"LeftBottom", kLeftBottom}, {"RightBottom", kRightBottom},
    {"CenterBottom", kCenterBottom}, {"LeftCenter", kLeftCenter}, {"RightCenter", kRightCenter}};
constexpr SlotName kBarSlots[] = {
    {"HorzStart", kHorzStart}, {"HorzEnd", kHorzEnd}, {"HorzFill", kHorzFill},
    {"HorzCenter", kHorzCenter}, {"VertStart", kVertStart}, {"VertEnd", kVertEnd},
    {"VertFill", kVertFill},   {"VertCenter", kVertCenter}};

}  // namespace

SkinResources& SkinResources::Instance() {
    static SkinResources instance;
    return instance;
}

void SkinResources::Clear() {
    colors_.clear();
    fontSpecs_.clear();
    fonts_.clear();
    madeFonts_.clear();
    imageMaps_.clear();
    aniSets_.clear();
}

void SkinResources::LoadAll() {
    LoadColorSet();
    LoadFontSet();
    LoadImageMapSets();
    LoadAniBtnImageSet();
}

ColorRef SkinResources::ParseColorSetRgb(const std::string& text) {
    if (!text.empty() && text[0] == '#') return static_cast<ColorRef>(LeadingHex(text.substr(1)));
    const size_t c1 = text.find(',');
    if (c1 == std::string::npos) return 0;
    const size_t c2 = text.find(',', c1 + 1);
    const std::string r = text.substr(0, c1);
    const std::string g = text.substr(c1 + 1, c2 == std::string::npos ? std::string::npos : c2 - c1 - 1);
    const std::string b = c2 == std::string::npos ? "" : text.substr(c2 + 1);
    return ColorWord(static_cast<unsigned>(LeadingInt(r.c_str())), static_cast<unsigned>(LeadingInt(g.c_str())),
                     static_cast<unsigned>(LeadingInt(b.c_str())));
}

QFont SkinResources::MakeSkinFont(const std::string& face, const std::string& size,
                                  const std::string& width, const std::string& bold,
                                  const std::string& italic, const std::string& underline) {
    const auto has = [](const std::string& v) { return v.find("true") != std::string::npos; };
    // Sizes beyond any screen are cut to the skin's number range.
    const int height = size.empty() ? 8 : std::min(LeadingInt(size.c_str()), kMaxSkinNumber);
    const int cell = height > 0 ? height : 8;
    const int avg = std::clamp(LeadingInt(width.c_str()), 0, kMaxSkinNumber);
    // The size is the character cell's height (ascent + descent), as the skin's captions were
    // drawn for; Qt's pixel size is the em, which would make every text larger.
    QFont font = CellSizedFont(face.empty() ? "굴림체" : CutUtf8(face, 31), cell, avg,
                               has(bold) ? 700 : 400);
    // Fonts come in whole pixels and a face's cell can step over the size (11, then 13): take
    // the largest em whose cell does not exceed it, so captions still fit their boxes.
    // Tried from the largest down: the first that fits is the one, and each size tried loads
    // a font engine.
    if (cell <= 512) {
        const int em = font.pixelSize();
        int best = em;
        for (int px = em + 2; px >= std::max(1, em - 2); --px) {
            font.setPixelSize(px);
            const QFontMetrics metrics(font);
            if (metrics.ascent() + metrics.descent() <= cell) {
                best = px;
                break;
            }
        }
        font.setPixelSize(best);
    }
    font.setItalic(has(italic));
    font.setUnderline(has(underline));
    return font;
}

bool SkinResources::LoadColorSet(const std::string& path) {
    return LoadSet(path, "ColorSet", "Color", [this](const tinyxml2::XMLElement* el) {
        Register(colors_, AttrText(el, "name"), ParseColorSetRgb(AttrText(el, "rgb")));
    });
}

bool SkinResources::LoadFontSet(const std::string& path) {
    return LoadSet(path, "Fonts", "Font", [this](const tinyxml2::XMLElement* el) {
        const std::string name = AttrText(el, "name");
        if (fontSpecs_.count(name)) return Register(fontSpecs_, name, FontSpec());
        // The font itself is matched when first asked for: a font engine loads for each size
        // tried, and many of the set's fonts are used only by windows not yet open.
        Register(fontSpecs_, name,
                 FontSpec{FontDescription{AttrText(el, "face"), AttrText(el, "size"), AttrText(el, "width"),
                                          AttrText(el, "bold"), AttrText(el, "italic"),
                                          AttrText(el, "underline")}});
    });
}

bool SkinResources::LoadImageMapSets(const std::string& path) {
    return LoadSet(path, "ImageMapSets", "ImageMapSet", [this](const tinyxml2::XMLElement* el) {
        const std::string name = AttrText(el, "name");
        if (imageMaps_.count(name)) return Register(imageMaps_, name, ImageMap());
        ImageMap map;
        map.fillColor = ParseColor(AttrText(el, "color"));
        const std::string file = AttrText(el->FirstChildElement("Image"), "file");
        if (!file.empty()) map.bitmap.Load(file);
        const std::string type = AttrText(el, "type");
        const bool nineSlice = type == "FULL" || type.empty();
        const tinyxml2::XMLElement* rects = el->FirstChildElement("Imagemaps");
        auto read = [&](const SlotName& s) {
            const tinyxml2::XMLElement* r = rects ? rects->FirstChildElement(s.name) : nullptr;
            const int x = AttrInt(r, "x"), y = AttrInt(r, "y");
            map.rects[static_cast<size_t>(s.slot)] = {x, y, x + AttrInt(r, "w"), y + AttrInt(r, "h")};
        };
        if (nineSlice)
            for (const SlotName& s : kNineSliceSlots) read(s);
        else
            for (const SlotName& s : kBarSlots) read(s);
        Register(imageMaps_, name, std::move(map));
    });
}

bool SkinResources::LoadAniBtnImageSet(const std::string& path) {
    return LoadSet(path, "AniBtnImageSet", "AnimationShape", [this](const tinyxml2::XMLElement* el) {
        const std::string name = AttrText(el, "name");
        if (aniSets_.count(name)) return Register(aniSets_, name, AniImageSet());
        AniImageSet set;
        set.Build(el);
        Register(aniSets_, name, std::move(set));
    });
}

const ColorRef* SkinResources::FindColor(const std::string& name) const {
    auto it = colors_.find(name);
    return it == colors_.end() ? nullptr : &it->second;
}
const QFont* SkinResources::FindFont(const std::string& name) const {
    if (auto it = fonts_.find(name); it != fonts_.end()) return &it->second;
    auto entry = fontSpecs_.find(name);
    if (entry == fontSpecs_.end()) return nullptr;
    // A repeated name stands for the default font; equal descriptions share one match.
    QFont font;
    if (const std::optional<FontDescription>& d = entry->second.description) {
        auto [made, fresh] = madeFonts_.try_emplace(*d);
        if (fresh) made->second = MakeSkinFont((*d)[0], (*d)[1], (*d)[2], (*d)[3], (*d)[4], (*d)[5]);
        font = made->second;
    }
    return &fonts_.emplace(name, font).first->second;
}
const ImageMap* SkinResources::FindImageMap(const std::string& name) const {
    auto it = imageMaps_.find(name);
    return it == imageMaps_.end() ? nullptr : &it->second;
}
const AniImageSet* SkinResources::FindAniImageSet(const std::string& name) const {
    auto it = aniSets_.find(name);
    return it == aniSets_.end() ? nullptr : &it->second;
}

ColorRef ParseColor(const std::string& text) {
    if (text.empty()) return 0;
    if (text.find('#') != std::string::npos) {
        std::string hex;
        for (char c : text)
            if (c != '#') hex += c;
        const unsigned long v = LeadingHex(hex);
        return ColorWord((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    const ColorRef* named = SkinResources::Instance().FindColor(text);
    return named ? *named : 0;
}

Rgb AttrColor(const tinyxml2::XMLElement* el, const char* name) { return RgbFromBgr(ParseColor(AttrText(el, name))); }

}  // namespace velmora
