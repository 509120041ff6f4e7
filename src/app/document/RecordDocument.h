#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "record/BoardGrid.h"
#include "app/document/Recovery.h"
#include "game/SgfFile.h"

class QFileSystemWatcher;
class QTimer;

namespace velmora {

class MainWindow;

// What the unsaved record is about to give way to, for the one save-first path.
enum class GivingWay { kOpen, kNewRecord, kClose };

// The open record's files: the current path, the .sgf/.sgfx pair written together, opening
// (dialog, drop, command line, a later start's hand-over), saving, Save As and the new record,
// with one save-first question that all of them ask when the record holds unsaved work. The
// main window shows the record; it routes the file commands here.
class RecordDocument {
public:
    explicit RecordDocument(MainWindow& window);
    ~RecordDocument();

    // The record file, linked to the main board.
    SgfFile& File() { return file_; }
    // The file the record was opened from, "" for a new record.
    const std::string& CurrentPath() const { return currentPath_; }

    // The save-first path: when the record holds unsaved work, asks through the prompter the
    // question worded for what gives way, 예/아니오/취소; 예 saves (in place, Save As for a
    // record without a file) → true when the work may go (아니오, nothing unsaved, or 예 and the
    // record saved), false on 취소 or a dismissed question, or when the save did not happen.
    bool SaveFirst(GivingWay what);
    // The size of a new record's board, asked through the prompter with the last size chosen
    // suggested: the board takes it (emptied when the size changes) → false when the question
    // was cancelled, the board unchanged.
    bool ChooseBoardSize();
    // The size suggested first (from the settings at start-up); store is told of every choice.
    void SetLastBoardSize(int size, std::function<void(int)> store);

    // The open command: save-first, the open dialog, then the record → 1 when a record was
    // opened (RecordModified cleared), else 0. Every open reads the other file of the pair too:
    // x.sgf takes its stories from x.sgfx when that holds the same record, and says so when
    // it holds another.
    int OpenWithDialog();
    // Opens path (the command line, a dropped file) after save-first, RecordModified kept → 0.
    int OpenFile(const std::string& path);
    // A record the user chose outside the open dialog (handed over by a later start, the file
    // menu's list of records opened last): save-first, then path opens with RecordModified
    // cleared.
    void OpenChosen(const std::string& path);
    // A game the record library names: save-first, then game number game of path (no choice
    // asked) at move of its main line, RecordModified cleared → true when it opened.
    bool OpenGameAt(const std::string& path, int game, int move);
    // Opens the index-th record of RecentPaths as OpenChosen does; nothing for no such record.
    // A file no longer there is said to be missing and leaves the list.
    void OpenRecent(int index);
    // The records opened last, newest first, at most kRecentCount.
    const std::vector<std::string>& RecentPaths() const { return recent_; }
    // Replaces the list (from the settings at start-up), without repeats or empty paths;
    // store is told of every change after.
    void SetRecentPaths(std::vector<std::string> paths, std::function<void(const std::vector<std::string>&)> store);
    static constexpr std::size_t kRecentCount = 8;
    // Writes the record to the current path (Save As without one), and the extended record
    // beside it when stories exist or that file exists (the pair is written together, and a
    // twin that held another record when it was opened is written over only after asking);
    // "‹name› 파일을 저장하지 못했습니다: ‹why›" and its path for a file that fails → true when
    // all was written
    // (RecordModified is then cleared).
    bool Save();
    // Asks for a path and writes there as Save does (a .sgfx twin of the new name is asked
    // about before it is written over); the written file becomes the record's
    // file (title, later saves, its .sgfx twin) → true when written. A name typed without a
    // suffix gains ".SGF", and the overwrite question when that file exists (No writes nothing).
    bool SaveAs();
    // Forgets the file: no path, the game information emptied.
    void Clear();
    // Keeps unsaved work aside in folder every minute while the record is modified (see
    // Recovery); "" keeps none.
    void EnableRecovery(const std::string& folder);
    // Keeps the record aside now when it holds unsaved work → false when nothing was kept.
    bool SaveAside();
    // A clean close: the copy kept aside goes.
    void DiscardRecovery() const { recovery_.Remove(); }
    // At start-up: when a run ended with unsaved work kept aside, offers it back; Yes opens it
    // as the record of its file (modified, so that a save writes it there), No forgets it, and
    // a dismissed question keeps it for the next start → true when it was restored.
    bool OfferRecovery();

    // Another program changed the open file since it was read or saved here: asks whether to
    // read it again (Yes reloads, unsaved edits lost; No keeps the record, and the next save
    // asks before writing over the file). Nothing when the file is as it was.
    void CheckFileOnDisk();

    // The name of the file at path (its last part), for the user.
    static std::string FileName(const std::string& path);

private:
    // The save-first question for what gives way → the prompter's answer.
    static int Ask(GivingWay what);
    // Opens the record at path (remembered among the records opened last when remember); a
    // file of several games asks which one first, unless game (1-based) names it → false,
    // with nothing changed, when it is refused (with a message) or the choice is cancelled.
    bool Load(const std::string& path, bool remember, int game = 0);
    // The game of a file's text to open, 1-based: 1 for a text of one game (or none: the read
    // says why); else the prompter's choice from a summary of each → nullopt when it is
    // cancelled.
    static std::optional<int> ChooseGame(const std::string& text);
    // The file's modification time, size and inode as one text, "" when there is no file.
    static std::string StampOf(const std::string& path);
    // Writes the plain and, when stories exist, the extended record for path → true when all
    // was written.
    bool WriteFiles(const std::string& path);
    // Before a save: the reference pane's question about a diagram entered but never added
    // (Yes adds it, No saves without it) → false when the save is cancelled there.
    bool OfferUnaddedDiagram();
    // Where the file dialogs start: the current record's folder, else the home folder.
    std::string DialogFolder() const;

    // The status line says that the record was saved to path, and when.
    void ShowSaved(const std::string& path);
    // path leads the list of records opened last (a copy: path may be one of its entries).
    void RememberRecent(std::string path);
    // The other file of path's pair (.sgf and .sgfx) when it exists, else "".
    static std::string TwinOf(const std::string& path);
    // The plain record text a document reads as, stories aside: two files hold the same record
    // when their texts are equal.
    static std::string RecordTextOf(const SgfDocument& document);
    // Before a save writes twin: when it holds another record, asks whether to write over it
    // → false when the answer is no.
    bool MayWriteOverTwin(const std::string& twin);
    // Watches the current file for other programs' changes, from its state now.
    void WatchCurrentFile();
    // Before a save in place: when the file changed since it was read or saved here, asks
    // whether to write over it → false when the answer is no.
    bool MayWriteOverChangedFile();

    MainWindow& window_;
    SgfFile file_;
    std::string currentPath_;
    std::vector<std::string> recent_;
    bool twinDiffers_ = false;  // the other file of the pair holds another record
    Recovery recovery_;
    std::unique_ptr<QTimer> recoveryTimer_;
    std::unique_ptr<QFileSystemWatcher> watcher_;
    // The current file as it was last read or written here (modification time, size, inode),
    // and as it was when the user was last asked about a change.
    std::string fileStamp_;
    std::string askedStamp_;
    std::function<void(const std::vector<std::string>&)> storeRecent_;
    int lastBoardSize_ = kDefaultBoardSize;
    std::function<void(int)> storeBoardSize_;
};

}  // namespace velmora
