#include "record/SgfWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <tuple>
#include <vector>

#include "platform/TextCodec.h"
#include "record/BoardGrid.h"
#include "record/RecordEncoding.h"
#include "record/SgfHandicap.h"
#include "record/SgfReader.h"

namespace velmora {

namespace {

constexpr std::string_view kHeader = ";GM[1]FF[4]SZ[19]";

// A value's text with "\" and "]" escaped, so that it reads back unchanged.
std::string Escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\\' || c == ']') out += '\\';
        out += c;
    }
    return out;
}

std::string Point(int x, int y) {
    return {SgfLetter(x), SgfLetter(y)};
}

class Writer {
  public:
    Writer(const GameInfo& info, const GameRecord* record, StoryQuery* stories)
        : info_(info),
          record_(record),
          stories_(stories),
          standard_(info.standardForm || KeepsOtherProperties()) {}

    std::string Text() {
        out_ = "(";
        out_ += kHeader;
        // The standard form names its writer, so that reading it back takes it for the own
        // dialect in the usual letters, whatever other programs' properties it keeps.
        if (standard_) Property("AP", std::string(kOwnApplication) + "1.0");
        Header();
        Kept(info_.otherProperties);
        if (record_) {
            StartPosition();
            Commentary(record_->OpeningCommentary());
            MainLineMarks(record_->MainLineMarks(0));
            Kept(record_->OpeningProperties());
            Body();
        }
        out_ += ")";
        out_ += info_.laterGames;
        return std::move(out_);
    }

  private:
    void Property(const char* id, const std::string& value) {
        out_ += id;
        out_ += '[';
        out_ += Escaped(value);
        out_ += ']';
    }

    void Header() {
        const GameInfo& g = info_;
        Player("PB", "BR", g.blackName, g.blackSecondText, g.blackRank, g.blackRankAsRead,
               g.blackNameAlone);
        Player("PW", "WR", g.whiteName, g.whiteSecondText, g.whiteRank, g.whiteRankAsRead,
               g.whiteNameAlone);
        if (!g.result.empty()) Property("RE", g.result);
        // A time given in minutes or seconds alone is a time too.
        if (!g.mainTimeHours.empty() || !g.mainTimeMinutes.empty() || !g.mainTimeSeconds.empty()) {
            const long long s = AtoI(g.mainTimeHours) * 3600LL + AtoI(g.mainTimeMinutes) * 60LL +
                                AtoI(g.mainTimeSeconds);
            Property("TM", std::to_string(s));
        }
        if (!g.overtimeMinutes.empty() || !g.overtimeSeconds.empty()) {
            const long long s = AtoI(g.overtimeMinutes) * 60LL + AtoI(g.overtimeSeconds);
            Property("OT", g.overtimeCountText + ":" + std::to_string(s));
        }
        if (!g.year.empty()) {
            Property("DT", g.year + "-" + g.month + "-" + g.day);
        } else if (!g.day.empty() && g.month.empty()) {
            Property("DT", g.day);  // a date kept whole as it was read
        }
        if (!g.komiText.empty()) Property("KM", g.komiText);
        if (!g.handicapText.empty()) Property("HA", std::to_string(Handicap()));
        if (!g.gameName.empty()) Property("GN", g.gameName);
        if (!g.event.empty()) Property("EV", g.event);
        if (!g.place.empty()) Property("PC", g.place);
    }

    void Player(const char* id, const char* rankId, const std::string& name,
                const std::string& second, const std::string& rank, const std::string& rankAsRead,
                bool alone) {
        if (name.empty()) return;
        if (!alone) return Property(id, name + ":" + second + ":" + rank);
        // Other programs take every ":" for part of the name, and read their own rank words:
        // the file's words come back while the rank still says the same.
        Property(id, name);
        if (!rankAsRead.empty() && NormalisedRank(rankAsRead) == rank)
            return Property(rankId, rankAsRead);
        if (!rank.empty()) Property(rankId, rank);
    }

    int Handicap() const {
        const std::string& text = info_.handicapText;
        if (text.empty() || text == "호선") return 0;
        return text == "정선" ? 1 : AtoI(text);
    }

    // The stones before move 1. The own dialect leaves HA's table stones to HA; other programs
    // place only what AB names.
    void StartPosition() {
        const std::vector<SetupStone>& start = record_->StartPosition();
        std::vector<SetupStone> table;
        for (const GridPoint& p : HandicapTable(Handicap())) table.push_back({p.x, p.y, kBlack});
        const auto order = [](const SetupStone& a, const SetupStone& b) {
            return std::tie(a.x, a.y, a.colour) < std::tie(b.x, b.y, b.colour);
        };
        std::vector<SetupStone> sorted = start;
        std::sort(sorted.begin(), sorted.end(), order);
        std::sort(table.begin(), table.end(), order);
        if (!standard_ && sorted == table) return;
        for (const auto& [colour, id] : {std::pair{kBlack, "AB"}, std::pair{kWhite, "AW"}}) {
            bool first = true;
            for (const SetupStone& s : start) {
                if (s.colour != colour) continue;
                if (first) out_ += id;
                first = false;
                out_ += "[" + Point(s.x, s.y) + "]";
            }
        }
    }

    void Body() {
        std::map<int, std::vector<const std::pair<const DiagramKey, ReferenceDiagram>*>> byBase;
        for (const auto& entry : record_->StoredDiagramMap())
            byBase[entry.second.base].push_back(&entry);
        const int length = record_->MainLineLength();
        const MainLine& line = record_->MainLineMoves();
        for (int i = 0; i <= length; ++i) {
            if (const auto move = line.find(i); move != line.end()) {
                Move(move->second);
                Commentary(move->second.text);
                Stories(i, i, {});
                MainLineMarks(move->second.naviStones);
                Kept(move->second.properties);
            }
            if (const auto diagrams = byBase.find(i); diagrams != byBase.end())
                for (const auto* entry : diagrams->second) Diagram(i, entry->first, entry->second);
        }
    }

    void Diagram(int base, const DiagramKey& key, const ReferenceDiagram& diagram) {
        out_ += '(';
        Commentary(DiagramComment(diagram.kind, diagram.text));
        NaviStones(diagram.startList);
        if (!diagram.startList.empty()) Stories(base, base, key);
        Kept(diagram.startProperties);
        const int count = static_cast<int>(diagram.moves.size());
        for (int j = 1; j <= count; ++j) {
            const auto move = diagram.moves.lower_bound(j);
            if (move == diagram.moves.end()) break;
            Move(move->second);
            NaviStones(move->second.naviStones);
            Stories(base, base + j, key);
            Kept(move->second.properties);
        }
        out_ += ')';
    }

    void Move(const MoveRecord& move) {
        if (move.colour == kBlack) out_ += ";B[" + Point(move.x, move.y) + "]";
        if (move.colour == kWhite) out_ += ";W[" + Point(move.x, move.y) + "]";
    }

    void Commentary(const std::string& text) {
        if (!text.empty()) Property("C", CommentaryValue(text));
    }

    void NaviStones(const std::vector<NaviStone>& stones) {
        static const std::map<int, const char*> kMarks = {
            {kNaviTriangle, "TR"}, {kNaviSquare, "SQ"}, {kNaviCircle, "CR"}, {kNaviCross, "MA"}};
        for (const NaviStone& s : stones) {
            // The own dialect's diagram letters are one line up and left of the usual ones.
            const std::string point = standard_ ? Point(s.x + 1, s.y + 1) : Point(s.x, s.y);
            if (s.underlay == kWhite) Property("AW", point);
            if (s.underlay == kBlack) Property("AB", point);
            if (const auto mark = kMarks.find(s.kind); mark != kMarks.end()) {
                out_ += mark->second;
                out_ += "[" + point + Escaped(s.text) + "]";
            } else if (s.kind >= kNaviLabelSyllable && s.kind <= kNaviLabelDigit) {
                out_ += "LB[" + point + ":" + Escaped(s.text) + "]";
            }
        }
    }

    // The main line's marks in the usual letters ("aa" the first point), one identifier a
    // kind with all its points, as other programs read them.
    void MainLineMarks(const std::vector<NaviStone>& stones) {
        static const std::pair<int, const char*> kMarks[] = {
            {kNaviTriangle, "TR"}, {kNaviSquare, "SQ"}, {kNaviCircle, "CR"}, {kNaviCross, "MA"}};
        const auto points = [&](const char* id, auto chosen) {
            bool first = true;
            for (const NaviStone& s : stones) {
                if (!chosen(s)) continue;
                if (first) out_ += id;
                first = false;
                out_ += "[" + Point(s.x + 1, s.y + 1);
                if (s.kind >= kNaviLabelSyllable && s.kind <= kNaviLabelDigit)
                    out_ += ":" + Escaped(s.text);
                out_ += "]";
            }
        };
        points("AB", [](const NaviStone& s) { return s.underlay == kBlack; });
        points("AW", [](const NaviStone& s) { return s.underlay == kWhite; });
        for (const auto& mark : kMarks)
            points(mark.second, [&mark](const NaviStone& s) { return s.kind == mark.first; });
        points("LB", [](const NaviStone& s) {
            return s.kind >= kNaviLabelSyllable && s.kind <= kNaviLabelDigit;
        });
    }

    // Kept properties as they were read; a run of one identifier shares it.
    void Kept(const std::vector<KeptProperty>& properties) {
        const std::string* previous = nullptr;
        for (const KeptProperty& p : properties) {
            if (p.id == ";") {
                out_ += ';';
                previous = nullptr;
                continue;
            }
            if (!previous || *previous != p.id) out_ += p.id;
            out_ += "[" + Escaped(p.value) + "]";
            previous = &p.id;
        }
    }

    bool KeepsOtherProperties() const {
        if (!info_.event.empty() || !info_.otherProperties.empty()) return true;
        if (info_.blackNameAlone || info_.whiteNameAlone) return true;
        if (!record_) return false;
        if (!record_->OpeningProperties().empty()) return true;
        for (const auto& [n, move] : record_->MainLineMoves())
            if (!move.properties.empty()) return true;
        for (const auto& [key, diagram] : record_->StoredDiagramMap()) {
            if (!diagram.startProperties.empty()) return true;
            for (const auto& [n, move] : diagram.moves)
                if (!move.properties.empty()) return true;
        }
        return false;
    }

    void Stories(int moveNumber, int boardIndex, const DiagramKey& name) {
        if (!stories_) return;
        while (const int n = stories_->NextStoryNumber(moveNumber, boardIndex, name))
            Property("HI", std::to_string(n));
    }

    const GameInfo& info_;
    const GameRecord* record_;
    StoryQuery* stories_;
    bool standard_;  // the form other programs read: see SgfRecordText
    std::string out_;
};

}  // namespace

char SgfLetter(int coordinate) {
    if (coordinate == 0) return '`';
    if (coordinate < 0 || coordinate > 19) return 'z';
    return static_cast<char>('a' + coordinate - 1);
}

std::string SgfRecordText(const GameInfo& info, const GameRecord* record, StoryQuery* stories) {
    return Writer(info, record, stories).Text();
}

std::string CommentaryValue(const std::string& text) {
    // Readers without escapes take brackets and parentheses in a comment for structure.
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '(':
                out += "（";
                break;
            case ')':
                out += "）";
                break;
            case '[':
                out += "［";
                break;
            case ']':
                out += "］";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string SgfRecordBytes(const std::string& text) {
    // Bytes without CA are told apart by guessing: Japanese or Chinese text in CP949 can read
    // back as GB18030 or EUC-JP. CP949 only when it decodes back to the same text.
    if (std::optional<std::string> cp949 = EncodeText(text, "CP949");
        cp949 && DecodeRecordBytes(*cp949) == DecodeRecordBytes(text))
        return *cp949;
    const std::size_t at = text.find(kHeader);
    if (at == std::string::npos) return text;
    return text.substr(0, at + kHeader.size()) + "CA[UTF-8]" + text.substr(at + kHeader.size());
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return false;
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat old {};
    mode_t mode;
    if (stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = fchmod(fd, mode) == 0;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) unlink(temp.c_str());
    return ok;
}

}  // namespace velmora
