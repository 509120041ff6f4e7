#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/BoardGrid.h"
#include "record/GameInfo.h"
#include "record/GameRecord.h"
#include "record/RecordEncoding.h"

namespace velmora {

// The name the writer gives as AP (before ":" and the version) in the standard form it writes
// of another program's record; the reader takes such a record for the program's own dialect
// with every mark in the usual letters.
inline constexpr std::string_view kOwnApplication = "Velmora:";

// One step of a record as the board replays it: the program's own dialect, a flat main line
// with each reference diagram opened and closed where it belongs.
struct SgfEvent {
    enum Kind { kProperty, kOpenVariation, kCloseVariation };
    Kind kind = kProperty;
    // The property identifier (";", "(", ")" and white space removed); ";" alone starts a
    // main-line node without a move after the first node. kMoveCommentId, kKeptCommentId and
    // kBranchAsReadId (MoveRecord.h) hand over what the record keeps in fields of its own.
    std::string id;
    std::string value;  // the value with its escapes resolved
    bool operator==(const SgfEvent&) const = default;
};

// A record text taken apart, before anything is replayed.
struct SgfDocument {
    std::vector<SgfEvent> events;
    // The stones set up before move 1 (AB, AW, AE of the main line); empty when there are none.
    std::vector<SetupStone> setup;
    // The handicap the game information ends with: the last HA value that is not negative
    // (atoi rules); 0 when there is none.
    int handicap = 0;
    // Branch lines left out because all lines together grew too long (each line repeats its
    // parent line, so a branch at every level grows without bound).
    int leftOutLines = 0;
    // When the text holds several games: the text of the games before the one read (from the
    // first game's "(") and after it, each as it stands but for a CA that names an encoding
    // other than UTF-8 (a save writes the whole file in UTF-8).
    std::string earlierGames;
    std::string laterGames;
    // The number of game trees in the text; 0: it is no SGF record at all.
    int games = 0;
    // Which of them was read, 1-based.
    int game = 1;
    // Where the text ends inside a value or before the game tree's last ")", for the user: the
    // line and column (in characters) and the main-line moves read before it; empty for a
    // text that was closed.
    std::string cutNotice;
    // Another program's record, or the standard form this program writes of one (its AP): the
    // marks of its diagrams use the usual letters, and saving writes it in that form again.
    bool standardForm = false;
    // The board's number of lines (SZ; 19 when the record names none).
    int size = kDefaultBoardSize;
    // Not empty when the record is refused (a board not square or not of 2 to 25 lines);
    // nothing is to change.
    std::string refusal;
    // What the user should know of how the file's bytes were decoded (broken UTF-8); empty
    // for a text that was never bytes.
    std::string notice;
};

// The whole file at path, decoded (DecodeRecordBytes, which fills notice) → nullopt when it
// cannot be opened.
std::optional<std::string> ReadRecordFile(const std::string& path, std::string* notice = nullptr);

// The file at path read, decoded and game number game taken apart, its decoding's notice in
// the document → nullopt when it cannot be opened.
std::optional<SgfDocument> ReadSgfFile(const std::string& path, int game = 1);

// Takes a UTF-8 record text apart: game tree number game (1-based; out of 1..games: nothing
// read and refusal says why) ("(" and ";"), values between "[" and
// "]" with FF[4] escapes, identifiers between values (an empty one repeats the previous one;
// lower-case letters of old files dropped). A game tree becomes a main line (at each branch
// its first child that is no diagram made here) and one diagram per line of every other
// branch: a diagram made here where the branch opens with a node of kind and text (see
// SgfRecordText), else another program's branch kept as read. A line after the first of a
// branch says where it leaves the line it branches from (kBranchPointId). The older layout (diagrams
// inserted into the main line, their marks in 0-based letters) is read as it always was.
// Never fails; see games and refusal.
SgfDocument ParseSgfText(std::string_view text, int game = 1);

// What a chooser shows of one game of a file, read without replaying it.
struct GameSummary {
    GameInfo info;  // players, ranks, date and result as the game information has them
    int moves = 0;  // B and W nodes of the main line, passes included
};
// One summary per game tree of text, in file order; empty when it holds no SGF record.
std::vector<GameSummary> SummariseGames(std::string_view text);
// The date of info as DT says it: as read while the boxes are untouched, else from the boxes
// (year, year-month or year-month-day; the day alone when there is no year or month).
std::string GameDateText(const GameInfo& info);
// Fills the date boxes from a DT value: the first of several dates, when it is YYYY, YYYY-MM or
// YYYY-MM-DD in digits; any other value whole in day, year and month empty.
void SplitDate(std::string_view value, std::string& year, std::string& month, std::string& day);

// The largest board on which a move "tt" is a pass; on a larger board it is a point.
inline constexpr int kLargestBoardWithTtPass = 19;
// Whether a B or W value is a pass on a board of size lines: empty, or "tt" on a board of
// kLargestBoardWithTtPass lines or fewer.
bool IsPassValue(std::string_view value, int size);

// C's atoi: optional white space and sign, then digits; no digits give 0 (clamped to int).
int AtoI(std::string_view text);

// What the user reads of a text that ends inside a value (the "[" at value) or, value npos,
// before its game tree's last ")", moves main-line moves having been read.
std::string CutNotice(std::string_view text, std::size_t value, int moves);

// Why a board of SZ value (whose size, read as DeclaredBoardSize does, is size) cannot be
// opened: not square, or not of 2 to 25 lines.
std::string SizeRefusalText(const std::string& value, int size);

// The value of one coordinate letter: "a".."y" → 1..25, "z" → −10, anything else 0.
int SgfCoordinate(char letter);
// The points of a point-list value: the value itself, or every point of a rectangle "aa:cc"
// whose corners are letters of the board ("a".."y").
std::vector<std::string> SgfPointList(std::string_view value);
// The point (x, y) of a value's first two characters; a missing character gives 0.
void SgfPointOf(std::string_view value, int& x, int& y);

// Applies a game-information property (PB, PW, BR, WR, PC, RE, GN, EV, DT, KM, HA, TM, OT) to
// info → false when id is none of them, or a TM or OT value is not in seconds (another
// program's "5x30 byo-yomi"), which the caller keeps as it stands.
bool ApplyGameInfoProperty(GameInfo& info, const std::string& id, const std::string& value);

// A player's rank as the program writes it: western forms ("9d", "3k", "9p", "1d*", "2 dan",
// "5 kyu", "7段") become "9단", "3급", …; any other text is kept as written.
std::string NormalisedRank(std::string_view rank);

}  // namespace velmora
