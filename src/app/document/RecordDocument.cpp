#include "app/document/RecordDocument.h"

#include <QDir>
#include <QFileInfo>

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

constexpr const char* kCloseQuestion = "<br>진행중인 수순이 있습니다. <br>저장하시겠습니까? ";
constexpr const char* kCloseEditsQuestion = "<br>저장하지 않은 수정 내용이 있습니다. <br>저장하시겠습니까? ";
constexpr const char* kOverwriteQuestion = " 파일이 이미 있습니다.<br>바꾸시겠습니까?";
constexpr const char* kOpenFilter = "SGF Files (*.sgf *.SGF *.sgfx *.SGFX);;All Files (*)";
constexpr const char* kSaveFilter = "SGF (*.sgf *.SGF *.txt *.TXT);;All Files (*)";

// Restores the working directory when a file command ends, whatever the outcome.
class WorkingDirectoryGuard {
public:
    WorkingDirectoryGuard() : saved_(QDir::currentPath()) {}
    ~WorkingDirectoryGuard() { QDir::setCurrent(saved_); }
    QString Path() const { return saved_; }

private:
    QString saved_;
};

}  // namespace

int RecordDocument::Ask(GivingWay what, bool sequence) {
    // A record without moves (a problem of set-up stones, a new record's information) has
    // edits to lose too, and the question says so.
    if (what == GivingWay::kClose)
        return ShowMessagePopup(sequence ? kCloseQuestion : kCloseEditsQuestion, kButtonsYesNo);
    const SaveFirstReason reason = what == GivingWay::kOpen ? SaveFirstReason::kOpen
                                   : sequence               ? SaveFirstReason::kNewRecord
                                                            : SaveFirstReason::kNewRecordEdits;
    if (saveFirstQuestion_) return saveFirstQuestion_(reason);
    NewRecordDialog dialog(&window_, reason);
    return dialog.ExecCentredOver(&window_);
}

bool RecordDocument::SaveFirst(GivingWay what) {
    const bool sequence = window_.Board().SequenceInProgress();
    // A new record replaces moves even when they were saved; the other ways ask only for edits.
    if (!RecordModified() && !(what == GivingWay::kNewRecord && sequence)) return true;
    const int answer = Ask(what, sequence);
    if (answer == kAnswerYes) {
        Save();
        return !RecordModified();  // a cancelled or failed save keeps the work open
    }
    // Cancel, or Escape on the question: the user has not agreed to anything, so the work stays.
    return answer == kAnswerNo;
}

int RecordDocument::OpenWithDialog() {
    if (!SaveFirst(GivingWay::kOpen)) return 0;
    std::string path;
    {
        WorkingDirectoryGuard guard;
        path = Prompter::Current().OpenFileName("열기", DialogFolder(), kOpenFilter);
    }
    if (path.empty() || !Load(path)) return 0;
    SetRecordModified(false);
    return 1;
}

int RecordDocument::OpenFile(const std::string& path) {
    if (SaveFirst(GivingWay::kOpen)) Load(path);
    return 0;
}

void RecordDocument::OpenHandedOver(const std::string& path) {
    if (!SaveFirst(GivingWay::kOpen)) return;
    // As with the open command, the question has been asked, so the new record starts unmodified.
    if (Load(path)) SetRecordModified(false);
}

bool RecordDocument::Load(const std::string& path) {
    WorkingDirectoryGuard guard;
    // A file that cannot be opened leaves the record, its path and the stories as they were,
    // so a later Save cannot write the old record over the refused file.
    const SgfFile::Loaded loaded = SgfFile::Load(path);
    if (!loaded.refusal.empty()) {
        Prompter::Current().MessageBox(loaded.refusal, kAppTitle, kButtonsOk);
        return false;
    }
    window_.LeaveRecord();
    currentPath_ = path;
    file_.SetBoard(&window_.Board().Logic());
    const SgfReadResult result = file_.OpenDocument(loaded.document);
    QDir::setCurrent(guard.Path());
    window_.ShowOpenedRecord(result.message);
    return true;
}

void RecordDocument::Clear() {
    currentPath_.clear();
    file_.Info() = GameInfo{};
}

bool RecordDocument::WriteFiles(const std::string& path) {
    file_.SetBoard(&window_.Board().Logic());
    if (InputPane* input = window_.Input()) input->SaveForm(file_.Info());
    const RecordPaths paths = RecordPathsFor(path);
    const bool plainWritten = file_.WritePlainRecord(paths.plain);
    // The message names the file: a save writes two, and either may be the one that failed.
    const auto failed = [](const std::string& file) {
        Prompter::Current().MessageBox("Error File Save\n" + file, kAppTitle, kButtonsOk);
    };
    if (!plainWritten) failed(paths.plain);
    EditHistoryPane* history = window_.History();
    const int stories = history ? history->StoryCount() : 0;
    bool extendedWritten = true;
    // A chosen .sgfx is written even without stories, so the file the user named is current.
    if (stories > 0 || paths.extendedChosen) {
        StoryList none;
        StoryQuery& query = history ? static_cast<StoryQuery&>(*history) : none;
        extendedWritten = file_.WriteExtendedRecord(paths.extended, query);
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
    if (!OfferUnaddedDiagram()) return false;
    WorkingDirectoryGuard guard;
    if (!WriteFiles(currentPath_)) return false;
    SetRecordModified(false);
    return true;
}

bool RecordDocument::SaveAs() {
    if (!OfferUnaddedDiagram()) return false;
    WorkingDirectoryGuard guard;
    std::string path = Prompter::Current().SaveFileName("다른 이름으로 저장", DialogFolder(), kSaveFilter);
    if (path.empty()) return false;
    if (QFileInfo(QString::fromStdString(path)).suffix().isEmpty()) {
        // The dialog asked about the name as typed, not about the file the suffix makes.
        path += ".SGF";
        if (QFileInfo::exists(QString::fromStdString(path)) &&
            ShowMessagePopup("<br>" + QFileInfo(QString::fromStdString(path)).fileName().toStdString() +
                                 kOverwriteQuestion,
                             kButtonsYesNo) != kAnswerYes)
            return false;
    }
    if (!WriteFiles(path)) return false;
    // The file just written is the one the user works on from now on.
    currentPath_ = path;
    window_.UpdateTitle();
    SetRecordModified(false);
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
