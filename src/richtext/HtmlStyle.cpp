#include "richtext/HtmlStyle.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

namespace velmora {
namespace {

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Unquote(std::string s) {
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        s = s.substr(1, s.size() - 2);
    return s;
}

bool EndsWith(const std::string& s, const char* tail) {
    const size_t n = std::char_traits<char>::length(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// Not a colour: ParseHtmlColor never gives more than 24 bits.
constexpr Rgb kNoColor = 0x1000000u;

int XHeight(const HtmlTextState& st) {
    return QFontMetrics(HtmlFont(st)).xHeight();
}

struct Keyword {
    const char* word;
    int value;
};

// Sets out to the value listed for word; a word not in the table leaves it unchanged.
void SetFromKeyword(const std::string& word, std::initializer_list<Keyword> table, int& out) {
    for (const Keyword& k : table)
        if (word == k.word) {
            out = k.value;
            return;
        }
}

}  // namespace

const char* DefaultHtmlStyleSheetText() {
    return "body {font-size: 10pt; color:black; font-family:Verdana}\n"
           "p {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\n"
           "h1 {font-size: 14pt; color:black; font-family:Verdana; font-weight:bold}\n"
           "h2 {font-size: 13pt; color:#ff9900; font-family:Verdana; font-weight:bold}\n"
           "h3 {font-size: 12pt; color:#ff9900; font-family:Arial; font-weight:bold}\n"
           "h4 {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\n"
           "h5 {font-size: 9pt; color:#ff9900; font-family:Verdana; font-weight:bold}\n"
           "h6 {font-size: 65%; color:#626262; font-family:Verdana; font-weight:normal}\n"
           "pre {font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb}\n"
           "code {color:#990000; font-family:Arial}\n"
           "a:hover {text-decoration:underline; color:blue}\n"
           "sub {font-size:65%; vertical-align:bottom}\n"
           "sup {font-size:65%; vertical-align:top}\n"
           "big {font-size:125%}\n"
           "small {font-size:75%}\n"
           ".cpp-comment {color:green; font-style:italic}\n";
}

HtmlDeclarations ParseHtmlDeclarations(const std::string& text) {
    HtmlDeclarations out;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(';', pos);
        if (end == std::string::npos) end = text.size();
        const std::string decl = text.substr(pos, end - pos);
        const auto colon = decl.find(':');
        if (colon != std::string::npos) {
            std::string name = Lower(Trim(decl.substr(0, colon)));
            std::string value = Unquote(Trim(decl.substr(colon + 1)));
            if (!name.empty()) out.emplace_back(std::move(name), std::move(value));
        }
        pos = end + 1;
    }
    return out;
}

HtmlStyleSheet ParseHtmlStyleSheet(const std::string& text) {
    HtmlStyleSheet sheet;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t open = text.find('{', pos);
        if (open == std::string::npos) break;
        const size_t close = text.find('}', open);
        if (close == std::string::npos) break;
        // The selector is the last word before the brace: it ends at a space or '{'.
        std::string head = Trim(text.substr(pos, open - pos));
        const auto sp = head.find_first_of(" \t\r\n");
        std::string selector = sp == std::string::npos ? head : head.substr(0, sp);
        HtmlDeclarations decls = ParseHtmlDeclarations(text.substr(open + 1, close - open - 1));
        if (!selector.empty() && !decls.empty()) sheet[selector] = std::move(decls);
        pos = close + 1;
    }
    return sheet;
}

Rgb ParseHtmlColor(const std::string& raw, Rgb current) {
    const std::string value = Trim(raw);
    if (value.empty()) return current;
    if (value[0] == '#') {
        // Exactly six hex digits: strtoul alone would also take a sign or spaces ("#-12345").
        if (value.size() != 7 ||
            !std::all_of(value.begin() + 1, value.end(),
                         [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
            return current;
        return static_cast<Rgb>(std::strtoul(value.c_str() + 1, nullptr, 16));
    }
    if (std::isdigit(static_cast<unsigned char>(value[0]))) {
        char* end = nullptr;
        const unsigned long v = std::strtoul(value.c_str(), &end, 0);
        return RgbFromBgr(static_cast<unsigned int>(v) & 0xFFFFFFu);
    }
    Rgb named = 0;
    return LookupHtmlColorName(value, named) ? named : current;
}

int ParseHtmlWeight(const std::string& raw) {
    const std::string v = Lower(Trim(raw));
    if (v == "normal") return 400;
    if (v == "bold") return 700;
    if (v == "bolder") return 900;
    if (v == "lighter") return 100;
    const int n = std::atoi(v.c_str());
    return n > 0 ? std::min(n, 1000) : 0;
}

int ParseHtmlSize(const std::string& raw, int current, const HtmlTextState& st,
                  const HtmlMetrics& m, bool fontSize, bool border) {
    std::string v = Lower(Trim(raw));
    if (v.empty()) return current;
    if (border) {
        if (v == "thin") return current * 75 / 100;
        if (v == "medium") return current;
        if (v == "thick") return current * 125 / 100;
    }
    const double number = std::atof(v.c_str());
    // Clamped before the conversion: a huge or infinite number is no int.
    auto pixels = [current](double px) {
        if (std::isnan(px)) return current;
        return static_cast<int>(
            std::lround(std::clamp(px, double(-kMaxHtmlSize), double(kMaxHtmlSize))));
    };
    if (v.back() == '%') return pixels(current * number / 100.0);
    const bool relative = v[0] == '+' || v[0] == '-';
    double px = number;
    if (EndsWith(v, "px"))
        px = number;
    else if (EndsWith(v, "ex"))
        px = number * XHeight(st);
    else if (EndsWith(v, "em"))
        px = number * st.fontHeight;
    else if (EndsWith(v, "in"))
        px = number * m.dpi;
    else if (EndsWith(v, "cm"))
        px = number * m.dpi * 0.3937;
    else if (EndsWith(v, "mm"))
        px = number * m.dpi * 0.03937;
    else if (EndsWith(v, "pt"))
        px = number * m.dpi / 72.0;
    else if (EndsWith(v, "pc"))
        px = number * m.dpi / 6.0;
    else if (fontSize && !relative && number >= 1 && number <= 7 && number == std::floor(number)) {
        // The seven HTML font sizes, in points.
        static constexpr int kPoints[] = {8, 10, 12, 14, 18, 24, 36};
        px = kPoints[static_cast<int>(number) - 1] * m.dpi / 72.0;
    }
    return pixels(relative ? current + std::round(px) : px);
}

void ApplyHtmlDeclarations(HtmlTextState& st, const HtmlDeclarations& decls, const HtmlMetrics& m) {
    for (const auto& [name, rawValue] : decls) {
        const std::string value = Lower(rawValue);
        if (name == "font-size" || name == "size") {
            const int h = ParseHtmlSize(rawValue, st.fontHeight, st, m, true);
            if (h > 0) st.fontHeight = h;
        } else if (name == "font-family") {
            // A list names its preferred face first.
            std::string face = Unquote(Trim(rawValue.substr(0, rawValue.find(','))));
            if (!face.empty()) st.face = face;
        } else if (name == "font-style") {
            if (value == "normal")
                st.italic = false;
            else if (value == "italic" || value == "oblique")
                st.italic = true;
        } else if (name == "font-weight") {
            if (const int w = ParseHtmlWeight(value)) st.weight = w;
        } else if (name == "text-align") {
            SetFromKeyword(value, {{"left", 0}, {"center", 1}, {"right", 2}, {"justify", 3}}, st.align);
        } else if (name == "text-transform") {
            SetFromKeyword(value, {{"none", 0}, {"uppercase", 1}, {"lowercase", 2}, {"capitalize", 3}},
                           st.transform);
        } else if (name == "color") {
            st.color = ParseHtmlColor(rawValue, st.color);
        } else if (name == "background-color") {
            if (value == "transparent") {
                st.opaque = false;
            } else if (const Rgb c = ParseHtmlColor(rawValue, kNoColor); c != kNoColor) {
                st.background = c;
                st.opaque = true;
            }
        } else if (name == "text-decoration") {
            size_t pos = 0;
            while (pos < value.size()) {
                size_t end = value.find_first_of(" ,", pos);
                if (end == std::string::npos) end = value.size();
                const std::string word = value.substr(pos, end - pos);
                if (word == "none")
                    st.underline = st.strikeOut = st.overline = false;
                else if (word == "underline")
                    st.underline = true;
                else if (word == "line-through")
                    st.strikeOut = true;
                else if (word == "overline")
                    st.overline = true;
                pos = end + 1;
            }
        } else if (name == "vertical-align") {
            SetFromKeyword(value, {{"baseline", 3}, {"middle", 1}, {"vcenter", 1}, {"top", 0}, {"bottom", 2}},
                           st.valign);
        } else if (name == "border-color") {
            st.borderColor = ParseHtmlColor(rawValue, st.borderColor);
        } else if (name == "border-width") {
            st.borderWidth =
                std::max(0, ParseHtmlSize(rawValue, st.borderWidth, st, m, false, true));
        } else if (name == "border-style") {
            SetFromKeyword(value, {{"none", 0}, {"solid", 1}, {"dashed", 2}, {"dotted", 3}, {"double", 6}},
                           st.borderStyle);
        } else if (name == "margin") {
            st.margin = std::max(0, ParseHtmlSize(rawValue, st.margin, st, m));
        } else if (name == "padding") {
            st.padding = std::max(0, ParseHtmlSize(rawValue, st.padding, st, m));
        }
    }
}

QFont HtmlFont(const HtmlTextState& st) {
    QFont f(QString::fromStdString(st.face));
    f.setPixelSize(std::max(1, st.fontHeight));
    f.setWeight(static_cast<QFont::Weight>(std::clamp(st.weight, 1, 1000)));
    f.setItalic(st.italic);
    f.setStrikeOut(st.strikeOut);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

}  // namespace velmora
