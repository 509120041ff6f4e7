#include "skin/SkinXml.h"

#include <tinyxml2.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "skin/ResourceArchive.h"

namespace velmora {

bool LoadSkinXml(const std::string& path, tinyxml2::XMLDocument& doc) {
    const std::string plain = ResourceArchive::FindOnDisk(ResourceArchive::Instance().Folder(), path);
    if (!plain.empty() && doc.LoadFile(plain.c_str()) == tinyxml2::XML_SUCCESS) return true;
    const std::string text = ResourceArchive::Instance().ReadTextFile(path);
    if (text.empty()) return false;
    return doc.Parse(text.data(), text.size()) == tinyxml2::XML_SUCCESS;
}

const char* AttrText(const tinyxml2::XMLElement* el, const char* name) {
    const char* v = el ? el->Attribute(name) : nullptr;
    return v ? v : "";
}

int LeadingInt(const char* text) {
    if (!text) return 0;
    const long v = std::strtol(text, nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

int AttrInt(const tinyxml2::XMLElement* el, const char* name) {
    return std::clamp(LeadingInt(AttrText(el, name)), -kMaxSkinNumber, kMaxSkinNumber);
}

int SkinProduct(long long a, long long b, long long c) {
    if (c == 0) return 0;
    // Both factors are skin numbers or small counts, so a × b stays far inside 64 bits.
    const long long value = a * b / c;
    return static_cast<int>(std::clamp<long long>(value, -kMaxSkinProduct, kMaxSkinProduct));
}

}  // namespace velmora
