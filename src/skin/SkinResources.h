#pragma once

#include <QFont>
#include <array>
#include <map>
#include <optional>
#include <string>

#include "skin/AnimationShape.h"
#include "skin/ImageMap.h"

namespace tinyxml2 {
class XMLElement;
}  // namespace tinyxml2

namespace velmora {

// An animation image set is a complete animation, copied by whoever shows it.
using AniImageSet = AnimationShape;

// The named colours, fonts, image maps and animation image sets of the skin, each filled
// once from its file under Skin\. Lookups hand out pointers owned by the registry.
class SkinResources {
public:
    // The application-wide registries.
    static SkinResources& Instance();

    // Each reads its file with LoadSkinXml and registers its entries (the first of two
    // equal names wins, after a pop-up); false when the file or its root is missing.
    bool LoadColorSet(const std::string& path = "Skin\\ColorSet.xml");
    bool LoadFontSet(const std::string& path = "Skin\\FontSet.xml");
    bool LoadImageMapSets(const std::string& path = "Skin\\ImageMapSets.xml");
    bool LoadAniBtnImageSet(const std::string& path = "Skin\\AniBtnImageSet.xml");
    // Loads the four files in the order start-up needs (colours before image maps).
    void LoadAll();
    // Empties every registry.
    void Clear();

    // The registered value, or null when name is unknown.
    const ColorRef* FindColor(const std::string& name) const;
    const QFont* FindFont(const std::string& name) const;
    const ImageMap* FindImageMap(const std::string& name) const;
    const AniImageSet* FindAniImageSet(const std::string& name) const;

    // The rgb attribute of ColorSet.xml: "r,g,b" decimal, or "#" + hex stored unchanged as
    // the colour word (so #0000FF is red there); black for anything else.
    static ColorRef ParseColorSetRgb(const std::string& text);
    // A Font element's font: face (default 굴림체, at most 31 bytes), size in pixels
    // (default 8), width, and bold/italic/underline when the value contains "true".
    static QFont MakeSkinFont(const std::string& face, const std::string& size,
                              const std::string& width, const std::string& bold,
                              const std::string& italic, const std::string& underline);

private:
    std::map<std::string, ColorRef> colors_;
    // A Font element's face, size, width, bold, italic and underline attributes.
    using FontDescription = std::array<std::string, 6>;
    struct FontSpec {
        std::optional<FontDescription> description;  // none for a repeated name
    };
    std::map<std::string, FontSpec> fontSpecs_;
    // The fonts asked for so far, by name and by description.
    mutable std::map<std::string, QFont> fonts_;
    mutable std::map<FontDescription, QFont> madeFonts_;
    std::map<std::string, ImageMap> imageMaps_;
    std::map<std::string, AniImageSet> aniSets_;
};

// The colour attribute of window files: "" → black; text with "#" → the hex digits after
// removing every "#", read as RRGGBB; anything else → the registered colour of that name
// (black when unknown). Returns the 0x00BBGGRR colour word.
ColorRef ParseColor(const std::string& text);
// The colour attribute name of el, read as ParseColor does, as an Rgb.
Rgb AttrColor(const tinyxml2::XMLElement* el, const char* name);

}  // namespace velmora
