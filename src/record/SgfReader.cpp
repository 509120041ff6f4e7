#include "record/SgfReader.h"

#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/TextCodec.h"

namespace velmora {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
// How the program's own writer opens every record; with no white space between properties
// it marks a file whose groups are all reference diagrams.
constexpr std::string_view kOwnHeader = "(;GM[1]FF[4]SZ[19]";

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string NormaliseLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The CA value of the raw bytes (the first "CA[" that starts a property), or "".
std::string CharsetOf(std::string_view bytes) {
    for (std::size_t at = bytes.find("CA["); at != std::string_view::npos;
         at = bytes.find("CA[", at + 1)) {
        if (at > 0 && bytes[at - 1] >= 'A' && bytes[at - 1] <= 'Z') continue;
        const std::size_t end = bytes.find(']', at + 3);
        if (end == std::string_view::npos) return {};
        std::string name;
        for (char c : bytes.substr(at + 3, end - at - 3))
            if (!IsSpace(c)) name += c;
        return name;
    }
    return {};
}

// CP949 line by line, so one broken byte costs only its line's Korean text.
std::string DecodeLossy(std::string_view bytes) {
    std::string out;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        end = end == std::string_view::npos ? bytes.size() : end + 1;
        const std::string_view line = bytes.substr(start, end - start);
        if (std::optional<std::string> decoded = DecodeText(line, "CP949")) {
            out += *decoded;
        } else {
            for (char c : line) out += static_cast<unsigned char>(c) < 0x80 ? c : '?';
        }
        start = end;
    }
    return out;
}

// The groups of a game tree. items hold properties and child groups in text order.
struct Group {
    struct Item {
        int child = -1;  // a child group, or −1 for a property
        std::string id;
        std::string value;
    };
    std::vector<Item> items;
    int parent = -1;
    bool started = false;        // something was read inside the group
    bool opensWithNode = false;  // the first thing inside was ";"
    bool closed = false;

    // Index of the first item of the run of child groups that ends the group (items.size()
    // when the group ends in a property).
    std::size_t TrailingStart() const {
        std::size_t k = items.size();
        while (k > 0 && items[k - 1].child >= 0) --k;
        return k;
    }
};

class TreeBuilder {
  public:
    explicit TreeBuilder(std::string_view text) : text_(text) { groups_.push_back(Group{}); }

    void Build(std::size_t start) {
        std::size_t previousEnd = start;
        while (!rootClosed_) {
            const std::size_t open = text_.find('[', previousEnd);
            const std::size_t close = open == std::string_view::npos ? open : ValueEnd(open);
            if (close == std::string_view::npos) {
                // The rest after the last value: only its structure counts.
                Structure(text_.substr(previousEnd, open == std::string_view::npos
                                                        ? std::string_view::npos
                                                        : open - previousEnd));
                break;
            }
            const std::string_view between = text_.substr(previousEnd, open - previousEnd);
            const std::string letters = Structure(between);
            std::string id = letters;
            if (letters.empty() && IsBlank(between)) id = previousId_;
            previousId_ = id;
            previousEnd = close + 1;
            if (rootClosed_) break;
            Group& group = groups_[current_];
            group.started = true;
            group.items.push_back(
                Group::Item{-1, id, Unescape(text_.substr(open + 1, close - open - 1))});
        }
    }

    bool SawWhiteSpace() const { return sawWhiteSpace_; }
    const std::vector<Group>& Groups() const { return groups_; }

  private:
    static bool IsBlank(std::string_view s) {
        for (char c : s)
            if (!IsSpace(c)) return false;
        return true;
    }

    // The "]" closing the value opened at open, skipping escaped characters; npos when none.
    std::size_t ValueEnd(std::size_t open) const {
        for (std::size_t i = open + 1; i < text_.size(); ++i) {
            if (text_[i] == '\\') {
                ++i;
            } else if (text_[i] == ']') {
                return i;
            }
        }
        return std::string_view::npos;
    }

    static std::string Unescape(std::string_view raw) {
        std::string out;
        out.reserve(raw.size());
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\\' && i + 1 < raw.size()) {
                ++i;
                if (raw[i] == '\n') continue;  // a soft line break
            }
            out += raw[i];
        }
        return out;
    }

    // Applies the "(", ")" and ";" between two values → the identifier letters among them.
    std::string Structure(std::string_view between) {
        std::string letters;
        for (char c : between) {
            if (rootClosed_) break;
            Group& group = groups_[current_];
            if (c == '(') {
                group.started = true;
                Group child;
                child.parent = current_;
                groups_.push_back(std::move(child));
                const int index = static_cast<int>(groups_.size()) - 1;
                groups_[current_].items.push_back(Group::Item{index, {}, {}});
                current_ = index;
            } else if (c == ')') {
                group.closed = true;
                if (current_ == 0) {
                    rootClosed_ = true;  // a file with several games: the first one only
                } else {
                    current_ = group.parent;
                }
            } else if (c == ';') {
                if (!group.started) group.opensWithNode = true;
                group.started = true;
            } else if (IsSpace(c)) {
                sawWhiteSpace_ = true;
            } else {
                letters += c;
            }
        }
        return letters;
    }

    std::string_view text_;
    std::vector<Group> groups_;
    int current_ = 0;
    bool rootClosed_ = false;
    bool sawWhiteSpace_ = false;
    std::string previousId_;
};

// Turns the tree into the own dialect's flat sequence of events.
class Flattener {
  public:
    Flattener(const std::vector<Group>& groups, bool ownDialect, SgfDocument& doc)
        : groups_(groups), own_(ownDialect), doc_(doc) {}

    // The main line: a sequence ending in two or more children that open with a node is another
    // program's branch; its first child continues the main line, the others are diagrams based
    // at the branch. Every other group is a diagram where it stands, as the own writer puts it.
    void Main(int g) {
        for (;;) {
            const Group& group = groups_[g];
            const std::size_t trailing = group.TrailingStart();
            const bool branch = !own_ && group.items.size() - trailing >= 2 &&
                                groups_[group.items[trailing].child].opensWithNode;
            const std::size_t end = branch ? trailing : group.items.size();
            for (std::size_t k = 0; k < end; ++k) Item(group.items[k]);
            if (!branch) return;
            // A side child the text ended in is closed all the same: the main line follows it.
            for (std::size_t k = trailing + 1; k < group.items.size(); ++k)
                Diagram(group.items[k].child, true);
            g = group.items[trailing].child;
        }
    }

  private:
    void Item(const Group::Item& item) {
        if (item.child >= 0) {
            Diagram(item.child);
        } else {
            Push(SgfEvent::kProperty, item.id, item.value);
        }
    }

    void Push(SgfEvent::Kind kind, const std::string& id = {}, const std::string& value = {}) {
        doc_.events.push_back(SgfEvent{kind, id, value});
    }

    // A diagram holds one line: its own nodes, continued by its first trailing child at every
    // depth. Every other group inside is left out and counted.
    void Diagram(int g, bool close = false) {
        Push(SgfEvent::kOpenVariation);
        bool closed = true;
        for (int line = g; line >= 0;) {
            const Group& group = groups_[line];
            closed = closed && group.closed;
            const std::size_t trailing = group.TrailingStart();
            int next = -1;
            for (std::size_t k = 0; k < group.items.size(); ++k) {
                const Group::Item& item = group.items[k];
                if (item.child < 0) {
                    Push(SgfEvent::kProperty, item.id, item.value);
                } else if (k == trailing) {
                    next = item.child;
                } else {
                    doc_.droppedVariations += Lines(item.child);
                }
            }
            line = next;
        }
        // A text that ends inside a variation leaves that diagram open.
        if (closed || close) Push(SgfEvent::kCloseVariation);
    }

    // Number of distinct lines in the subtree of g (its continuations are part of its line).
    int Lines(int g) const {
        int count = 1;
        std::vector<int> stack{g};
        while (!stack.empty()) {
            const Group& group = groups_[stack.back()];
            stack.pop_back();
            const std::size_t trailing = group.TrailingStart();
            for (std::size_t k = 0; k < group.items.size(); ++k) {
                if (group.items[k].child < 0) continue;
                if (k != trailing) ++count;
                stack.push_back(group.items[k].child);
            }
        }
        return count;
    }

    const std::vector<Group>& groups_;
    bool own_;
    SgfDocument& doc_;
};

std::string SizeRefusal(const std::vector<Group>& groups) {
    for (const Group::Item& item : groups[0].items) {
        if (item.child >= 0 || item.id != "SZ") continue;
        const std::size_t colon = item.value.find(':');
        const bool square = colon == std::string::npos ||
                            AtoI(std::string_view(item.value).substr(colon + 1)) == 19;
        if (AtoI(item.value) == 19 && square) return {};
        return "19줄 바둑판의 기보만 열 수 있습니다 (이 기보는 SZ[" + item.value + "]).";
    }
    return {};
}

void SplitPlayer(const std::string& value, std::string& name, std::string& second,
                 std::string& rank) {
    const std::size_t first = value.find(':');
    if (first == std::string::npos) {
        name = value;
        second = value;
        rank = "9단";
        return;
    }
    name = value.substr(0, first);
    const std::size_t next = value.find(':', first + 1);
    if (next == std::string::npos) {
        rank = value.substr(first + 1);
    } else {
        second = value.substr(first + 1, next - first - 1);
        rank = value.substr(next + 1);
    }
}

}  // namespace

std::string DecodeRecordBytes(std::string_view bytes) {
    const std::string charset = CharsetOf(bytes);
    std::optional<std::string> text;
    if (!charset.empty()) text = DecodeText(bytes, charset);
    if (!text && IsValidUtf8(bytes)) text = std::string(bytes);
    if (!text) text = DecodeText(bytes, "CP949");
    if (!text) text = DecodeLossy(bytes);
    std::string_view view = *text;
    if (view.substr(0, kBom.size()) == kBom) view.remove_prefix(kBom.size());
    return NormaliseLineEnds(view);
}

std::optional<std::string> ReadRecordFile(const std::string& path) {
    // A folder opens as a stream that reads nothing; it is no empty record.
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return DecodeRecordBytes(bytes.str());
}

SgfDocument ParseSgfText(std::string_view text) {
    SgfDocument doc;
    const std::size_t first = text.find('(');
    if (first == std::string_view::npos) return doc;
    TreeBuilder builder(text);
    builder.Build(first + 1);
    doc.refusal = SizeRefusal(builder.Groups());
    if (!doc.refusal.empty()) return doc;
    const bool own =
        text.substr(first, kOwnHeader.size()) == kOwnHeader && !builder.SawWhiteSpace();
    Flattener(builder.Groups(), own, doc).Main(0);
    // The stones follow the handicap the game information ends with (the last HA read), so
    // that the record written from it places the same stones again.
    for (const SgfEvent& event : doc.events) {
        if (event.kind != SgfEvent::kProperty || event.id != "HA") continue;
        if (const int n = AtoI(event.value); n >= 0) doc.handicap = n;
    }
    return doc;
}

int AtoI(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) break;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

int SgfCoordinate(char letter) {
    if (letter >= 'a' && letter <= 's') return letter - 'a' + 1;
    return letter == 'z' ? -10 : 0;
}

void SgfPointOf(std::string_view value, int& x, int& y) {
    x = value.size() > 0 ? SgfCoordinate(value[0]) : 0;
    y = value.size() > 1 ? SgfCoordinate(value[1]) : 0;
}

bool ApplyGameInfoProperty(GameInfo& info, const std::string& id, const std::string& value) {
    if (id == "PB") {
        SplitPlayer(value, info.blackName, info.blackSecondText, info.blackRank);
    } else if (id == "PW") {
        SplitPlayer(value, info.whiteName, info.whiteSecondText, info.whiteRank);
    } else if (id == "PC") {
        info.place = value;
    } else if (id == "RE") {
        info.result = value;
    } else if (id == "GN" || id == "EV") {
        info.gameName = value;
    } else if (id == "DT") {
        const std::size_t first = value.find('-');
        const std::size_t second = first == std::string::npos ? first : value.find('-', first + 1);
        info.year = first == std::string::npos ? std::string() : value.substr(0, first);
        if (second == std::string::npos) {
            info.month.clear();
            info.day = value;
        } else {
            info.month = value.substr(first + 1, second - first - 1);
            info.day = value.substr(second + 1);
        }
    } else if (id == "KM") {
        info.komiText = value;
    } else if (id == "HA") {
        const int n = AtoI(value);
        if (n == 0) info.handicapText = "호선";
        if (n == 1) info.handicapText = "정선";
        if (n >= 2) info.handicapText = std::to_string(n) + "점접바둑";
    } else if (id == "TM") {
        const int s = AtoI(value);
        info.mainTimeHours = std::to_string(s / 3600);
        info.mainTimeMinutes = std::to_string(s % 3600 / 60);
        info.mainTimeSeconds = std::to_string(s % 60);
    } else if (id == "OT") {
        const std::size_t colon = value.find(':');
        const int s = AtoI(colon == std::string::npos ? value : value.substr(colon + 1));
        info.overtimeCountText =
            colon == std::string::npos ? std::string() : value.substr(0, colon);
        info.overtimeMinutes = std::to_string(s / 60);
        info.overtimeSeconds = std::to_string(s % 60);
    } else {
        return false;
    }
    return true;
}

}  // namespace velmora
