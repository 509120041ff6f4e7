#pragma once

#include <optional>
#include <string>

#include "game/BoardLogic.h"
#include "record/GameInfo.h"
#include "record/SgfReader.h"
#include "record/SgfStories.h"

namespace velmora {

// What became of a read.
struct SgfReadResult {
    bool ok = true;        // false: the file could not be read or was refused; nothing changed
    std::string message;   // for the user: why it was refused, or what to know about the read
    int refusedMoves = 0;  // moves the rules refused (occupied points, suicides), kept not played
    int games = 1;         // game trees in the file; one of them is read
    int passes = 0;        // passes (B[], B[tt]): moves without a stone
    int leftOutLines = 0;  // branch lines left out of a tree too large to read whole
};

// The application's record file: the GameInfo, the link to the board whose record is read into
// and written out, and reading and writing. Reading replays every move through the board, so
// every position has been judged by its rules.
class SgfFile {
  public:
    GameInfo& Info() { return info_; }
    const GameInfo& Info() const { return info_; }

    // Links the board (not owned) whose record is read and written; null for none.
    void SetBoard(BoardLogic* board) { board_ = board; }
    BoardLogic* Board() const { return board_; }
    // Where HI stories of a read go (not owned); null drops them.
    void SetStorySink(StorySink* sink) { sink_ = sink; }

    // A file read, decoded and taken apart before anything is changed for it: the document,
    // or the one line that says why it cannot be opened (unreadable, no SGF record, a board
    // not square or not of 2 to 25 lines); a decoding's notice (broken UTF-8) rides in the
    // document.
    struct Loaded {
        SgfDocument document;
        std::string refusal;
    };
    // game picks the file's game tree (1-based); one out of range is refused.
    static Loaded Load(const std::string& path, int game = 1);
    // Load of the text ReadRecordFile gave for path (nullopt: unreadable) and its notice, for a
    // caller that has read the file already.
    static Loaded FromText(const std::string& path, const std::optional<std::string>& text, std::string notice,
                           int game);
    // Opens a document on the linked board: refuses it with nothing changed (see Load), or
    // resets the board, places its start position (its set-up stones, else HA's handicap
    // stones), replays it and shows the end of the main line.
    SgfReadResult OpenDocument(const SgfDocument& doc);
    // OpenDocument of a record text.
    SgfReadResult OpenText(const std::string& text);
    // OpenDocument of game number game of the file at path → not ok, nothing changed, when
    // Load refuses it.
    SgfReadResult Open(const std::string& path, int game = 1);

    // The plain record text (UTF-8) of GameInfo and the linked board's record.
    std::string PlainText() const;
    // The extended record text, with the story numbers stories answers.
    std::string ExtendedText(StoryQuery& stories) const;
    // Saves the plain record at path, UTF-8 with CA[UTF-8], through WriteFileSafely → false
    // when it cannot be written (why told the reason); a failed save leaves any file at path
    // as it was.
    bool WritePlainRecord(const std::string& path, std::string* why = nullptr) const;
    // Saves the extended record at path, as WritePlainRecord.
    bool WriteExtendedRecord(const std::string& path, StoryQuery& stories, std::string* why = nullptr) const;

  private:
    // Empties GameInfo and replays doc through the linked board, which the caller has reset and
    // given its start position → what the user should know.
    SgfReadResult Replay(const SgfDocument& doc);
    void Property(const std::string& id, const std::string& value);
    void PlayMove(int colour, const std::string& value);
    // Keeps a property the record has no place for where it stands (see KeptProperty).
    void Keep(const std::string& id, const std::string& value);
    void FinishVariation();
    void CloseStrayDiagram();
    // How many nodes without a move follow main-line move move (0: the root) in the record so far.
    int NodesAfter(int move) const;

    GameInfo info_;
    BoardLogic* board_ = nullptr;
    StorySink* sink_ = nullptr;
    bool inVariation_ = false;
    int refusedMoves_ = 0;
    int passes_ = 0;
    bool inRoot_ = true;        // no move and no second node read yet
    bool pendingNode_ = false;  // a node without a move began; kept properties open it
    std::vector<std::pair<int, int>> storyList_;  // (StoryIndex, move) met in the open variation
    std::vector<DiagramKey> lineKeys_;  // the key each diagram line was stored under ("" none)
    int branchParent_ = -1;             // the line the open one branches from, −1 none
    int branchMove_ = 0;                // and that line's diagram move it leaves after
};

}  // namespace velmora
