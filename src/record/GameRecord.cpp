#include "record/GameRecord.h"

#include <algorithm>
#include <new>

#include "record/RecordNotifier.h"

namespace velmora {

namespace {

// Stores a copy under key, or reports `failure` and leaves the map as it was.
template <class Map, class Key, class Value>
bool StoreCopy(Map& map, const Key& key, const Value& value, const char* failure) {
    try {
        Value copy = value;
        map.insert_or_assign(key, std::move(copy));
        return true;
    } catch (const std::bad_alloc&) {
        NotifyRecord(failure);
        return false;
    }
}

// The first mark of list at (x, y), or list.end().
template <class List>
auto FindMark(List& list, int x, int y) {
    return std::find_if(list.begin(), list.end(),
                        [x, y](const NaviStone& s) { return s.x == x && s.y == y; });
}

// A second comment for one place after the first, so neither is lost.
// The same stone on the same point: what a branch shares with the line it leaves.
bool SameMove(const MoveRecord& a, const MoveRecord& b) {
    return a.x == b.x && a.y == b.y && a.colour == b.colour;
}

// How many first moves (1, 2, …) the two lines share.
int SharedMoves(const MainLine& a, const MainLine& b) {
    int k = 0;
    for (const auto& [n, move] : a) {
        const auto other = b.find(n);
        if (n != k + 1 || other == b.end() || !SameMove(other->second, move)) break;
        ++k;
    }
    return k;
}

std::string Joined(const std::string& had, const std::string& more) {
    return had.empty() ? more : had + "\n" + more;
}

}  // namespace

// --- main line ---

void GameRecord::AddMainLineMove(int n, const MoveRecord& move) {
    StoreCopy(mainLine_, n, move, "수를 기록하지 못했습니다: 메모리가 부족합니다.");
}

std::optional<MoveRecord> GameRecord::GetMainLineMove(int n) const {
    const auto it = mainLine_.find(n);
    if (it == mainLine_.end()) return std::nullopt;
    return it->second;
}

void GameRecord::SetCommentary(int n, const std::string& text) {
    if (n == 0) return SetOpeningCommentary(text);
    const auto it = mainLine_.find(n);
    if (it != mainLine_.end()) it->second.text = text;
}

std::string GameRecord::GetCommentary(int n) const {
    if (n == 0) return opening_;
    const auto it = mainLine_.find(n);
    return it == mainLine_.end() ? std::string() : it->second.text;
}

void GameRecord::AddMainLineMark(int n, const NaviStone& stone) {
    if (n == 0) return PlaceMark(openingMarks_, stone, true);
    if (const auto it = mainLine_.find(n); it != mainLine_.end())
        PlaceMark(it->second.naviStones, stone, true);
}

const std::vector<NaviStone>& GameRecord::MainLineMarks(int n) const {
    static const std::vector<NaviStone> kNone;
    if (n == 0) return openingMarks_;
    const auto it = mainLine_.find(n);
    return it == mainLine_.end() ? kNone : it->second.naviStones;
}

void GameRecord::AddKeptProperty(int a, const KeptProperty& property) {
    if (property.id == kBranchAsReadId) {
        if (open_.base >= 0) open_.asRead = true;
        return;
    }
    if (property.id == kKeptCommentId)
        return AddKeptProperty(a, KeptProperty{"C", property.value});
    const bool comment = property.id == kMoveCommentId;
    MainLine* line = &mainLine_;
    int n = a;
    if (open_.base >= 0) {
        line = &open_.moves;
        n = Offset(a);
        // A comment with no move before it (the line's first move was refused) goes with the
        // start: another program's branch has its first comment there; a diagram made here
        // keeps it as a property, so that it is written back all the same.
        if (n == 0 && comment && open_.asRead) {
            open_.text = Joined(open_.text, property.value);
        } else if (n == 0) {
            open_.startProperties.push_back(comment ? KeptProperty{"C", property.value}
                                                    : property);
        }
        if (n <= 0) return;
    } else if (a == 0) {
        if (comment) return SetOpeningCommentary(Joined(opening_, property.value));
        openingProperties_.push_back(property);
        return;
    }
    const auto it = line->find(n);
    if (it == line->end()) return;
    if (comment) {
        it->second.text = Joined(it->second.text, property.value);
    } else {
        it->second.properties.push_back(property);
    }
}

const std::vector<KeptProperty>& GameRecord::NodeProperties(int a) const {
    static const std::vector<KeptProperty> kNone;
    if (open_.base < 0 || a < open_.base) {
        if (a == 0) return openingProperties_;
        const auto it = mainLine_.find(a);
        return it == mainLine_.end() ? kNone : it->second.properties;
    }
    const int b = Offset(a);
    if (b == 0) return open_.startProperties;
    const auto it = open_.moves.find(b);
    return it == open_.moves.end() ? kNone : it->second.properties;
}

void GameRecord::CutMainLine(int n) {
    mainLine_.erase(mainLine_.lower_bound(n), mainLine_.end());
    std::erase_if(stored_, [n](const auto& entry) { return entry.second.base >= n; });
    keysByHashValid_ = false;
}

void GameRecord::SetStartStone(const SetupStone& stone) {
    std::erase_if(start_, [&](const SetupStone& s) { return s.x == stone.x && s.y == stone.y; });
    if (stone.colour == 1 || stone.colour == 2) start_.push_back(stone);
}

void GameRecord::ClearAll() {
    mainLine_.clear();
    opening_.clear();
    openingMarks_.clear();
    openingProperties_.clear();
    start_.clear();
    CloseDiagram();
    open_.kind = -1;
    stored_.clear();
    keysByHashValid_ = false;
}

// --- the open diagram ---

void GameRecord::OpenNewDiagram(int base) {
    open_.key.clear();
    open_.base = base;
    open_.moves.clear();
    open_.text.clear();
    open_.startList.clear();
    open_.startProperties.clear();
    open_.asRead = false;
    open_.parent.clear();
    open_.branchMove = 0;
    open_.branchNode = -1;
}

void GameRecord::AddDiagramMove(int n, const MoveRecord& move) {
    StoreCopy(open_.moves, n, move, "err AddReferencHistroy");
}

std::optional<MoveRecord> GameRecord::GetDiagramMove(int n) const {
    const auto it = open_.moves.find(n);
    if (it == open_.moves.end()) return std::nullopt;
    return it->second;
}

bool GameRecord::SetDiagramMoveText(int n, const std::string& text) {
    const auto it = open_.moves.find(n);
    if (it == open_.moves.end()) return false;
    it->second.text = text;
    if (const auto stored = stored_.find(open_.key); !open_.key.empty() && stored != stored_.end())
        if (const auto move = stored->second.moves.find(n); move != stored->second.moves.end()) {
            move->second.text = text;
            keysByHashValid_ = false;
        }
    return true;
}

void GameRecord::CutDiagramMoves(int n) {
    open_.moves.erase(open_.moves.lower_bound(n), open_.moves.end());
}

void GameRecord::SetKindAndText(int kind, const std::string& text) {
    open_.kind = kind >= 0 && kind <= 4 ? kind : kDiagramReference;
    open_.text = text;
}

void GameRecord::SetKindWordAndText(const std::string& word, const std::string& text) {
    SetKindAndText(KindFromWord(word), text);
}

std::string GameRecord::DisplayText() const { return DiagramComment(open_.kind, open_.text); }

// --- marks ---

const std::vector<NaviStone>* GameRecord::ListOf(int a) const {
    const int b = Offset(a);
    // A diagram based before the first move shows its start marks there too.
    if (b < 0) return nullptr;
    if (b == 0) return &open_.startList;
    const auto it = open_.moves.find(b);
    return it == open_.moves.end() ? nullptr : &it->second.naviStones;
}

std::optional<std::vector<NaviStone>> GameRecord::NaviStones(int a) const {
    // The main line's own marks show wherever no diagram's marks stand.
    if (open_.base < 0 || a < open_.base) return MainLineMarks(a);
    const std::vector<NaviStone>* list = ListOf(a);
    if (!list) return std::nullopt;
    return *list;
}

int GameRecord::NaviStoneCount(int a) const {
    const std::vector<NaviStone>* list = ListOf(a);
    return list ? static_cast<int>(list->size()) : 0;
}

bool GameRecord::HasNaviStoneAt(int a, int x, int y) const {
    const std::vector<NaviStone>* list = ListOf(a);
    return list && FindMark(*list, x, y) != list->end();
}

std::vector<NaviStone>* GameRecord::EditedList(int a) {
    const int b = Offset(a);
    if (open_.moves.empty() || b == 0) return &open_.startList;
    const auto it = open_.moves.find(b);
    return it == open_.moves.end() ? nullptr : &it->second.naviStones;
}

bool GameRecord::RemoveNaviStone(int a, int x, int y) {
    std::vector<NaviStone>* list = EditedList(a);
    if (!list) return false;
    const auto it = FindMark(*list, x, y);
    if (it == list->end()) return false;
    list->erase(it);
    return true;
}

bool GameRecord::SetNaviStone(int a, const NaviStone& stone) {
    if (open_.base < 0 || a < open_.base) OpenNewDiagram(a);
    std::vector<NaviStone>* list = EditedList(a);
    if (!list) return false;
    PlaceMark(*list, stone, false);
    return true;
}

void GameRecord::AddNaviStone(int a, const NaviStone& stone) {
    if (open_.base < 0) OpenNewDiagram(a);
    const int b = Offset(a);
    if (open_.moves.empty() || b == 0) PlaceMark(open_.startList, stone, true);
    const auto it = open_.moves.find(b);
    if (it != open_.moves.end()) PlaceMark(it->second.naviStones, stone, true);
}

// --- stored diagrams ---

std::string GameRecord::StoreAsNew() {
    if (open_.base < 0) return {};
    // Only a diagram of the same hash can be equal: a record read from a large tree stores
    // thousands, and looking through all of them for each would take seconds.
    if (!keysByHashValid_) {
        keysByHash_.clear();
        for (const auto& [key, diagram] : stored_) keysByHash_.emplace(DiagramHash(diagram), key);
        keysByHashValid_ = true;
    }
    const std::size_t hash = DiagramHash(open_);
    const auto [first, last] = keysByHash_.equal_range(hash);
    for (auto it = first; it != last; ++it)
        if (DiagramsEqual(open_, stored_.at(it->second))) return "same";
    // Keys are concatenated numbers, so two different times can spell the same key; never
    // let such a clash drop a diagram.
    DiagramKey key = MakeDiagramKey();
    while (stored_.contains(key)) key = MakeDiagramKey();
    ReferenceDiagram diagram = open_;
    KeepBranchIfShared(diagram);
    // A diagram opened from a stored one and played on from one of its moves branches there.
    if (const auto from = stored_.find(open_.key); from != stored_.end()) {
        const int k = SharedMoves(from->second.moves, open_.moves);
        if (k >= 1 && k < static_cast<int>(open_.moves.size())) {
            diagram.parent = open_.key;
            diagram.branchMove = k;
        }
    }
    if (!StoreCopy(stored_, key, diagram, "참고도를 저장하지 못했습니다: 메모리가 부족합니다.")) return {};
    keysByHash_.emplace(hash, key);
    return key;
}

bool GameRecord::OpenStoredDiagram(const DiagramKey& key) {
    const auto it = stored_.find(key);
    if (it == stored_.end()) return false;
    OpenDiagramCopy(key, it->second);
    return true;
}

void GameRecord::OpenDiagramCopy(const DiagramKey& key, const ReferenceDiagram& source) {
    open_.base = source.base;
    open_.text = source.text;
    open_.kind = source.kind;
    open_.moves.clear();
    for (const auto& [n, move] : source.moves) AddDiagramMove(n, move);
    open_.startList = source.startList;
    open_.startProperties = source.startProperties;
    open_.asRead = source.asRead;
    open_.parent = source.parent;
    open_.branchMove = source.branchMove;
    open_.branchNode = source.branchNode;
    open_.key = key;
}

void GameRecord::EraseStoredDiagram(const DiagramKey& key) {
    stored_.erase(key);
    keysByHashValid_ = false;
}

bool GameRecord::ReplaceStoredDiagram(const DiagramKey& key, const ReferenceDiagram& diagram) {
    const auto it = stored_.find(key);
    if (it == stored_.end()) return false;
    it->second = diagram;
    KeepBranchIfShared(it->second);
    keysByHashValid_ = false;
    return true;
}

void GameRecord::KeepBranchIfShared(ReferenceDiagram& diagram) const {
    if (diagram.parent.empty()) return;
    const auto parent = stored_.find(diagram.parent);
    // Moves changed up to the branch make the diagram one of the base's own again.
    if (parent == stored_.end() || parent->second.base != diagram.base ||
        static_cast<int>(diagram.moves.size()) <= diagram.branchMove ||
        SharedMoves(parent->second.moves, diagram.moves) < diagram.branchMove) {
        diagram.parent.clear();
        diagram.branchMove = 0;
    }
}

void GameRecord::SetOpenDiagramBranch(const DiagramKey& parent, int move) {
    open_.parent = parent;
    open_.branchMove = move;
}

bool GameRecord::IsNested(const ReferenceDiagram& diagram) const {
    const auto parent = stored_.find(diagram.parent);
    return parent != stored_.end() && parent->second.base == diagram.base;
}

std::vector<std::pair<DiagramKey, ReferenceDiagram>> GameRecord::DiagramsBranchingAt(
    const DiagramKey& parent, int move) const {
    std::vector<std::pair<DiagramKey, ReferenceDiagram>> result;
    if (parent.empty()) return result;
    for (const auto& [key, diagram] : stored_)
        if (diagram.parent == parent && diagram.branchMove == move && IsNested(diagram))
            result.emplace_back(key, diagram);
    return result;
}

std::vector<std::pair<DiagramKey, ReferenceDiagram>> GameRecord::DiagramsOfBase(int base) const {
    std::vector<std::pair<DiagramKey, ReferenceDiagram>> result;
    for (const auto& [key, diagram] : stored_) {
        // A branch of another diagram is listed where it branches, while that one is open.
        if (diagram.base != base || IsNested(diagram)) continue;
        try {
            result.emplace_back(key, diagram);
        } catch (const std::bad_alloc&) {
            NotifyRecord("참고도 목록을 다 만들지 못했습니다: 메모리가 부족합니다.");
        }
    }
    return result;
}

}  // namespace velmora
