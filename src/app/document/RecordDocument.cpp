#include "app/document/RecordDocument.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTime>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

#include "app/AppInfo.h"
#include "app/MainWindow.h"
#include "app/dialogs/MessagePopup.h"
#include "app/document/RecordPaths.h"
#include "app/panes/EditHistoryPane.h"
#include "app/panes/InputPane.h"
#include "app/panes/ReferencePane.h"
#include "game/RecordModified.h"
#include "platform/Prompter.h"

namespace velmora {
namespace {

constexpr const char* kOverwriteQuestion = " 파일이 이미 있습니다.<br>바꾸시겠습니까?";
constexpr const char* kTwinDiffersNotice =
    " 파일에는 이 기보와 다른 기보가 있어 그 파일의 편집 스토리를 불러오지 않았습니다.\n저장할 때 그 파일을 덮어쓸지 묻습니다.";
constexpr const char* kTwinOverwriteQuestion = " 파일에는 다른 기보가 있습니다.<br>이 기보로 덮어쓰시겠습니까?";
constexpr const char* kDialogNameNotice =
    "\n이 파일은 이름에 읽을 수 없는 글자가 있어 열기 창으로 열 수 없습니다.\n파일을 창에 끌어다 놓거나 명령줄에서 이름을 주어 여세요.";
constexpr const char* kRecoveryQuestion = "<br>저장하지 않은 내용을 되살리시겠습니까?";
constexpr const char* kChangedOnDiskQuestion = " 파일이 다른 프로그램에서 바뀌었습니다.<br>다시 읽으시겠습니까?";
constexpr const char* kChangedOnDiskLoss = "<br>(저장하지 않은 수정 내용은 사라집니다.)";
constexpr const char* kOverwriteChangedQuestion =
    " 파일이 연 뒤에 다른 프로그램에서 바뀌었습니다.<br>이 기보로 덮어쓰시겠습니까?";
constexpr const char* kChooseGameCaption = "기보 고르기";
constexpr int kRecoveryInterval = 60 * 1000;  // ms between copies of unsaved work
constexpr const char* kOpenFilter = "기보 파일 (*.sgf *.SGF *.sgfx *.SGFX);;모든 파일 (*)";
constexpr const char* kSaveFilter = "기보 파일 (*.sgf *.SGF *.txt *.TXT);;모든 파일 (*)";

// Whether a file or folder is at path, named by its bytes as the system names it (a name need
// not be UTF-8).
bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// Asks question about the file at path (its name leads the question) → true on Yes.
bool AgreesAbout(const std::string& path, const char* question) {
    return ShowMessagePopup("<br>" + RecordDocument::FileName(path) + question, kButtonsYesNo) == kAnswerYes;
}

}  // namespace

RecordDocument::RecordDocument(MainWindow& window) : window_(window) {}

RecordDocument::~RecordDocument() = default;

int RecordDocument::Ask(GivingWay what) {
    const char* title = what == GivingWay::kClose ? "기보 닫기" : what == GivingWay::kOpen ? "기보 열기" : "새 기보";
    const char* before = what == GivingWay::kClose  ? "닫기 전에"
                         : what == GivingWay::kOpen ? "다른 기보를 열기 전에"
                                                    : "새 기보를 시작하기 전에";
    return Prompter::Current().SaveFirst(
        title, std::string("<font face=\"굴림\" size=\"13px\" color=\"#222226\"><b>저장하지 않은 수정 내용이 "
                           "있습니다.</b><br><br>") +
                   before +
                   " 지금 기보를 저장하시겠습니까?<br><font color=\"#807C76\">저장하지 않으면 지금까지 "
                   "수정한 내용은 사라집니다.</font></font>");
}

bool RecordDocument::SaveFirst(GivingWay what) {
    // Saved work is in its file: nothing is lost, so nothing is asked.
    if (!RecordModified()) return true;
    const int answer = Ask(what);
    if (answer == kAnswerYes) {
        Save();
        return !RecordModified();  // a cancelled or failed save keeps the work open
    }
    // 취소, or Escape on the question: the user has not agreed to anything, so the work stays.
    return answer == kAnswerNo;
}

int RecordDocument::OpenWithDialog() {
    if (!SaveFirst(GivingWay::kOpen)) return 0;
    const std::string path = Prompter::Current().OpenFileName("열기", DialogFolder(), kOpenFilter);
    if (path.empty()) return 0;
    if (!Exists(path)) {
        // Qt's dialog shows and gives back names as text: a name that is no valid UTF-8 comes
        // back changed, and the file is not found under it.
        Prompter::Current().MessageBox(FileName(path) + kDialogNameNotice, kAppTitle, kButtonsOk);
        return 0;
    }
    if (!Load(path, true)) return 0;
    SetRecordModified(false);
    return 1;
}

int RecordDocument::OpenFile(const std::string& path) {
    if (SaveFirst(GivingWay::kOpen)) Load(path, true);
    return 0;
}

void RecordDocument::OpenChosen(const std::string& path) {
    if (!SaveFirst(GivingWay::kOpen)) return;
    // As with the open command, the question has been asked, so the new record starts unmodified.
    if (Load(path, true)) SetRecordModified(false);
}

bool RecordDocument::OpenGameAt(const std::string& path, int game, int move) {
    if (!SaveFirst(GivingWay::kOpen) || !Load(path, true, std::max(game, 1))) return false;
    SetRecordModified(false);
    if (move > 0) window_.Board().Logic().JumpToMove(move);
    return true;
}

bool RecordDocument::Load(const std::string& path, bool remember, int chosen) {
    // A file that cannot be opened leaves the record, its path and the stories as they were,
    // so a later Save cannot write the old record over the refused file.
    // Read once: the chooser of a file of several games and the record read the same text.
    std::string notice;
    const std::optional<std::string> text = ReadRecordFile(path, &notice);
    const std::optional<int> game = !text ? 1 : chosen > 0 ? std::optional<int>(chosen) : ChooseGame(*text);
    if (!game) return false;
    const SgfFile::Loaded loaded = SgfFile::FromText(path, text, std::move(notice), *game);
    if (!loaded.refusal.empty()) {
        Prompter::Current().MessageBox(loaded.refusal, kAppTitle, kButtonsOk);
        return false;
    }
    // The other file of the pair: the stories come from a twin that holds the same record;
    // a twin that holds another is left alone, and a save asks before writing over it.
    const std::string twin = TwinOf(path);
    const SgfFile::Loaded twinLoaded = twin.empty() ? SgfFile::Loaded{} : SgfFile::Load(twin, *game);
    const bool twinRead = !twin.empty() && twinLoaded.refusal.empty();
    const bool same = twinRead && RecordTextOf(twinLoaded.document) == RecordTextOf(loaded.document);
    const bool storiesFromTwin = same && RecordPathsFor(path).extended == twin;
    window_.LeaveRecord();
    currentPath_ = path;
    twinDiffers_ = !twin.empty() && !same;
    file_.SetBoard(&window_.Board().Logic());
    const SgfReadResult result = file_.OpenDocument(storiesFromTwin ? twinLoaded.document : loaded.document);
    std::string message = result.message;
    if (twinDiffers_) {
        if (!message.empty()) message += "\n";
        message += FileName(twin) + kTwinDiffersNotice;
    }
    window_.ShowOpenedRecord(message);
    if (remember) RememberRecent(path);
    WatchCurrentFile();
    return true;
}

std::optional<int> RecordDocument::ChooseGame(const std::string& text) {
    const std::vector<GameSummary> games = SummariseGames(text);
    if (games.size() < 2) return 1;
    const auto player = [](const std::string& name, const std::string& rank) {
        return rank.empty() ? name : name.empty() ? rank : name + " " + rank;
    };
    std::vector<std::vector<std::string>> rows;
    for (const GameSummary& g : games)
        rows.push_back({player(g.info.blackName, g.info.blackRank), player(g.info.whiteName, g.info.whiteRank),
                        GameDateText(g.info), g.info.result, std::to_string(g.moves)});
    const int row = Prompter::Current().ChooseItem(kChooseGameCaption, {"흑", "백", "날짜", "결과", "수"}, rows);
    if (row < 0 || row >= static_cast<int>(rows.size())) return std::nullopt;
    return row + 1;
}

void RecordDocument::EnableRecovery(const std::string& folder) {
    recovery_ = Recovery(folder);
    if (!recovery_.Enabled()) {
        recoveryTimer_.reset();
        return;
    }
    recoveryTimer_ = std::make_unique<QTimer>();
    QObject::connect(recoveryTimer_.get(), &QTimer::timeout, &window_, [this] { SaveAside(); });
    recoveryTimer_->start(kRecoveryInterval);
}

bool RecordDocument::SaveAside() {
    if (!recovery_.Enabled() || !RecordModified()) return false;
    file_.SetBoard(&window_.Board().Logic());
    if (InputPane* input = window_.Input()) input->SaveForm(file_.Info());
    EditHistoryPane* history = window_.History();
    StoryList none;
    const std::string text = file_.ExtendedText(history ? static_cast<StoryQuery&>(*history) : none);
    if (history) history->ClearWritten(false);  // nothing is saved by this copy
    return recovery_.Write(text, currentPath_);
}

bool RecordDocument::OfferRecovery() {
    const std::optional<Recovery::Found> found = recovery_.Find();
    if (!found) return false;
    const std::string name = found->recordPath.empty() ? std::string("새 기보") : FileName(found->recordPath);
    const int answer =
        ShowMessagePopup("<br>저장하지 않은 채 끝난 기보가 있습니다: " + name + kRecoveryQuestion, kButtonsYesNo);
    // Only a deliberate No lets the work go; a question closed without an answer asks again
    // at the next start.
    if (answer == kAnswerNo) recovery_.Remove();
    if (answer != kAnswerYes) return false;
    if (!Load(found->copyPath, false)) return false;
    // The record belongs to its own file again, with the work not yet saved there.
    currentPath_ = found->recordPath;
    twinDiffers_ = false;
    WatchCurrentFile();
    SetRecordModified(true);
    window_.UpdateTitle();
    return true;
}

std::string RecordDocument::StampOf(const std::string& path) {
    struct stat s {};
    if (stat(path.c_str(), &s) != 0) return {};
    return std::to_string(s.st_mtim.tv_sec) + "." + std::to_string(s.st_mtim.tv_nsec) + "/" +
           std::to_string(s.st_size) + "/" + std::to_string(s.st_ino);
}

void RecordDocument::WatchCurrentFile() {
    fileStamp_ = askedStamp_ = currentPath_.empty() ? std::string() : StampOf(currentPath_);
    if (!watcher_) {
        watcher_ = std::make_unique<QFileSystemWatcher>();
        // Reported once the event at hand is done: the question may not come in the middle of it.
        QObject::connect(watcher_.get(), &QFileSystemWatcher::fileChanged, &window_, [this] {
            QTimer::singleShot(0, &window_, [this] { CheckFileOnDisk(); });
        });
    }
    if (const QStringList watched = watcher_->files(); !watched.isEmpty()) watcher_->removePaths(watched);
    // A save replaces the file, which ends a watch on it: each read and save starts a new one.
    if (!fileStamp_.empty()) watcher_->addPath(QFile::decodeName(currentPath_.c_str()));
}

void RecordDocument::CheckFileOnDisk() {
    if (currentPath_.empty()) return;
    const std::string now = StampOf(currentPath_);
    // Gone, or just replaced by another program's save that is not finished: nothing to read.
    if (now.empty() || now == fileStamp_ || now == askedStamp_) return;
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        QTimer::singleShot(500, &window_, [this] { CheckFileOnDisk(); });
        return;
    }
    askedStamp_ = now;
    const std::string question = "<br>" + FileName(currentPath_) + kChangedOnDiskQuestion +
                                 (RecordModified() ? kChangedOnDiskLoss : "");
    if (ShowMessagePopup(question, kButtonsYesNo) == kAnswerYes && Load(currentPath_, true))
        SetRecordModified(false);
    if (watcher_ && watcher_->files().isEmpty() && !StampOf(currentPath_).empty())
        watcher_->addPath(QFile::decodeName(currentPath_.c_str()));
}

bool RecordDocument::MayWriteOverChangedFile() {
    const std::string now = StampOf(currentPath_);
    if (now.empty() || fileStamp_.empty() || now == fileStamp_) return true;
    return AgreesAbout(currentPath_, kOverwriteChangedQuestion);
}

std::string RecordDocument::TwinOf(const std::string& path) {
    const RecordPaths paths = RecordPathsFor(path);
    const std::string& twin = paths.extendedChosen ? paths.plain : paths.extended;
    return Exists(twin) ? twin : std::string();
}

std::string RecordDocument::RecordTextOf(const SgfDocument& document) {
    BoardLogic board;
    SgfFile file;
    file.SetBoard(&board);
    file.OpenDocument(document);
    return file.PlainText();
}

std::string RecordDocument::FileName(const std::string& path) {
    return QFileInfo(QFile::decodeName(path.c_str())).fileName().toStdString();
}

bool RecordDocument::MayWriteOverTwin(const std::string& twin) {
    if (!twinDiffers_ || !Exists(twin)) return true;
    if (!AgreesAbout(twin, kTwinOverwriteQuestion))
        return false;
    twinDiffers_ = false;
    return true;
}

void RecordDocument::OpenRecent(int index) {
    if (index < 0 || index >= static_cast<int>(recent_.size())) return;
    // A copy: opening moves the path to the head of the list, under any reference into it.
    const std::string path = recent_[static_cast<std::size_t>(index)];
    if (!Exists(path)) {
        Prompter::Current().MessageBox(
            FileName(path) + " 파일이 없습니다: 옮겨졌거나 지워졌습니다.\n최근에 연 파일 목록에서 뺍니다.", kAppTitle,
            kButtonsOk);
        std::erase(recent_, path);
        if (storeRecent_) storeRecent_(recent_);
        return;
    }
    OpenChosen(path);
}

void RecordDocument::ShowSaved(const std::string& path) {
    window_.SetStatus(FileName(path) + " 에 저장했습니다 (" + QTime::currentTime().toString("HH:mm:ss").toStdString() + ")");
}

bool RecordDocument::ChooseBoardSize() {
    const int size = Prompter::Current().ChooseBoardSize(lastBoardSize_);
    if (!IsBoardSize(size)) return false;
    lastBoardSize_ = size;
    if (storeBoardSize_) storeBoardSize_(size);
    window_.Board().Logic().SetBoardSize(size);
    return true;
}

void RecordDocument::SetLastBoardSize(int size, std::function<void(int)> store) {
    if (IsBoardSize(size)) lastBoardSize_ = size;
    storeBoardSize_ = std::move(store);
}

void RecordDocument::SetRecentPaths(std::vector<std::string> paths,
                                    std::function<void(const std::vector<std::string>&)> store) {
    // Settings written by hand, or by an older run, may repeat a path: the first stays.
    recent_.clear();
    for (std::string& path : paths)
        if (!path.empty() && std::find(recent_.begin(), recent_.end(), path) == recent_.end() &&
            recent_.size() < kRecentCount)
            recent_.push_back(std::move(path));
    storeRecent_ = std::move(store);
}

void RecordDocument::RememberRecent(std::string path) {
    std::erase(recent_, path);
    recent_.insert(recent_.begin(), std::move(path));
    if (recent_.size() > kRecentCount) recent_.resize(kRecentCount);
    if (storeRecent_) storeRecent_(recent_);
}

void RecordDocument::Clear() {
    currentPath_.clear();
    twinDiffers_ = false;
    WatchCurrentFile();
    file_.Info() = GameInfo{};
}

bool RecordDocument::WriteFiles(const std::string& path) {
    file_.SetBoard(&window_.Board().Logic());
    if (InputPane* input = window_.Input()) input->SaveForm(file_.Info());
    const RecordPaths paths = RecordPathsFor(path);
    // The message names the file and says why: a save writes two, and either may be the one
    // that failed.
    std::string why;
    const auto failed = [&why](const std::string& file) {
        Prompter::Current().MessageBox(FileName(file) + " 파일을 저장하지 못했습니다: " + why + ".\n(" +
                                           QFile::decodeName(file.c_str()).toStdString() + ")",
                                       kAppTitle, kButtonsOk);
    };
    // A plain file beside a chosen .sgfx is its twin: written unless it holds another record
    // the user wants to keep.
    const bool plainKept = paths.extendedChosen && !MayWriteOverTwin(paths.plain);
    const bool plainWritten = plainKept || file_.WritePlainRecord(paths.plain, &why);
    if (!plainWritten) failed(paths.plain);
    EditHistoryPane* history = window_.History();
    const int stories = history ? history->StoryCount() : 0;
    bool extendedWritten = true;
    // A chosen .sgfx is written even without stories, so the file the user named is current;
    // a .sgfx twin is written again with every save, so that the pair never drifts apart.
    const bool twinExists = Exists(paths.extended);
    if (stories > 0 || paths.extendedChosen || twinExists) {
        if (!paths.extendedChosen && !MayWriteOverTwin(paths.extended)) {
            if (history) history->ClearWritten(false);
            return plainWritten;
        }
        StoryList none;
        StoryQuery& query = history ? static_cast<StoryQuery&>(*history) : none;
        extendedWritten = file_.WriteExtendedRecord(paths.extended, query, &why);
        if (!extendedWritten) failed(paths.extended);
    }
    // Stories stay unsaved while their file could not be written.
    if (history) history->ClearWritten(stories > 0 && extendedWritten);
    return plainWritten && extendedWritten;
}

bool RecordDocument::OfferUnaddedDiagram() {
    // A diagram entered but never added is not part of the record: saved without a word, it
    // would be gone once the saved record is closed.
    ReferencePane* reference = window_.Reference();
    return !reference || reference->SettleUnaddedDiagram(DiagramLeaving::kSave);
}

bool RecordDocument::Save() {
    if (currentPath_.empty()) return SaveAs();
    if (!MayWriteOverChangedFile()) return false;
    if (!OfferUnaddedDiagram()) return false;
    if (!WriteFiles(currentPath_)) return false;
    SetRecordModified(false);
    WatchCurrentFile();
    recovery_.Remove();
    ShowSaved(currentPath_);
    return true;
}

bool RecordDocument::SaveAs() {
    if (!OfferUnaddedDiagram()) return false;
    std::string path = Prompter::Current().SaveFileName("다른 이름으로 저장", DialogFolder(), kSaveFilter);
    if (path.empty()) return false;
    if (QFileInfo(QFile::decodeName(path.c_str())).suffix().isEmpty()) {
        // The dialog asked about the name as typed, not about the file the suffix makes.
        path += ".SGF";
        if (Exists(path) && !AgreesAbout(path, kOverwriteQuestion)) return false;
    }
    // A twin of the new name is another record until this save writes it.
    const bool twinDiffered = twinDiffers_;
    twinDiffers_ = !TwinOf(path).empty();
    if (!WriteFiles(path)) {
        twinDiffers_ = twinDiffered;
        return false;
    }
    // The file just written is the one the user works on from now on.
    currentPath_ = path;
    SetRecordModified(false);
    WatchCurrentFile();
    recovery_.Remove();
    window_.UpdateTitle();
    ShowSaved(path);
    RememberRecent(path);
    return true;
}

std::string RecordDocument::DialogFolder() const {
    if (!currentPath_.empty()) {
        const QFileInfo current(QString::fromStdString(currentPath_));
        if (current.absoluteDir().exists()) return current.absolutePath().toStdString();
    }
    return QDir::homePath().toStdString();
}

}  // namespace velmora
