#include "richtext/HtmlTokens.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <unordered_map>

namespace velmora {
namespace {

constexpr int kMaxCount = 256;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool AllDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// Reads the inside of a tag ("/name attr=value …").
HtmlToken ParseTag(const std::string& inner) {
    HtmlToken tok;
    tok.isTag = true;
    size_t pos = 0;
    while (pos < inner.size() && IsSpace(inner[pos])) ++pos;
    if (pos < inner.size() && inner[pos] == '/') {
        tok.closing = true;
        ++pos;
    }
    size_t end = pos;
    while (end < inner.size() && !IsSpace(inner[end]) && inner[end] != '/') ++end;
    std::string name = inner.substr(pos, end - pos);
    pos = end;
    tok.tag = HtmlTagNumber(name);
    // "br2" and "t3": the count written straight after the name.
    if (tok.tag == kTagNone) {
        for (const char* base : {"br", "t"}) {
            const std::string b = base;
            if (name.size() > b.size() && name.compare(0, b.size(), b) == 0 &&
                AllDigits(name.substr(b.size()))) {
                tok.count = std::atoi(name.c_str() + b.size());
                name = b;
                tok.tag = HtmlTagNumber(b);
            }
        }
    }
    tok.text = name;
    while (pos < inner.size()) {
        while (pos < inner.size() && (IsSpace(inner[pos]) || inner[pos] == '/')) ++pos;
        if (pos >= inner.size()) break;
        size_t nameEnd = pos;
        while (nameEnd < inner.size() && !IsSpace(inner[nameEnd]) && inner[nameEnd] != '=')
            ++nameEnd;
        std::string attr = inner.substr(pos, nameEnd - pos);
        pos = nameEnd;
        while (pos < inner.size() && IsSpace(inner[pos])) ++pos;
        std::string value;
        if (pos < inner.size() && inner[pos] == '=') {
            ++pos;
            while (pos < inner.size() && IsSpace(inner[pos])) ++pos;
            if (pos < inner.size() && (inner[pos] == '"' || inner[pos] == '\'')) {
                const char q = inner[pos++];
                size_t close = inner.find(q, pos);
                if (close == std::string::npos) close = inner.size();
                value = inner.substr(pos, close - pos);
                pos = close + 1;
            } else {
                size_t vEnd = pos;
                while (vEnd < inner.size() && !IsSpace(inner[vEnd])) ++vEnd;
                value = inner.substr(pos, vEnd - pos);
                pos = vEnd;
            }
        } else if (AllDigits(attr) && (tok.tag == kTagBreak || tok.tag == kTagTab)) {
            tok.count = std::atoi(attr.c_str());
            continue;
        }
        for (char& c : attr) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (!attr.empty()) tok.attrs.emplace_back(std::move(attr), std::move(value));
    }
    // A count is a few lines or stops; a huge one must not make millions of lines.
    tok.count = std::clamp(tok.count, 0, kMaxCount);
    return tok;
}

}  // namespace

std::string HtmlToken::Attr(const std::string& name, const std::string& fallback) const {
    for (const auto& [n, v] : attrs)
        if (n == name) return v;
    return fallback;
}

bool HtmlToken::HasAttr(const std::string& name) const {
    for (const auto& a : attrs)
        if (a.first == name) return true;
    return false;
}

int HtmlTagNumber(const std::string& name) {
    static const std::unordered_map<std::string, int> kTags = {
        {"b", kTagBold},         {"indent", kTagIndent},   {"i", kTagItalic},
        {"em", kTagItalic},      {"u", kTagUnderline},     {"s", kTagStrike},
        {"strike", kTagStrike},  {"font", kTagFont},       {"hr", kTagRule},
        {"br", kTagBreak},       {"\n", kTagBreak},        {"t", kTagTab},
        {"\t", kTagTab},         {"left", kTagLeft},       {"center", kTagCenter},
        {"right", kTagRight},    {"justify", kTagJustify}, {"baseline", kTagBaseline},
        {"top", kTagTop},        {"vcenter", kTagVCenter}, {"middle", kTagVCenter},
        {"bottom", kTagBottom},  {"bmp", kTagBitmap},      {"icon", kTagIcon},
        {"ilst", kTagImageList}, {"string", kTagString},   {"body", kTagStyle},
        {"h1", kTagStyle},       {"h2", kTagStyle},        {"h3", kTagStyle},
        {"h4", kTagStyle},       {"h5", kTagStyle},        {"h6", kTagStyle},
        {"code", kTagStyle},     {"pre", kTagStyle},       {"big", kTagStyle},
        {"small", kTagStyle},    {"sub", kTagStyle},       {"sup", kTagStyle},
        {"span", kTagSpan},      {"a", kTagLink},          {"table", kTagTable},
        {"tr", kTagRow},         {"td", kTagCell},
    };
    const auto it = kTags.find(name);
    return it == kTags.end() ? kTagNone : it->second;
}

std::string PreprocessHtml(const std::string& text, bool keepLineBreaks) {
    // The single-byte characters of the old code page, written as UTF-8.
    static const std::pair<const char*, const char*> kEntities[] = {
        {"&amp;", "&"},    {"&bull;", "•"}, {"&copy;", "©"},  {"&euro;", "€"}, {"&gt;", ">"},
        {"&iquest;", "¿"}, {"&lt;", "<<"},  {"&nbsp;", " "},  {"&para;", "¶"}, {"&pound;", "£"},
        {"&quot;", "\""},  {"&reg;", "®"},  {"&trade;", "™"},
    };
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '&') {
            bool replaced = false;
            for (const auto& [entity, repl] : kEntities) {
                if (text.compare(i, std::char_traits<char>::length(entity), entity) == 0) {
                    out += repl;
                    i += std::char_traits<char>::length(entity);
                    replaced = true;
                    break;
                }
            }
            if (replaced) continue;
        }
        const char c = text[i++];
        if (c == '\r') continue;
        if (c == '\n' || c == '\t') {
            if (keepLineBreaks) out += c == '\n' ? "<br>" : "<t>";
            continue;
        }
        out += c;
    }
    return out;
}

std::vector<HtmlToken> TokenizeHtml(const std::string& text) {
    std::vector<HtmlToken> out;
    std::string run;
    int links = 0;
    auto flush = [&] {
        if (run.empty()) return;
        HtmlToken t;
        t.text = std::move(run);
        out.push_back(std::move(t));
        run.clear();
    };
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '<' && i + 1 < text.size() && text[i + 1] == '<') {
            run += '<';
            i += 2;
            continue;
        }
        if (c == '<') {
            const size_t close = text.find('>', i + 1);
            if (close == std::string::npos) {
                run += text.substr(i);
                break;
            }
            flush();
            HtmlToken tok = ParseTag(text.substr(i + 1, close - i - 1));
            if (tok.tag == kTagLink && !tok.closing) tok.linkId = links++;
            out.push_back(std::move(tok));
            i = close + 1;
            continue;
        }
        if (c == '\n' || c == '\t') {
            flush();
            HtmlToken tok;
            tok.isTag = true;
            tok.text = c == '\n' ? "br" : "t";
            tok.tag = c == '\n' ? kTagBreak : kTagTab;
            out.push_back(std::move(tok));
            ++i;
            continue;
        }
        run += c;
        ++i;
    }
    flush();
    return out;
}

}  // namespace velmora
