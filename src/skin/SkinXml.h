#pragma once

#include <string>

namespace tinyxml2 {
class XMLDocument;
class XMLElement;
}  // namespace tinyxml2

namespace velmora {

// Loads the skin XML document at path: the plain path (relative to the current directory)
// first, else the text found by ResourceArchive::ReadTextFile. True when doc holds a parsed
// document; false when it could not be read or parsed (the caller then builds nothing).
bool LoadSkinXml(const std::string& path, tinyxml2::XMLDocument& doc);

// The attribute's value, "" when the element or the attribute is absent.
const char* AttrText(const tinyxml2::XMLElement* el, const char* name);
// The attribute's leading decimal number (0 when absent or not a number), clamped to
// ±kMaxSkinNumber so that sums of positions, sizes and times cannot overflow (products go
// through SkinProduct).
int AttrInt(const tinyxml2::XMLElement* el, const char* name);
constexpr int kMaxSkinNumber = 1000000;
// Leading decimal number of text, as C's atoi but without overflow (0 for no digits).
int LeadingInt(const char* text);
// a × b / c (c 1 when omitted, 0 gives 0) in 64 bits, clamped to ±kMaxSkinProduct: products
// of two skin numbers (seconds × ticks, frame width × index) overflow int, each factor alone not.
int SkinProduct(long long a, long long b, long long c = 1);
constexpr int kMaxSkinProduct = 1000000000;

}  // namespace velmora
