#include "richtext/HtmlLayout.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>

namespace velmora {
namespace {

constexpr int kMaxSpan = 1000;
// A table's grid never grows past this many columns, so spans cannot make it huge.
constexpr int kMaxColumns = kMaxSpan;
// How far summed character advances may overstate a line's shaped width (kerning).
constexpr int kKerningSlack = 8;
// Tables nested deeper than this show their cells empty: no text may exhaust the stack.
constexpr int kMaxTableDepth = 64;

bool IsBreakChar(QChar c) {
    return std::u16string_view(u" -.,!:;)}]?").find(c.unicode()) != std::u16string_view::npos;
}

QString TrimRight(QString s) {
    int n = static_cast<int>(s.size());
    while (n > 0 && s[n - 1] == u' ') --n;
    s.truncate(n);
    return s;
}

// The first index at or after i that is not a space.
int SkipSpaces(const QString& s, int i) {
    while (i < s.size() && s[i] == u' ') ++i;
    return i;
}

// prev is the character before the run (a space at the start of the text).
QString Transform(const QString& s, int transform, QChar prev) {
    switch (transform) {
        case 1:
            return s.toUpper();
        case 2:
            return s.toLower();
        case 3: {
            QString out = s;
            for (int i = 0; i < out.size(); ++i) {
                const bool start = (i == 0 ? prev : out[i - 1]) == u' ';
                if (start && out[i] >= u'a' && out[i] <= u'z') out[i] = out[i].toUpper();
            }
            return out;
        }
        default:
            return s;
    }
}

// A font's metrics, with the advances of single characters kept: wrapping a run sums them
// character by character, which ignores kerning and shaping; exact widths settle each line.
class Measure {
  public:
    explicit Measure(const QFont& font)
        : fm(font),
          ascent(fm.ascent()),
          descent(fm.descent()),
          height(fm.height()),
          space(fm.horizontalAdvance(QChar(u' '))),
          fmf_(font) {
        ascii_.fill(-1);
    }

    // The exact width of text shaped as one string. Text of words seen before is summed from
    // its words, each shaped once per layout with the space after it, when no word is shaped
    // together with the one before it: each starts in a script of its own, and the font shapes
    // the end of the word before, its space and the next word's first character as the two
    // apart (no kerning against the space, the same font and script for it). Anything else,
    // and text of new words (shaping them alone would cost more than the line), is shaped whole.
    int Width(const QString& text) {
        const qsizetype n = text.size();
        if (n == 0 || !OwnScript(text[0])) return fm.horizontalAdvance(text);
        starts_.assign(1, 0);
        for (qsizetype i = 0; i < n; ++i) {
            // Right-to-left text orders its spaces by direction, not by word: shaped whole.
            if (MayRunRightToLeft(text[i].unicode())) return fm.horizontalAdvance(text);
            if (text[i] != u' ' || i == 0 || i + 1 == n) continue;
            if (text[i + 1] == u' ') return fm.horizontalAdvance(text);
            starts_.push_back(i + 1);
        }
        if (starts_.size() == 1) return fm.horizontalAdvance(text);
        const std::u16string_view all(reinterpret_cast<const char16_t*>(text.utf16()), n);
        words_.clear();
        bool known = true;
        for (size_t k = 0; k < starts_.size(); ++k) {
            const qsizetype end = k + 1 < starts_.size() ? starts_[k + 1] : n;
            Word& w = WordOf(all.substr(starts_[k], end - starts_[k]));
            if (w.width < 0 && ++w.seen < 2) known = false;
            words_.push_back(&w);
        }
        if (!known) return fm.horizontalAdvance(text);
        QChar own = text[0];  // the last character with a script of its own
        for (qsizetype i = 1; i + 1 < n; ++i) {
            if (text[i] != u' ') {
                if (OwnScript(text[i])) own = text[i];
                continue;
            }
            if (!StandsAlone(own, text[i - 1], text[i + 1])) return fm.horizontalAdvance(text);
        }
        qreal sum = 0;  // shaped widths are multiples of 1/64: the sum is exact
        for (size_t k = 0; k < words_.size(); ++k) {
            const qsizetype end = k + 1 < starts_.size() ? starts_[k + 1] : n;
            sum += Shaped(*words_[k], all.substr(starts_[k], end - starts_[k]));
        }
        return qRound(sum);
    }

    // The advance of the character at i (a surrogate pair as one); next is where the next starts.
    int Char(const QString& s, int i, int* next) {
        const char16_t c = s[i].unicode();
        *next = i + 1;
        if (c < ascii_.size()) {
            if (ascii_[c] < 0) ascii_[c] = fm.horizontalAdvance(s[i]);
            return ascii_[c];
        }
        if (s[i].isHighSurrogate() && i + 1 < s.size()) {
            *next = i + 2;
            return fm.horizontalAdvance(s.mid(i, 2));
        }
        const auto [it, added] = advances_.try_emplace(c, 0);
        if (added) it->second = fm.horizontalAdvance(s[i]);
        return it->second;
    }

    const QFontMetrics fm;
    const int ascent;
    const int descent;
    const int height;
    const int space;  // advance of a space

  private:
    // A text shaped (or seen) in this layout.
    struct Word {
        int seen = 0;
        qreal width = -1;  // shaped width once known
    };
    struct ViewHash {
        using is_transparent = void;
        size_t operator()(std::u16string_view v) const {
            return std::hash<std::u16string_view>{}(v);
        }
    };

    Word& WordOf(std::u16string_view text) {
        auto it = shaped_.find(text);
        if (it == shaped_.end()) it = shaped_.emplace(std::u16string(text), Word{}).first;
        return it->second;
    }
    qreal Shaped(Word& w, std::u16string_view text) {
        if (w.width < 0)
            w.width = fmf_.horizontalAdvance(
                QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size())));
        return w.width;
    }
    qreal Shaped(const QString& text) {
        const std::u16string_view v(reinterpret_cast<const char16_t*>(text.utf16()), text.size());
        return Shaped(WordOf(v), v);
    }

    // Whether u may belong to right-to-left text: the Hebrew to Arabic blocks, their
    // presentation forms, the direction marks and controls, and anything beyond the BMP.
    static bool MayRunRightToLeft(char16_t u) {
        return u >= 0x0590 &&
               (u <= 0x08FF || (u >= 0x200E && u <= 0x200F) || (u >= 0x202A && u <= 0x202E) ||
                (u >= 0x2066 && u <= 0x2069) || (u >= 0xD800 && u <= 0xDFFF) ||
                (u >= 0xFB1D && u <= 0xFDFF) || (u >= 0xFE70 && u <= 0xFEFF));
    }

    // Whether c brings a script of its own (a space, a digit or a mark takes its neighbour's).
    static bool OwnScript(QChar c) {
        return !c.isSurrogate() && c.script() != QChar::Script_Common &&
               c.script() != QChar::Script_Inherited;
    }

    // Whether a word starting with d after "c " is shaped as alone, where own is the last
    // character before the space with a script of its own (c itself, or the letter whose
    // script a trailing comma or bracket takes).
    bool StandsAlone(QChar own, QChar c, QChar d) {
        if (c.isSurrogate() || !OwnScript(d)) return false;
        const std::uint64_t key =
            std::uint64_t(own.unicode()) << 32 | std::uint32_t(c.unicode()) << 16 | d.unicode();
        const auto [it, added] = standAlone_.try_emplace(key, false);
        if (added) {
            const QString before = (own == c ? QString(c) : QString(own) + c) + u' ';
            it->second = Shaped(before + d) == Shaped(before) + Shaped(QString(d));
        }
        return it->second;
    }

    std::array<int, 128> ascii_;
    std::unordered_map<char16_t, int> advances_;
    const QFontMetricsF fmf_;
    std::unordered_map<std::uint64_t, bool> standAlone_;  // by own, c and d
    std::unordered_map<std::u16string, Word, ViewHash, std::equal_to<>> shaped_;
    std::vector<qsizetype> starts_;  // of the words of the text being measured
    std::vector<Word*> words_;
};

// The fonts of one layout, found by the state fields that choose them: runs and lines in the
// same font share one font, its metrics and its character advances.
class Measures {
  public:
    Measure& For(const HtmlTextState& st) {
        if (last_ && Matches(last_->first, st)) return *last_->second;
        auto [it, added] =
            fonts_.try_emplace(Key{st.fontHeight, st.weight, st.italic, st.strikeOut, st.face});
        if (added) it->second = std::make_unique<Measure>(HtmlFont(st));
        last_ = &*it;
        return *it->second;
    }

  private:
    using Key = std::tuple<int, int, bool, bool, std::string>;
    static bool Matches(const Key& k, const HtmlTextState& st) {
        return std::get<0>(k) == st.fontHeight && std::get<1>(k) == st.weight &&
               std::get<2>(k) == st.italic && std::get<3>(k) == st.strikeOut &&
               std::get<4>(k) == st.face;
    }
    std::map<Key, std::unique_ptr<Measure>> fonts_;
    std::pair<const Key, std::unique_ptr<Measure>>* last_ = nullptr;
};

// The summed advances of s[from, to), given up once past cap (then more than cap is returned):
// a long run costs only the part that can matter for one line.
int WidthUpTo(const QString& s, int from, int to, Measure& m, int cap) {
    int width = 0;
    for (int i = from; i < to && width <= cap;) width += m.Char(s, i, &i);
    return width;
}

// Of the increasing cut positions, the index of the last one whose line fits in room, where
// line(c) is the text the cut c leaves on the line; -1 when none does. guess is the answer
// found by summing pieces, which kerning can shift by a step: exact widths settle it. width
// gets the exact width of the chosen line.
template <typename Line>
int SettleCut(const std::vector<int>& cuts, int guess, Measure& m, int room, Line line,
              int* width = nullptr) {
    auto fits = [&](int k) {
        const int w = m.Width(line(cuts[k]));
        if (w > room) return false;
        if (width) *width = w;
        return true;
    };
    while (guess >= 0 && !fits(guess)) --guess;
    while (guess + 1 < static_cast<int>(cuts.size()) && fits(guess + 1)) ++guess;
    return guess;
}

// The largest number of characters from `from` (never splitting a surrogate pair) that fit in
// room; at least one character so a line always makes progress. Measures forward only as far
// as the line reaches. fitWidth gets the exact width of those characters, or -1 when unknown.
int CharsThatFit(const QString& s, int from, Measure& m, int room, int* fitWidth) {
    std::vector<int> cuts;
    int guess = -1;
    int width = 0;
    for (int i = from; i < s.size();) {
        width += m.Char(s, i, &i);
        cuts.push_back(i);
        if (width <= room) guess = static_cast<int>(cuts.size()) - 1;
        if (width > room && cuts.size() > static_cast<std::size_t>(guess + 2)) break;
    }
    const int k = SettleCut(
        cuts, guess, m, room, [&](int c) { return s.mid(from, c - from); }, fitWidth);
    if (k >= 0) return cuts[k] - from;
    *fitWidth = -1;
    return s[from].isHighSurrogate() && from + 1 < s.size() ? 2 : 1;
}

int AlignOf(const std::string& v, int fallback) {
    if (v == "left") return 0;
    if (v == "center" || v == "middle") return 1;
    if (v == "right") return 2;
    if (v == "justify") return 3;
    return fallback;
}

int VAlignOf(const std::string& v, int fallback) {
    if (v == "top") return 0;
    if (v == "middle" || v == "center" || v == "vcenter") return 1;
    if (v == "bottom") return 2;
    return fallback;
}

int BgEffectOf(const std::string& v, int fallback) {
    static const std::pair<const char*, int> kEffects[] = {
        {"transparent", -1}, {"solid", 0},      {"hgradient", 1},  {"vgradient", 2},
        {"hcgradient", 3},   {"vcgradient", 4}, {"3hgradient", 5}, {"3vgradient", 6},
    };
    for (const auto& [name, n] : kEffects)
        if (v == name) return n;
    return fallback;
}

int BorderStyleOf(const std::string& v, int fallback) {
    static const std::pair<const char*, int> kStyles[] = {
        {"none", 0}, {"solid", 1}, {"dashed", 2}, {"dotted", 3}, {"double", 6},
    };
    for (const auto& [name, n] : kStyles)
        if (v == name) return n;
    return fallback;
}

// Index of the token closing the table opened at `open`, or `end` when it never closes.
size_t MatchingTableEnd(const std::vector<HtmlToken>& tokens, size_t open, size_t end) {
    int depth = 0;
    for (size_t i = open; i < end; ++i) {
        if (!tokens[i].isTag || tokens[i].tag != kTagTable) continue;
        depth += tokens[i].closing ? -1 : 1;
        if (depth == 0) return i;
    }
    return end;
}

// Cell layouts of one LayoutHtml call, so that a cell (and every table nested in it) is laid
// out once for each width it is asked at, not again for every pass of each enclosing table.
struct LayoutMemo {
    struct Entry {
        HtmlTextState base;
        HtmlLayoutResult result;
    };
    std::map<std::tuple<size_t, size_t, int, int>, std::vector<Entry>> cells;
    int depth = 0;  // tables open around the flow being laid out
    Measures measures;
};

HtmlLayoutResult LayoutRange(const std::vector<HtmlToken>& tokens, size_t begin, size_t end,
                             const HtmlTextState& base, const HtmlLayoutContext& ctx,
                             int wrapWidth, int areaWidth, LayoutMemo& memo);

class Flow {
  public:
    Flow(const HtmlLayoutContext& ctx, int wrapWidth, int areaWidth, LayoutMemo& memo)
        : ctx_(ctx), wrap_(wrapWidth), area_(areaWidth), memo_(memo) {}

    void Run(const std::vector<HtmlToken>& tokens, size_t begin, size_t end, HtmlTextState st);
    HtmlLayoutResult Finish();

  private:
    struct Line {
        std::vector<HtmlBox> items;
        int align = 0;
        int lastAlign = 0;
        bool wrapped = false;
        int emptyHeight = 0;
    };

    void StartLine(const HtmlTextState& st) {
        if (started_) return;
        started_ = true;
        x_ = st.indent;
    }
    void EndLine(const HtmlTextState& st, bool wrapped, bool explicitEnd);
    void PlaceText(const std::string& text, const HtmlTextState& st);
    // Adds a text run; width is its advance when already measured, else -1.
    void AddText(const QString& s, const HtmlTextState& st, Measure& m, int width = -1);
    void PlaceRule(const HtmlToken& tok, const HtmlTextState& st);
    void PlaceString(const HtmlToken& tok, const HtmlTextState& st);
    void PlaceImage(const HtmlToken& tok, const HtmlTextState& st, int id);
    void PlaceTable(const std::vector<HtmlToken>& tokens, size_t open, size_t close,
                    const HtmlTextState& st);
    void PlaceInline(HtmlBox box, const HtmlTextState& st);
    void ApplyRule(HtmlTextState& st, const std::string& selector) const {
        if (!ctx_.sheet) return;
        const auto it = ctx_.sheet->find(selector);
        if (it != ctx_.sheet->end()) ApplyHtmlDeclarations(st, it->second, ctx_.metrics);
    }
    int AvailableWidth() const { return wrap_ > 0 ? wrap_ : area_; }

    const HtmlLayoutContext& ctx_;
    int wrap_;
    int area_;
    LayoutMemo& memo_;
    std::vector<Line> lines_;
    Line cur_;
    int x_ = 0;
    bool started_ = false;
    QChar prevChar_ = u' ';
    bool animated_ = false;
};

void Flow::Run(const std::vector<HtmlToken>& tokens, size_t begin, size_t end, HtmlTextState st) {
    std::vector<std::pair<std::string, HtmlTextState>> stack;
    for (size_t i = begin; i < end; ++i) {
        const HtmlToken& tok = tokens[i];
        if (!tok.isTag) {
            PlaceText(tok.text, st);
            continue;
        }
        if (tok.tag == kTagTable && !tok.closing) {
            const size_t close = MatchingTableEnd(tokens, i, end);
            PlaceTable(tokens, i, close, st);
            i = close;
            continue;
        }
        if (tok.tag == kTagNone || tok.tag >= kTagTable) continue;
        if (tok.closing) {
            for (size_t k = stack.size(); k-- > 0;) {
                if (stack[k].first != tok.text) continue;
                st = stack[k].second;
                stack.resize(k);
                break;
            }
            continue;
        }
        switch (tok.tag) {
            case kTagRule:
                PlaceRule(tok, st);
                continue;
            case kTagBreak:
                for (int n = 0; n < tok.count; ++n) EndLine(st, false, true);
                continue;
            case kTagTab:
                StartLine(st);
                for (int n = 0; n < tok.count; ++n) x_ = (x_ / ctx_.tabWidth + 1) * ctx_.tabWidth;
                continue;
            case kTagBitmap:
            case kTagIcon:
            case kTagImageList:
                PlaceImage(tok, st, static_cast<int>(i));
                continue;
            case kTagString:
                PlaceString(tok, st);
                continue;
            default:
                break;
        }
        stack.emplace_back(tok.text, st);
        switch (tok.tag) {
            case kTagBold:
                st.weight = std::min(st.weight * 2, 900);
                break;
            case kTagIndent:
                st.indent = std::min(
                    kMaxHtmlSize,
                    st.indent +
                        std::max(0, ParseHtmlSize(tok.Attr("size", "10"), 10, st, ctx_.metrics)));
                break;
            case kTagItalic:
                st.italic = !st.italic;
                break;
            case kTagUnderline:
                st.underline = !st.underline;
                break;
            case kTagStrike:
                st.strikeOut = !st.strikeOut;
                break;
            case kTagFont: {
                if (tok.HasAttr("face") && !tok.Attr("face").empty()) st.face = tok.Attr("face");
                if (tok.HasAttr("size")) {
                    const int h =
                        ParseHtmlSize(tok.Attr("size"), st.fontHeight, st, ctx_.metrics, true);
                    if (h > 0) st.fontHeight = h;
                }
                if (tok.HasAttr("color")) st.color = ParseHtmlColor(tok.Attr("color"), st.color);
                if (tok.HasAttr("style"))
                    ApplyHtmlDeclarations(st, ParseHtmlDeclarations(tok.Attr("style")),
                                          ctx_.metrics);
                if (const int w = ParseHtmlWeight(tok.Attr("weight"))) st.weight = w;
                if (tok.HasAttr("bkgnd")) {
                    const std::string v = tok.Attr("bkgnd");
                    if (v.empty() || v == "transparent") {
                        st.opaque = false;
                    } else {
                        st.background = ParseHtmlColor(v, st.background);
                        st.opaque = true;
                    }
                }
                break;
            }
            case kTagLeft:
            case kTagCenter:
            case kTagRight:
            case kTagJustify:
                st.align = tok.tag - kTagLeft;
                break;
            case kTagBaseline:
                st.valign = 3;
                break;
            case kTagTop:
                st.valign = 0;
                break;
            case kTagVCenter:
                st.valign = 1;
                break;
            case kTagBottom:
                st.valign = 2;
                break;
            case kTagStyle:
                ApplyRule(st, tok.text);
                break;
            case kTagSpan:
                ApplyRule(st, "." + tok.Attr("class"));
                break;
            case kTagLink:
                if (tok.HasAttr("href")) {
                    st.linkKind = 1;
                    st.linkTarget = tok.Attr("href");
                } else if (tok.HasAttr("msg")) {
                    st.linkKind = 2;
                    st.linkTarget = tok.Attr("msg");
                }
                st.linkId = tok.linkId;
                ApplyRule(st, tok.linkId == ctx_.hoverLink ? "a:hover" : "a:link");
                break;
            default:
                break;
        }
    }
    if (!cur_.items.empty()) EndLine(st, false, false);
}

void Flow::EndLine(const HtmlTextState& st, bool wrapped, bool explicitEnd) {
    cur_.align = explicitEnd || cur_.items.empty() ? st.align : cur_.lastAlign;
    cur_.wrapped = wrapped;
    cur_.emptyHeight = memo_.measures.For(st).height;
    lines_.push_back(std::move(cur_));
    cur_ = Line{};
    x_ = 0;
    started_ = false;
}

void Flow::AddText(const QString& s, const HtmlTextState& st, Measure& m, int width) {
    if (s.isEmpty()) return;
    HtmlBox box;
    box.kind = HtmlItemKind::Text;
    box.text = s.toStdString();
    box.st = st;
    // Margin and padding surround the text on every side; the line grows with them.
    const int inset = st.margin + st.padding;
    box.inset = inset;
    box.margin = st.margin;
    box.ascent = m.ascent + inset;
    box.descent = m.descent + inset;
    box.rect = QRect(x_, 0, (width >= 0 ? width : m.Width(s)) + 2 * inset, m.height + 2 * inset);
    x_ += box.rect.width();
    cur_.lastAlign = st.align;
    cur_.items.push_back(std::move(box));
}

// Whether s[at, end) fits in room (its exact width in width): summed first, so a long run is
// not measured whole.
bool FitsWhole(const QString& s, int at, Measure& m, int room, int* width) {
    if (WidthUpTo(s, at, static_cast<int>(s.size()), m, room + kKerningSlack) > room + kKerningSlack)
        return false;
    *width = m.Width(s.mid(at));
    return *width <= room;
}

// The end of the last break character after `at` whose line (trailing spaces dropped) fits in
// room (its width in lineWidth), or -1. Measures forward character by character and stops at the first break that no
// longer fits, or once a stretch without breaks has passed the line's end.
int LastFittingBreak(const QString& s, int at, Measure& m, int room, int* lineWidth) {
    const int size = static_cast<int>(s.size());
    const int spaceWidth = m.space;
    std::vector<int> cuts;
    int guess = -1;
    int width = 0;   // of s[at, k]
    int spaces = 0;  // the run of spaces ending at k
    for (int k = at; k < size;) {
        const int here = k;
        width += m.Char(s, here, &k);
        spaces = s[here] == u' ' ? spaces + 1 : 0;
        const int lineWidth = width - spaces * spaceWidth;
        const bool fits = lineWidth <= room;
        if (IsBreakChar(s[here])) {
            // A break far past the edge cannot fit whatever kerning gives back.
            if (fits || lineWidth <= room + kKerningSlack) cuts.push_back(k);
            if (fits) guess = static_cast<int>(cuts.size()) - 1;
        }
        if (!fits) break;
    }
    const int k = SettleCut(
        cuts, guess, m, room, [&](int c) { return TrimRight(s.mid(at, c - at)); }, lineWidth);
    return k >= 0 ? cuts[k] : -1;
}

void Flow::PlaceText(const std::string& text, const HtmlTextState& st) {
    const QString raw = QString::fromStdString(text);
    const QString s = Transform(raw, st.transform, prevChar_);
    if (!raw.isEmpty()) prevChar_ = raw.back();
    Measure& m = memo_.measures.For(st);
    const int size = static_cast<int>(s.size());
    int at = 0;  // the rest of the run still to place
    while (at < size) {
        StartLine(st);
        const int room = wrap_ - x_ - 2 * (st.margin + st.padding);
        int width = -1;
        if (wrap_ <= 0 || FitsWhole(s, at, m, room, &width)) {
            AddText(s.mid(at), st, m, width);
            return;
        }
        // Cut after the last break character whose prefix still fits.
        int headWidth = 0;
        const int cut = LastFittingBreak(s, at, m, room, &headWidth);
        if (cut > 0) {
            const QString head = TrimRight(s.mid(at, cut - at));
            at = SkipSpaces(s, cut);
            if (head.isEmpty() && cur_.items.empty()) continue;  // only spaces were cut
            AddText(head, st, m, headWidth);
            EndLine(st, true, true);
            continue;
        }
        if (cur_.items.empty()) {
            // A word longer than a whole line: break it between characters.
            const int n = CharsThatFit(s, at, m, room, &width);
            AddText(s.mid(at, n), st, m, width);
            at += n;
            EndLine(st, true, true);
            continue;
        }
        EndLine(st, true, true);
        at = SkipSpaces(s, at);
    }
}

void Flow::PlaceString(const HtmlToken& tok, const HtmlTextState& st) {
    // Only the program's own table is at hand: strings of other modules insert nothing.
    if (tok.HasAttr("srcdll") || tok.HasAttr("iddll")) return;
    if (!ctx_.strings || !*ctx_.strings) return;
    const std::string text = (*ctx_.strings)(std::atoi(tok.Attr("idres").c_str()));
    if (!text.empty()) PlaceText(text, st);
}

void Flow::PlaceInline(HtmlBox box, const HtmlTextState& st) {
    StartLine(st);
    if (wrap_ > 0 && !cur_.items.empty() && x_ + box.rect.width() > wrap_) {
        EndLine(st, true, true);
        StartLine(st);
    }
    box.rect.moveLeft(x_);
    x_ += box.rect.width();
    cur_.lastAlign = st.align;
    cur_.items.push_back(std::move(box));
}

void Flow::PlaceRule(const HtmlToken& tok, const HtmlTextState& st) {
    if (!cur_.items.empty()) EndLine(st, false, true);
    HtmlBox box;
    box.kind = HtmlItemKind::Rule;
    box.st = st;
    box.ruleThickness = std::max(1, ParseHtmlSize(tok.Attr("size"), 1, st, ctx_.metrics));
    box.ruleColor = ParseHtmlColor(tok.Attr("color"), 0x808080);
    const std::string width = tok.Attr("width", "100%");
    int w = 0;
    if (!width.empty() && width.back() == '%')
        box.rulePercent = std::clamp(std::atoi(width.c_str()), 0, 100);
    else
        w = std::max(0, ParseHtmlSize(width, 0, st, ctx_.metrics));
    const int t = box.ruleThickness;
    box.rect = QRect(0, 0, w, std::max(t + 8, 2 * t + 2));
    box.st.valign = 1;
    started_ = true;
    x_ = 0;
    cur_.items.push_back(std::move(box));
    EndLine(st, false, true);
}

void Flow::PlaceImage(const HtmlToken& tok, const HtmlTextState& st, int id) {
    const HtmlImageLoader* loader = ctx_.loader;
    if (!loader || !*loader) return;
    HtmlImageRequest req;
    req.tag = tok.tag;
    req.file = tok.Attr("file");
    req.idres = std::atoi(tok.Attr("idres").c_str());
    req.module = tok.HasAttr("srcdll") ? tok.Attr("srcdll") : tok.Attr("iddll");
    req.handle = std::atoll(tok.Attr("handle").c_str());
    req.index = std::atoi(tok.Attr("index").c_str());
    req.speed = std::atoi(tok.Attr("speed").c_str());
    QImage img = (*loader)(req);
    if (img.isNull()) return;
    if (tok.HasAttr("mask")) {
        // The mask colour becomes transparent.
        const Rgb key = ParseHtmlColor(tok.Attr("mask"), 0xFF00FF);
        img = img.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < img.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if ((line[x] & 0xFFFFFFu) == key) line[x] = 0;
        }
    }
    // An image list is a strip of square frames, side by side or (like the skin's animation
    // strips) one under the other.
    const int side = std::min(img.width(), img.height());
    const int frames =
        req.tag == kTagImageList && side > 0 ? std::max(img.width(), img.height()) / side : 1;
    int w = frames > 1 ? side : img.width(), h = frames > 1 ? side : img.height();
    if (tok.HasAttr("width"))
        w = std::max(1, ParseHtmlSize(tok.Attr("width"), w, st, ctx_.metrics));
    if (tok.HasAttr("height"))
        h = std::max(1, ParseHtmlSize(tok.Attr("height"), h, st, ctx_.metrics));
    if (req.tag == kTagImageList && req.speed > 0) animated_ = true;
    HtmlBox box;
    box.kind = HtmlItemKind::Image;
    box.st = st;
    box.image = std::move(img);
    box.shadow = tok.Attr("style").find("shadow") != std::string::npos;
    box.hotShadow = tok.HasAttr("hotstyle") ? tok.Attr("hotstyle").find("shadow") != std::string::npos
                                            : box.shadow;
    box.imageId = id;
    if (frames > 1) {
        box.frames = frames;
        box.frame = std::clamp(req.index, 0, frames - 1);
        box.speed = std::max(0, req.speed);
    }
    // Room for a shadow either style shows, so hovering never moves the text around it.
    const bool room = box.shadow || box.hotShadow;
    const int extraW = room ? ctx_.shadowOffsetX : 0;
    const int extraH = room ? ctx_.shadowOffsetY : 0;
    box.rect = QRect(0, 0, w + extraW, h + extraH);
    box.ascent = h + extraH;
    box.descent = 0;
    PlaceInline(std::move(box), st);
}

HtmlBoxStyle BoxStyleFrom(const HtmlToken& tok, const HtmlBoxStyle& inherited,
                          const HtmlLayoutContext& ctx) {
    HtmlBoxStyle s = inherited;
    if (tok.HasAttr("bgcolor")) {
        s.bgColor = ParseHtmlColor(tok.Attr("bgcolor"), s.bgColor);
        s.bgMidColor = s.bgEndColor = s.bgColor;
        if (s.bgEffect < 0) s.bgEffect = 0;
    }
    if (tok.HasAttr("bgmidcolor"))
        s.bgMidColor = ParseHtmlColor(tok.Attr("bgmidcolor"), s.bgMidColor);
    if (tok.HasAttr("bgendcolor"))
        s.bgEndColor = ParseHtmlColor(tok.Attr("bgendcolor"), s.bgEndColor);
    s.bgEffect = BgEffectOf(tok.Attr("bgeffect"), s.bgEffect);
    if (tok.HasAttr("background") && ctx.loader && *ctx.loader) {
        HtmlImageRequest req;
        req.tag = kTagBitmap;
        req.file = tok.Attr("background");
        s.background = (*ctx.loader)(req);
    }
    if (tok.HasAttr("bordercolor"))
        s.borderColor = ParseHtmlColor(tok.Attr("bordercolor"), s.borderColor);
    if (tok.HasAttr("bordercolorlight")) {
        s.borderLight = ParseHtmlColor(tok.Attr("bordercolorlight"), s.borderLight);
        s.threeD = true;
    }
    if (tok.HasAttr("bordercolordark")) {
        s.borderDark = ParseHtmlColor(tok.Attr("bordercolordark"), s.borderDark);
        s.threeD = true;
    }
    s.borderStyle = BorderStyleOf(tok.Attr("borderstyle"), s.borderStyle);
    return s;
}

struct Cell {
    size_t begin = 0, end = 0;  // content tokens
    int row = 0, col = 0, rowSpan = 1, colSpan = 1;
    HtmlTextState st;
    HtmlBoxStyle deco;
    int valign = 1;
    int fixedWidth = 0, fixedHeight = 0;
    int width = 0, height = 0;  // natural, padding included
};

// Adds each span's shortfall to its columns (or rows): divided equally, the remainder
// to the last one; single spans first, then wider ones, cells of one span in table order.
void GrowSpans(std::vector<int>& sizes, const std::vector<Cell>& cells, bool columns) {
    std::vector<const Cell*> bySpan;
    bySpan.reserve(cells.size());
    for (const Cell& c : cells) bySpan.push_back(&c);
    std::stable_sort(bySpan.begin(), bySpan.end(), [&](const Cell* a, const Cell* b) {
        return (columns ? a->colSpan : a->rowSpan) < (columns ? b->colSpan : b->rowSpan);
    });
    for (const Cell* c : bySpan) {
        const int first = columns ? c->col : c->row;
        const int n = columns ? c->colSpan : c->rowSpan;
        const int need = columns ? c->width : c->height;
        long long sum = 0;
        for (int k = first; k < first + n; ++k) sum += sizes[k];
        if (sum >= need) continue;
        const int shortfall = static_cast<int>(need - sum);
        for (int k = first; k < first + n; ++k) sizes[k] += shortfall / n;
        sizes[first + n - 1] += shortfall % n;
    }
}

// Shares extra among the chosen slots equally, the remainder to the last of them.
void ShareExtra(std::vector<int>& sizes, const std::vector<bool>& chosen, int extra) {
    std::vector<int> idx;
    for (size_t k = 0; k < sizes.size(); ++k)
        if (chosen[k]) idx.push_back(static_cast<int>(k));
    if (idx.empty())
        for (size_t k = 0; k < sizes.size(); ++k) idx.push_back(static_cast<int>(k));
    if (idx.empty() || extra <= 0) return;
    const int n = static_cast<int>(idx.size());
    for (int k : idx) sizes[k] += extra / n;
    sizes[idx.back()] += extra % n;
}

void Flow::PlaceTable(const std::vector<HtmlToken>& tokens, size_t open, size_t close,
                      const HtmlTextState& st) {
    const HtmlToken& tableTok = tokens[open];
    if (!cur_.items.empty()) EndLine(st, false, true);

    const auto& m = ctx_.metrics;
    const int border = std::max(0, ParseHtmlSize(tableTok.Attr("border"), 0, st, m));
    const int spacing = std::max(0, ParseHtmlSize(tableTok.Attr("cellspacing"), 2, st, m));
    const int padding = std::max(0, ParseHtmlSize(tableTok.Attr("cellpadding"), 1, st, m));
    HtmlBoxStyle tableDeco = BoxStyleFrom(tableTok, HtmlBoxStyle{}, ctx_);
    tableDeco.borderWidth = border;
    const int side = border * (tableDeco.borderStyle == 6 ? 3 : 1);
    const int avail = AvailableWidth();
    auto resolve = [&](const std::string& v, int whole) {
        if (v.empty()) return 0;
        if (v.back() == '%')
            return whole > 0 ? whole * std::clamp(std::atoi(v.c_str()), 0, 100) / 100 : 0;
        return std::max(0, ParseHtmlSize(v, 0, st, m));
    };

    // Rows and cells, with spans placed on an occupancy grid.
    std::vector<Cell> cells;
    std::vector<std::vector<bool>> taken;
    const HtmlToken* rowTok = nullptr;
    int row = -1;
    auto occupied = [&](int r, int c) {
        return r < static_cast<int>(taken.size()) && c < static_cast<int>(taken[r].size()) &&
               taken[r][c];
    };
    for (size_t i = open + 1; i < close; ++i) {
        const HtmlToken& tok = tokens[i];
        if (tok.isTag && tok.tag == kTagTable && !tok.closing) {
            i = MatchingTableEnd(tokens, i, close);
            continue;
        }
        if (!tok.isTag || tok.closing) continue;
        if (tok.tag == kTagRow) {
            ++row;
            rowTok = &tok;
            continue;
        }
        if (tok.tag != kTagCell) continue;
        if (row < 0) row = 0;
        Cell c;
        c.row = row;
        c.col = 0;
        while (occupied(row, c.col)) ++c.col;
        // Spans beyond any real table would only make the grid huge.
        c.rowSpan = std::clamp(std::atoi(tok.Attr("rowspan", "1").c_str()), 1, kMaxSpan);
        c.colSpan = std::clamp(std::atoi(tok.Attr("colspan", "1").c_str()), 1,
                               std::max(1, kMaxColumns - c.col));
        const bool beyondGrid = c.col >= kMaxColumns;
        if (!beyondGrid && taken.size() < static_cast<size_t>(row + c.rowSpan))
            taken.resize(row + c.rowSpan);
        for (int r = row; !beyondGrid && r < row + c.rowSpan; ++r) {
            if (taken[r].size() < static_cast<size_t>(c.col + c.colSpan))
                taken[r].resize(c.col + c.colSpan);
            for (int k = c.col; k < c.col + c.colSpan; ++k) taken[r][k] = true;
        }
        // The row's attributes are the defaults of its cells.
        HtmlBoxStyle deco;
        c.st = st;
        c.st.align = 0;
        if (rowTok) {
            deco = BoxStyleFrom(*rowTok, deco, ctx_);
            c.st.align = AlignOf(rowTok->Attr("align"), c.st.align);
            c.valign = VAlignOf(rowTok->Attr("valign"), c.valign);
        }
        c.deco = BoxStyleFrom(tok, deco, ctx_);
        c.deco.borderWidth = border > 0 ? 1 : 0;
        if (tableDeco.threeD) {
            // Cells look sunk into a raised table.
            c.deco.threeD = true;
            c.deco.borderLight = tableDeco.borderDark;
            c.deco.borderDark = tableDeco.borderLight;
        }
        c.deco.borderColor = tableDeco.borderColor;
        c.st.align = AlignOf(tok.Attr("align"), c.st.align);
        c.valign = VAlignOf(tok.Attr("valign"), c.valign);
        c.fixedWidth = resolve(tok.Attr("width"), avail);
        c.fixedHeight = resolve(tok.Attr("height"), 0);
        // Content runs to the next cell or row of this table.
        c.begin = i + 1;
        size_t j = i + 1;
        for (; j < close; ++j) {
            const HtmlToken& t = tokens[j];
            if (!t.isTag) continue;
            if (t.tag == kTagTable && !t.closing) {
                j = MatchingTableEnd(tokens, j, close);
                continue;
            }
            if (t.tag == kTagCell || t.tag == kTagRow) break;
        }
        // A nested table that never closes runs to `close`, and the step past it must not
        // carry the cell beyond its own table.
        c.end = std::min(j, close);
        if (!beyondGrid) cells.push_back(std::move(c));
        i = j - 1;
    }
    if (cells.empty()) return;

    int rows = 0, cols = 0;
    for (const Cell& c : cells) {
        rows = std::max(rows, c.row + c.rowSpan);
        cols = std::max(cols, c.col + c.colSpan);
    }
    auto cellWrap = [&](const Cell& c) {
        return c.fixedWidth > 0 ? std::max(1, c.fixedWidth - 2 * padding) : 0;
    };
    std::vector<bool> fixedCol(cols, false);
    ++memo_.depth;
    for (Cell& c : cells) {
        const HtmlLayoutResult& r =
            LayoutRange(tokens, c.begin, c.end, c.st, ctx_, cellWrap(c), 0, memo_);
        c.width = std::max(r.width + 2 * padding, c.fixedWidth);
        c.height = std::max(r.height + 2 * padding, c.fixedHeight);
        if (c.fixedWidth > 0)
            for (int k = c.col; k < c.col + c.colSpan; ++k) fixedCol[k] = true;
    }
    std::vector<int> colW(cols, 0), rowH(rows, 0);
    GrowSpans(colW, cells, true);
    GrowSpans(rowH, cells, false);

    auto total = [&](const std::vector<int>& sizes) {
        int t = static_cast<int>(sizes.size()) - 1 + spacing + 2 * side;
        for (int s : sizes) t += spacing + s;
        return t;
    };
    const int targetW = resolve(tableTok.Attr("width"), avail);
    std::vector<bool> freeCol(cols);
    for (int k = 0; k < cols; ++k) freeCol[k] = !fixedCol[k];
    if (targetW > total(colW)) ShareExtra(colW, freeCol, targetW - total(colW));
    const int targetH = resolve(tableTok.Attr("height"), 0);
    if (targetH > total(rowH))
        ShareExtra(rowH, std::vector<bool>(rows, false), targetH - total(rowH));

    HtmlBox table;
    table.kind = HtmlItemKind::Table;
    table.st = st;
    table.st.valign = 0;
    table.deco = tableDeco;
    table.rect = QRect(0, 0, total(colW), total(rowH));
    // Where each column (row) starts, and one past the last.
    auto offsets = [&](const std::vector<int>& sizes) {
        std::vector<int> at(sizes.size() + 1, side + spacing);
        for (size_t k = 0; k < sizes.size(); ++k) at[k + 1] = at[k] + sizes[k] + spacing + 1;
        return at;
    };
    const std::vector<int> colAt = offsets(colW), rowAt = offsets(rowH);
    for (const Cell& c : cells) {
        const int x = colAt[c.col], y = rowAt[c.row];
        const int w = colAt[c.col + c.colSpan] - spacing - 1 - x;
        const int h = rowAt[c.row + c.rowSpan] - spacing - 1 - y;
        HtmlBox cell;
        cell.kind = HtmlItemKind::Cell;
        cell.st = c.st;
        cell.deco = c.deco;
        cell.rect = QRect(x, y, w, h);
        // Laid out again in its final width so its own alignment applies.
        HtmlLayoutResult r = LayoutRange(tokens, c.begin, c.end, c.st, ctx_, cellWrap(c),
                                         std::max(1, w - 2 * padding), memo_);
        animated_ = animated_ || r.animated;
        const int free = std::max(0, h - 2 * padding - r.height);
        const int dy = padding + (c.valign == 0 ? 0 : c.valign == 2 ? free : free / 2);
        for (HtmlBox& b : r.boxes) {
            b.rect.translate(padding, dy);
            cell.children.push_back(std::move(b));
        }
        table.children.push_back(std::move(cell));
    }
    --memo_.depth;
    started_ = true;
    x_ = 0;
    cur_.items.push_back(std::move(table));
    HtmlTextState lineState = st;
    lineState.align = AlignOf(tableTok.Attr("align"), 0);
    EndLine(lineState, false, true);
}

HtmlLayoutResult Flow::Finish() {
    HtmlLayoutResult out;
    out.animated = animated_;
    int widest = 0;
    size_t count = 0;
    for (const Line& l : lines_) {
        count += l.items.size();
        for (const HtmlBox& b : l.items) widest = std::max(widest, b.rect.right() + 1);
    }
    out.boxes.reserve(count);  // justified lines may add a few more
    const int areaW = area_ > 0 ? area_ : widest;
    int y = 0;
    for (Line& l : lines_) {
        for (HtmlBox& b : l.items)
            if (b.kind == HtmlItemKind::Rule && b.rulePercent >= 0)
                b.rect.setWidth(areaW * b.rulePercent / 100);
        int ascent = 0, descent = 0, other = 0, lineW = 0;
        for (const HtmlBox& b : l.items) {
            if (b.st.valign == 3) {
                ascent = std::max(ascent, b.ascent);
                descent = std::max(descent, b.descent);
            } else {
                other = std::max(other, b.rect.height());
            }
            lineW = std::max(lineW, b.rect.right() + 1);
        }
        const int height = l.items.empty() ? l.emptyHeight : std::max(ascent + descent, other);
        const int free = areaW - lineW;
        if (free > 0 && l.align == 3 && l.wrapped) {
            // Justify: each space of the line widens by its share of the free width.
            int spaces = 0;
            for (const HtmlBox& b : l.items)
                if (b.kind == HtmlItemKind::Text)
                    spaces += static_cast<int>(QString::fromStdString(b.text).count(u' '));
            if (spaces > 0) {
                std::vector<HtmlBox> spread;
                int shift = 0, seen = 0;
                for (HtmlBox& b : l.items) {
                    if (b.kind != HtmlItemKind::Text || b.inset > 0) {  // boxed runs stay whole
                        b.rect.translate(shift, 0);
                        spread.push_back(std::move(b));
                        continue;
                    }
                    const QString s = QString::fromStdString(b.text);
                    const QFontMetrics fm(HtmlFont(b.st));
                    int from = 0;
                    while (from < s.size()) {
                        int to = static_cast<int>(s.indexOf(u' ', from));
                        to = to < 0 ? static_cast<int>(s.size()) : to + 1;
                        HtmlBox piece = b;
                        piece.text = s.mid(from, to - from).toStdString();
                        piece.rect =
                            QRect(b.rect.x() + fm.horizontalAdvance(s.left(from)) + shift, 0,
                                  fm.horizontalAdvance(s.mid(from, to - from)), b.rect.height());
                        spread.push_back(std::move(piece));
                        if (s[to - 1] == u' ') {
                            shift += free / spaces + (seen < free % spaces ? 1 : 0);
                            ++seen;
                        }
                        from = to;
                    }
                }
                l.items = std::move(spread);
            }
        } else if (free > 0 && (l.align == 1 || l.align == 2)) {
            const int dx = l.align == 1 ? free / 2 : free;
            for (HtmlBox& b : l.items) b.rect.translate(dx, 0);
        }
        for (HtmlBox& b : l.items) {
            const int h = b.rect.height();
            int dy = 0;
            switch (b.st.valign) {
                case 0:
                    dy = 0;
                    break;
                case 1:
                    dy = (height - h) / 2;
                    break;
                case 2:
                    dy = height - h;
                    break;
                default:
                    dy = ascent - b.ascent;
                    break;
            }
            b.rect.moveTop(y + dy);
            out.width = std::max(out.width, b.rect.right() + 1);
            out.boxes.push_back(std::move(b));
        }
        y += height;
    }
    out.height = y;
    out.lines = static_cast<int>(lines_.size());
    return out;
}

HtmlLayoutResult LayoutRange(const std::vector<HtmlToken>& tokens, size_t begin, size_t end,
                             const HtmlTextState& base, const HtmlLayoutContext& ctx,
                             int wrapWidth, int areaWidth, LayoutMemo& memo) {
    if (memo.depth > kMaxTableDepth) return {};
    std::vector<LayoutMemo::Entry>& entries = memo.cells[{begin, end, wrapWidth, areaWidth}];
    for (const LayoutMemo::Entry& e : entries)
        if (e.base == base) return e.result;
    Flow flow(ctx, wrapWidth, areaWidth, memo);
    flow.Run(tokens, begin, end, base);
    HtmlLayoutResult result = flow.Finish();
    // The map may have grown meanwhile (nested cells): look the entry list up again.
    memo.cells[{begin, end, wrapWidth, areaWidth}].push_back({base, result});
    return result;
}

}  // namespace

HtmlLayoutResult LayoutHtml(const std::vector<HtmlToken>& tokens, size_t begin, size_t end,
                            const HtmlTextState& base, const HtmlLayoutContext& ctx, int wrapWidth,
                            int areaWidth) {
    LayoutMemo memo;
    Flow flow(ctx, wrapWidth, areaWidth, memo);
    flow.Run(tokens, begin, std::min(end, tokens.size()), base);
    return flow.Finish();
}

}  // namespace velmora
