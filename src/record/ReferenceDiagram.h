#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "platform/LocalTime.h"
#include "record/MoveRecord.h"

namespace velmora {

// Kinds of reference diagram; a cleared record's open diagram has kind −1 (read as 0).
enum DiagramKind : int {
    kDiagramReference = 0,  // 참고도
    kDiagramScene = 1,      // 장면도
    kDiagramActual = 2,     // 실전진행
    kDiagramProblem = 3,    // 문제도
    kDiagramAnswer = 4,     // 정답도
};

// A short alternative sequence attached after main-line move `base` (0: before the first move).
struct ReferenceDiagram {
    int base = 0;
    std::string text;                  // the description, possibly empty
    int kind = kDiagramReference;      // DiagramKind, or −1 after a clear
    MainLine moves;                    // diagram move number (1, 2, … from the base) → move
    std::vector<NaviStone> startList;  // marks shown at the base position, in insertion order
    // Kept properties before the first move (another program's line may open with a pass).
    std::vector<KeptProperty> startProperties;
    // A branch of another program's record: written back as it was read, without the kind
    // node that opens a diagram made here; text is then the comment of its first node.
    bool asRead = false;
    // A branch of another diagram: the key of the diagram it branches from and that diagram's
    // move number after which it goes its own way (its moves up to there are the parent's);
    // empty and 0 for a diagram of the main line.
    std::string parent;
    int branchMove = 0;
    // Of a diagram of the main line: how many nodes without a move that follow its base move
    // stand before the point it branches at (another program's file may branch before them);
    // −1 after all of them.
    int branchNode = -1;
};

// Names a stored diagram: local hour, minute, second, millisecond and a run-wide counter.
using DiagramKey = std::string;

// The diagram being entered or viewed; base −1 when none is open, key empty until it is
// opened from a stored diagram.
struct OpenDiagram : ReferenceDiagram {
    OpenDiagram() { base = -1; }
    DiagramKey key;
};

// Stored diagrams in byte-wise key order.
using StoredDiagrams = std::map<DiagramKey, ReferenceDiagram>;

// The word of a kind: "장면도", "실전진행", "문제도", "정답도", and "참고도" for every other value.
std::string KindWord(int kind);

// The kind named in word: the first of "장면도", "실전진행", "문제도", "정답도" it contains, else 0.
int KindFromWord(const std::string& word);

// text with every "<kind word>-" prefix of the five kinds removed, wherever it stands.
std::string WithoutKindPrefixes(const std::string& text);

// The diagram comment: text without any "<kind word>-" prefix, led by KindWord(kind) + "-";
// empty when nothing is left.
std::string DiagramComment(int kind, const std::string& text);

// A reference list's entry for a diagram: "[12수 참고도]" from its base and kind, then the
// entry's 1-based position in the list: "[12수 참고도] 1"; a branch of another diagram (nested)
// says at which of that one's moves it branches: "[12수 참고도 3수에서 갈림] 2".
std::string DiagramEntryLabel(const ReferenceDiagram& diagram, int position, bool nested = false);

// The record's equality of diagrams (storing an equal one again gives "same"): base, text and
// kind equal, start lists and kept start properties equal entry by entry, moves equal move by
// move (MoveRecordsEqual), and both made here or both read as another program's branch.
bool DiagramsEqual(const ReferenceDiagram& a, const ReferenceDiagram& b);

// A hash that DiagramsEqual diagrams share: of base, kind, text and each move's point and colour.
std::size_t DiagramHash(const ReferenceDiagram& diagram);

// A new key from time t: the hour, minute and second in two digits each, the millisecond in
// three, then the counter in ten, which starts at 0 with the program and grows with every key
// made. Fixed widths make key order the order of making, which a save writes diagrams in.
DiagramKey MakeDiagramKey(const LocalTime& t);
// A new key from the local time now.
DiagramKey MakeDiagramKey();

}  // namespace velmora
