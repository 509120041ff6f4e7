#include "record/SgfWriter.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "record/BoardGrid.h"
#include "record/SgfHandicap.h"
#include "record/SgfReader.h"

namespace velmora {

namespace {

// UTF-8, declared: every reader then takes the texts as they were written. (The older writer
// opened with ";GM[1]FF[4]SZ[19]", which the reader tells its layout by.)
constexpr std::string_view kHeader = ";GM[1]FF[4]CA[UTF-8]";

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

std::string PointText(int x, int y, int size) {
    return {SgfLetter(x, size), SgfLetter(y, size)};
}

class Writer {
  public:
    Writer(const GameInfo& info, const GameRecord* record, StoryQuery* stories)
        : info_(info), record_(record), stories_(stories),
          size_(record ? record->BoardSize() : kDefaultBoardSize) {}

    std::string Text() {
        out_ = info_.earlierGames;
        out_ += "(";
        out_ += kHeader;
        Property("SZ", std::to_string(size_));
        Property("AP", std::string(kOwnApplication) + "1.0");
        Header();
        // The stones beside HA, before what is kept: a reader that meets PL or the like first
        // may place HA's stones itself and then find AB's points taken.
        if (record_) StartPosition();
        Kept(info_.otherProperties);
        if (record_) {
            Commentary(record_->OpeningCommentary());
            Marks(record_->MainLineMarks(0));
            Body();
        }
        out_ += ")";
        out_ += info_.laterGames;
        return std::move(out_);
    }

  private:
    std::string Point(int x, int y) const { return PointText(x, y, size_); }

    // A value already escaped, in its brackets.
    void Value(const std::string& escaped) {
        out_ += '[';
        out_ += escaped;
        out_ += ']';
    }

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
        if (const std::string date = GameDateText(g); !date.empty()) Property("DT", date);
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

    // The stones before move 1, HA's table stones too: other programs place only what AB names.
    void StartPosition() {
        // A record made here with a handicap has its stones on the board by HA's table alone.
        // Another program's file that names HA without stones was opened as written, without.
        std::vector<SetupStone> start = record_->StartPosition();
        if (start.empty() && !info_.standardForm)
            for (const GridPoint& p : HandicapTable(Handicap(), record_->BoardSize()))
                start.push_back({p.x, p.y, kBlack});
        for (const auto& [colour, id] : {std::pair{kBlack, "AB"}, std::pair{kWhite, "AW"}}) {
            bool first = true;
            for (const SetupStone& s : start) {
                if (s.colour != colour) continue;
                if (first) out_ += id;
                first = false;
                Value(Point(s.x, s.y));
            }
        }
    }

    using Entry = std::pair<const DiagramKey, ReferenceDiagram>;

    // The main line as a sequence. Where diagrams are based and the main line goes on, its
    // rest opens a variation of its own, the first child, and the diagrams follow it as
    // further children of the same node, once the rest is closed.
    void Body() {
        std::map<int, std::vector<const Entry*>> byBase;
        for (const Entry& entry : record_->StoredDiagramMap())
            if (!IsEmptyBranch(entry.second)) byBase[entry.second.base].push_back(&entry);
        const MainLine& line = record_->MainLineMoves();
        const int last = line.empty() ? 0 : line.rbegin()->first;
        const int end = std::max(last, byBase.empty() ? 0 : byBase.rbegin()->first);
        std::vector<int> pending;  // bases whose diagrams wait for the main line to close
        for (int i = 0; i <= end; ++i) {
            const auto diagrams = byBase.find(i);
            // The stories at a diagram's start are taken first: the main line's own question
            // at the same point would take them.
            if (diagrams != byBase.end())
                for (const Entry* entry : diagrams->second)
                    startStories_[entry->first] = StoryText(i, i, entry->first);
            // Another program's file may branch before the nodes without a move that follow
            // the move: the rest of the main line then opens its own variation there.
            int split = -1;
            if (diagrams != byBase.end())
                for (const Entry* entry : diagrams->second)
                    if (const int k = entry->second.branchNode; k >= 0 && (split < 0 || k < split))
                        split = k;
            bool opened = false;
            if (i == 0) {
                opened = KeptSplit(record_->OpeningProperties(), split);
            } else if (const auto move = line.find(i); move != line.end()) {
                Move(move->second);
                Commentary(move->second.text);
                Stories(i, i, {});
                Marks(move->second.naviStones);
                opened = KeptSplit(move->second.properties, split);
            }
            if (diagrams == byBase.end()) continue;
            if (i < last || opened) {
                if (!opened) out_ += '(';
                pending.push_back(i);
                continue;
            }
            // Where the main line ends, every reader takes the first child that is no
            // diagram made here for its continuation: another program's branch goes first, so
            // that the children keep their order when the file is read and written again.
            std::vector<const Entry*> children = diagrams->second;
            const auto read = std::find_if(children.begin(), children.end(),
                                           [](const Entry* e) { return e->second.asRead; });
            if (read != children.end()) std::rotate(children.begin(), read, read + 1);
            // With only diagrams made here, an empty node goes first: every reader then sees
            // the game end here, and this one reads each diagram as one.
            if (read == children.end()) out_ += "(;)";
            Diagrams(i, children);
        }
        for (auto base = pending.rbegin(); base != pending.rend(); ++base) {
            out_ += ')';
            Diagrams(*base, byBase[*base]);
        }
    }

    // Whether another program's branch has a first node of its own without a move.
    static bool HasStart(const ReferenceDiagram& d) {
        return !d.text.empty() || !d.startList.empty() ||
               std::any_of(d.startProperties.begin(), d.startProperties.end(), IsWritten);
    }

    // Another program's branch with nothing a file could hold (its moves were refused).
    static bool IsEmptyBranch(const ReferenceDiagram& d) {
        return d.asRead && d.moves.empty() && !HasStart(d);
    }

    // One step of a diagram: its start (j = 0) or its move j.
    struct Step {
        const Entry* entry;
        int j;
        const MoveRecord* move;  // null at the start
    };

    static bool SameStep(const Step& a, const Step& b) {
        if ((a.move == nullptr) != (b.move == nullptr)) return false;
        if (!a.move) {
            const ReferenceDiagram& x = a.entry->second;
            const ReferenceDiagram& y = b.entry->second;
            return x.text == y.text && x.startList == y.startList &&
                   x.startProperties == y.startProperties;
        }
        const MoveRecord& x = *a.move;
        const MoveRecord& y = *b.move;
        return x.x == y.x && x.y == y.y && x.colour == y.colour && x.text == y.text &&
               x.notPlayed == y.notPlayed && x.valueAsRead == y.valueAsRead &&
               x.naviStones == y.naviStones && x.properties == y.properties;
    }

    // The children of a base in key order. A diagram made here is a branch of its own. The
    // lines of another program's branch were read one diagram per line, each repeating the
    // line it branched from up to where it branched: they join again into the tree they came
    // from, each shared step written once, so the file's nodes and branches come back as they
    // were.
    void Diagrams(int base, const std::vector<const Entry*>& entries) {
        trie_.clear();
        std::vector<int> roots;
        std::map<DiagramKey, std::vector<int>> paths;  // the trie nodes of each diagram written
        std::set<std::string> alike;  // diagrams made here as written alone, without stories
        for (const Entry* entry : entries) {
            const ReferenceDiagram& d = entry->second;
            std::vector<Step> steps;
            const bool start = !d.asRead || HasStart(d);
            if (start) steps.push_back(Step{entry, 0, nullptr});
            int j = 0;
            for (const auto& [n, move] : d.moves) steps.push_back(Step{entry, ++j, &move});
            if (!d.asRead) {
                // Two that differ only in what no file holds would be read back as one, whether
                // written as branches or whole: the second is left out, as reading would.
                if (entries.size() > 1 && !alike.insert(Alone(base, steps)).second) continue;
                std::vector<int>& path = paths[entry->first];
                const std::size_t shared = SharedSteps(base, *entry, steps, paths);
                int after = -1;  // the trie node the diagram's own steps follow
                if (shared > 0) {
                    const std::vector<int>& parent = paths.at(d.parent);
                    path.assign(parent.begin(), parent.begin() + static_cast<long>(shared));
                    after = path.back();
                }
                for (std::size_t k = shared; k < steps.size(); ++k) {
                    const int node = static_cast<int>(trie_.size());
                    trie_.push_back(TrieNode{steps[k], {}});
                    if (after >= 0) {
                        trie_[after].children.push_back(node);
                    } else {
                        roots.push_back(node);
                    }
                    // A branch of another kind or text opens with a node that says them.
                    if (k == shared && shared > 0) {
                        const ReferenceDiagram& p = record_->StoredDiagramMap().at(d.parent);
                        trie_[node].kindNode = p.kind != d.kind || p.text != d.text;
                    }
                    path.push_back(node);
                    after = node;
                }
                continue;
            }
            // Another program's line shares the steps of the line it branched from up to
            // where it branched, as it was read; any other line is a branch of its own at the
            // base, even where its first steps look alike.
            std::vector<int>& path = paths[entry->first];
            std::size_t shared = 0;
            if (const auto parent = paths.find(d.parent);
                !d.parent.empty() && parent != paths.end() && parent->first != entry->first) {
                const std::vector<int>& from = parent->second;
                const std::size_t wanted = (start ? 1 : 0) + static_cast<std::size_t>(d.branchMove);
                if (d.branchMove >= 0 && wanted <= from.size() && wanted < steps.size()) {
                    shared = wanted;
                    for (std::size_t k = 0; k < wanted && shared > 0; ++k)
                        if (!SameStep(trie_[from[k]].step, steps[k])) shared = 0;
                }
                if (shared > 0) path.assign(from.begin(), from.begin() + static_cast<long>(shared));
            }
            int after = shared > 0 ? path.back() : -1;
            for (std::size_t k = shared; k < steps.size(); ++k) {
                const int node = static_cast<int>(trie_.size());
                trie_.push_back(TrieNode{steps[k], {}});
                (after < 0 ? roots : trie_[after].children).push_back(node);
                path.push_back(node);
                after = node;
            }
        }
        // Two diagrams that differ only in what no file holds (or in their stories) would be
        // written alike and read back as one: the second is left out, as reading would leave
        // it. Each is compared as written without stories, which are asked for only once.
        std::set<std::string> written;
        for (const int root : roots) {
            const std::size_t start = out_.size();
            if (roots.size() > 1) {
                withoutStories_ = true;
                Subtree(base, root);
                withoutStories_ = false;
                const bool again = !written.insert(out_.substr(start)).second;
                out_.resize(start);
                if (again) continue;
            }
            Subtree(base, root);
        }
    }

    // How many first steps a diagram made here shares with the one it branches from, written
    // once for both: 0 (it is written whole) unless that one is written before it at the same
    // base, the two have the same start and the same moves up to the branch, the other goes
    // on past it and no story of the branch stands on a shared step. Stories of shared moves
    // asked for on the way are kept for writing the branch whole.
    std::size_t SharedSteps(int base, const Entry& entry, const std::vector<Step>& steps,
                            const std::map<DiagramKey, std::vector<int>>& paths) {
        const ReferenceDiagram& d = entry.second;
        const auto parent = paths.find(d.parent);
        if (d.parent.empty() || parent == paths.end() || parent->first == entry.first) return 0;
        const std::vector<int>& path = parent->second;
        const std::size_t wanted = static_cast<std::size_t>(d.branchMove) + 1;  // start too
        if (d.branchMove < 0 || wanted >= path.size() || wanted >= steps.size()) return 0;
        const ReferenceDiagram& p = trie_[path.front()].step.entry->second;
        if (p.startList != d.startList || p.startProperties != d.startProperties) return 0;
        if (const auto own = startStories_.find(entry.first);
            own != startStories_.end() && !own->second.empty())
            return 0;
        bool stories = false;
        for (std::size_t k = 1; k < wanted; ++k) {
            if (!SameStep(trie_[path[k]].step, steps[k])) return 0;
            std::string text = StoryText(base, base + static_cast<int>(k), entry.first);
            stories = stories || !text.empty();
            keptStories_[{entry.first, static_cast<int>(k)}] = std::move(text);
        }
        return stories ? 0 : wanted;
    }

    // The steps of a diagram as one line of nodes, without stories.
    std::string Alone(int base, const std::vector<Step>& steps) {
        std::string line;
        std::swap(line, out_);
        withoutStories_ = true;
        for (const Step& step : steps) WriteStep(base, step);
        withoutStories_ = false;
        std::swap(line, out_);
        return line;
    }

    // A node of the trie: a branch's node of kind and text when it has one, then its step.
    void WriteNode(int base, int n) {
        if (trie_[n].kindNode) {
            const ReferenceDiagram& d = trie_[n].step.entry->second;
            const std::string comment = DiagramComment(d.kind, d.text);
            out_ += ';';
            Property("C", comment.empty() ? KindWord(d.kind) + "-" : comment);
        }
        WriteStep(base, trie_[n].step);
    }

    // Writes the branch from trie node n, a variation for each fork; walked with a stack of
    // its own, as a read line may be longer than the call stack allows.
    void Subtree(int base, int n) {
        out_ += '(';
        WriteNode(base, n);
        std::vector<std::pair<int, std::size_t>> stack{{n, 0}};  // node, next child
        while (!stack.empty()) {
            auto& [node, next] = stack.back();
            const std::vector<int>& children = trie_[node].children;
            if (children.size() == 1) {
                node = children.front();
                WriteNode(base, node);
            } else if (next < children.size()) {
                const int child = children[next++];
                out_ += '(';
                WriteNode(base, child);
                stack.emplace_back(child, 0);
            } else {
                out_ += ')';
                stack.pop_back();
            }
        }
    }

    void WriteStep(int base, const Step& step) {
        const DiagramKey& key = step.entry->first;
        const ReferenceDiagram& diagram = step.entry->second;
        if (!step.move) {
            // A diagram made here opens with a node of its kind and text, which tells the
            // reader it is one; another program's branch keeps its first node's comment.
            // A branch that opens with a pass has its node among the kept properties.
            // (What no file can hold before that node does not count.)
            const auto stories = startStories_.find(key);
            const auto first = std::find_if(
                diagram.startProperties.begin(), diagram.startProperties.end(),
                [](const KeptProperty& p) { return p.id == ";" || IsWritten(p); });
            const bool keptNode =
                diagram.asRead && diagram.text.empty() && diagram.startList.empty() &&
                first != diagram.startProperties.end() && first->id == ";" &&
                (withoutStories_ || stories == startStories_.end() || stories->second.empty());
            if (!keptNode) out_ += ';';
            if (diagram.asRead) {
                Commentary(diagram.text);
            } else {
                const std::string comment = DiagramComment(diagram.kind, diagram.text);
                Property("C", comment.empty() ? KindWord(diagram.kind) + "-" : comment);
            }
            Marks(diagram.startList);
            if (stories != startStories_.end() && !withoutStories_) out_ += stories->second;
            Kept(diagram.startProperties);
            return;
        }
        Move(*step.move);
        Commentary(step.move->text);
        Marks(step.move->naviStones);
        if (const auto kept = keptStories_.find({key, step.j}); kept != keptStories_.end()) {
            if (!withoutStories_) {
                out_ += kept->second;
                keptStories_.erase(kept);
            }
        } else {
            Stories(base, base + step.j, key);
        }
        Kept(step.move->properties);
    }

    void Move(const MoveRecord& move) {
        if (move.colour != kBlack && move.colour != kWhite) return;
        out_ += move.colour == kBlack ? ";B" : ";W";
        // A pass is written empty, as FF[4] has it; a move not played stands as it was read.
        if (IsPassMove(move)) return Value({});
        Value(move.valueAsRead.empty() ? Point(move.x, move.y) : Escaped(move.valueAsRead));
    }

    void Commentary(const std::string& text) {
        if (!text.empty()) Property("C", text);
    }

    // Marks and a diagram's set-up stones in the usual letters ("aa" the first point; marks
    // hold 0-based points), each identifier once a node with all its points, as FF[4] has it.
    void Marks(const std::vector<NaviStone>& stones) {
        static const std::pair<int, const char*> kMarks[] = {
            {kNaviTriangle, "TR"}, {kNaviSquare, "SQ"}, {kNaviCircle, "CR"}, {kNaviCross, "MA"}};
        const auto points = [&](const char* id, auto chosen) {
            bool first = true;
            for (const NaviStone& s : stones) {
                if (!chosen(s)) continue;
                if (first) out_ += id;
                first = false;
                std::string value = Point(s.x + 1, s.y + 1);
                if (s.kind >= kNaviLabelSyllable && s.kind <= kNaviLabelDigit)
                    value += ':' + Escaped(s.text);
                Value(value);
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

    // Whether a kept property is written: a name that is no FF[4] identifier (capital letters
    // only: "tt" of a broken file) no reader could take.
    static bool IsWritten(const KeptProperty& p) {
        return !p.id.empty() &&
               std::all_of(p.id.begin(), p.id.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    }

    // Kept properties as they were read (IsWritten); a run of one identifier shares it. A node
    // left with nothing in it would not read back.
    // Kept, with "(" opened before node split + 1 of those that begin within properties when
    // one does and something written follows it → whether "(" was opened.
    bool KeptSplit(const std::vector<KeptProperty>& properties, int split) {
        auto cut = properties.end();
        int nodes = 0;
        for (auto p = properties.begin(); split >= 0 && p != properties.end(); ++p)
            if (p->id == ";" && nodes++ == split) {
                cut = p;
                break;
            }
        if (cut == properties.end() || std::none_of(cut, properties.end(), IsWritten)) {
            Kept(properties);
            return false;
        }
        Kept({properties.begin(), cut});
        out_ += '(';
        Kept({cut, properties.end()});
        return true;
    }

    void Kept(const std::vector<KeptProperty>& properties) {
        const std::string* previous = nullptr;
        bool node = false;  // a node of its own begins before the next property
        for (const KeptProperty& p : properties) {
            if (p.id == ";") {
                node = true;
                previous = nullptr;
                continue;
            }
            if (!IsWritten(p)) continue;
            if (node) out_ += ';';
            node = false;
            if (!previous || *previous != p.id) out_ += p.id;
            Value(Escaped(p.value));
            previous = &p.id;
        }
    }

    void Stories(int moveNumber, int boardIndex, const DiagramKey& name) {
        out_ += StoryText(moveNumber, boardIndex, name);
    }

    std::string StoryText(int moveNumber, int boardIndex, const DiagramKey& name) {
        std::string text;
        if (!stories_ || withoutStories_) return text;
        // One HI with every story of the place as its values.
        while (const std::optional<int> n = stories_->NextStoryNumber(moveNumber, boardIndex, name)) {
            text += text.empty() ? "HI[" : "[";
            text += std::to_string(*n);
            text += ']';
        }
        return text;
    }

    const GameInfo& info_;
    const GameRecord* record_;
    StoryQuery* stories_;
    int size_;
    std::string out_;
    struct TrieNode {
        Step step;
        std::vector<int> children;
        bool kindNode = false;  // a branch of a diagram made here of its own kind or text
    };
    // Stories of a branch's moves asked for while finding what it shares, by (key, move).
    std::map<std::pair<DiagramKey, int>, std::string> keptStories_;
    std::vector<TrieNode> trie_;                      // the children of one base
    std::map<DiagramKey, std::string> startStories_;  // HI text of each diagram's start
    bool withoutStories_ = false;  // writing a diagram only to compare it with another
};

}  // namespace

char SgfLetter(int coordinate, int size) {
    if (coordinate == 0) return '`';
    if (coordinate < 0 || coordinate > size) return 'z';
    return static_cast<char>('a' + coordinate - 1);
}

std::string SgfRecordText(const GameInfo& info, const GameRecord* record, StoryQuery* stories) {
    return Writer(info, record, stories).Text();
}

}  // namespace velmora
