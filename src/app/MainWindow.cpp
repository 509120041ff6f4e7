#include "app/MainWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QUrl>

#include "app/AppInfo.h"
#include "app/EditHistoryPane.h"
#include "app/HelpDialog.h"
#include "app/KeyControl.h"
#include "app/MainLayout.h"
#include "app/MessagePopup.h"
#include "app/NewRecordDialog.h"
#include "app/PrintDialog.h"
#include "app/RecordPaths.h"
#include "app/ScreenCapture.h"
#include "app/SidePane.h"
#include "app/SplitDialog.h"
#include "app/VendorLinks.h"
#include "app/VersionDialog.h"
#include "board/BoardControl.h"
#include "board/RecordModified.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompter.h"
#include "record/InfoTexts.h"
#include "skin/SkinButton.h"

namespace velmora {
namespace {

MainWindow* g_instance = nullptr;

enum Command : int {
    kMinimise = 101, kMaximise = 102, kRestore = 103, kExit = 104, kClose = 105,
    kTabView = 200, kTabInput = 201, kTabReference = 202,
    kContextMenu = 300,
    kLinkMain = 1100, kLinkPlayerOfMonth = 1110, kLinkRookie = 1120, kLinkColumn = 1130, kLinkLecture = 1140,
    kLogo = 1200,
    kFileMenu = 1501, kHelpButton = 1502, kHelpMenu = 1503,
    kOpen = 20001, kSave = 20002, kSaveAs = 20003, kPrint = 20004,
    kVendorHomePage = 20006, kGoSiteHomePage = 20007, kDownload = 20008, kVersion = 20009,
};

constexpr const char* kCloseQuestion = "<br>진행중인 수순이 있습니다. <br>저장하시겠습니까? ";
constexpr const char* kCloseEditsQuestion = "<br>저장하지 않은 수정 내용이 있습니다. <br>저장하시겠습니까? ";
constexpr const char* kPlacementQuestion = "착수를 하시면 이전 착수데이터는 삭제됩니다.<br> 착수하시겠습니까?<br>";
// Said instead of doing nothing when a button has nothing to work on yet.
constexpr const char* kNoMovesNotice = "<br>기보에 아직 수순이 없습니다.<br>수를 둔 다음 다시 해 보세요.";
constexpr const char* kNoStoryAtStartNotice =
    "<br>처음 장면에는 편집 스토리를 추가할 수 없습니다.<br>수순을 진행한 다음 추가해 주세요.";
constexpr const char* kOpenFilter = "SGF Files (*.sgf *.SGF *.sgfx *.SGFX);;All Files (*)";
constexpr const char* kSaveFilter = "SGF (*.sgf *.SGF *.txt *.TXT);;All Files (*)";

int RunQMenu(const std::vector<MenuItem>& items, QPoint at) {
    QMenu menu;
    menu.setStyleSheet(
        "QMenu { background: #FAF7F0; border: 1px solid #967C54; padding: 3px; color: #222226; }"
        "QMenu::item { padding: 5px 24px 5px 18px; }"
        "QMenu::item:selected { background: #D6C8AA; color: #222226; }"
        "QMenu::separator { height: 1px; background: #D6C8AA; margin: 3px 6px; }");
    for (const MenuItem& item : items) {
        if (item.id == 0)
            menu.addSeparator();
        else
            // After a tab, QMenu shows the text in its column of shortcuts.
            menu.addAction(QString::fromStdString(item.shortcut.empty() ? item.text : item.text + "\t" + item.shortcut))
                ->setData(item.id);
    }
    const QAction* chosen = menu.exec(at);
    return chosen ? chosen->data().toInt() : 0;
}

// Restores the working directory when a file command ends, whatever the outcome.
class WorkingDirectoryGuard {
public:
    WorkingDirectoryGuard() : saved_(QDir::currentPath()) {}
    ~WorkingDirectoryGuard() { QDir::setCurrent(saved_); }
    std::string Path() const { return saved_.toStdString(); }

private:
    QString saved_;
};

}  // namespace

MainWindow::MainWindow() : menuRunner_(RunQMenu), keys_(std::make_unique<KeyControl>(*this)) {
    g_instance = this;
    setWindowTitle(QString::fromUtf8(kAppTitle));
    setMinimumSize(900, 750);
    setAcceptDrops(true);
    setMouseTracking(true);
}

MainWindow::~MainWindow() {
    if (split_) split_->close();
    if (g_instance == this) g_instance = nullptr;
}

MainWindow* MainWindow::Instance() { return g_instance; }

bool MainWindow::Create(bool maximise) {
    startMaximised_ = maximise;
    SetSkinFile("Skin\\MainWnd.xml");
    return CreateFromSkin(0, kAppTitle);
}

void MainWindow::OnSkinBuilt() {
    // The panes, in the order the window is made of them.
    board_ = std::make_unique<BoardPanel>(this);
    board_->SetSkinFile("Skin\\BadukPan.xml");
    board_->CreateFromSkin();
    board_->show();
    file_.SetBoard(&board_->Logic());
    auto makePane = [](SkinWindow* pane, const char* skin, bool visible) {
        pane->SetSkinFile(skin);
        pane->CreateFromSkin();
        pane->setVisible(visible);
    };
    history_ = new EditHistoryPane(this);
    makePane(history_, "Skin\\EditHistory.xml", true);
    history_->SetMainBoard(board_.get());
    file_.SetStorySink(history_);
    view_ = new ViewPane(this);
    makePane(view_, "Skin\\BadukView.xml", true);
    input_ = new InputPane(this);
    makePane(input_, "Skin\\BadukInput.xml", false);
    reference_ = new ReferencePane(this);
    makePane(reference_, "Skin\\Reference.xml", false);
    split_ = std::make_unique<SplitDialog>(this);
    SetTooltipsEnabled(true);

    SetShapeText(400, kVersionText);
    UpdateTitle();
    LayoutPanes();
    SelectTab(kTabInput);
    SendCommand(this, kTabInput);
    update();
    if (const QScreen* s = screen()) normalGeometry_ = QRect(s->availableGeometry().center() - rect().center(), size());
    // Centred first, so that restoring a window that started maximised brings it back there.
    setGeometry(normalGeometry_);
    if (startMaximised_) Maximise();
}

void MainWindow::Maximise() {
    if (!isMaximized()) normalGeometry_ = geometry();
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    if (const QScreen* s = screen()) setGeometry(s->availableGeometry());
}

void MainWindow::Restore() {
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    if (normalGeometry_.isValid()) setGeometry(normalGeometry_);
}

// ---- tabs and panes

SkinButton* MainWindow::Button(int id) const { return FindControlAs<SkinButton>(id); }

void MainWindow::SelectTab(int tabId) {
    for (QWidget* pane : {static_cast<QWidget*>(view_), static_cast<QWidget*>(input_), static_cast<QWidget*>(reference_)})
        if (pane) pane->hide();
    for (int id : {kTabView, kTabInput, kTabReference})
        if (SkinButton* b = Button(id)) b->SetChecked(false);
    if (SkinButton* b = Button(tabId)) b->SetChecked(true);
    const std::pair<int, QWidget*> panes[] = {{kTabView, view_}, {kTabInput, input_}, {kTabReference, reference_}};
    for (const auto& [id, pane] : panes) {
        SkinButton* b = Button(id);
        if (b && b->IsChecked()) {
            if (pane) pane->show();
            break;
        }
    }
}

int MainWindow::CurrentTab() const {
    if (SkinButton* b = Button(kTabReference); b && b->IsChecked()) return kTabReference;
    if (SkinButton* b = Button(kTabInput); b && b->IsChecked()) return kTabInput;
    return kTabView;
}

void MainWindow::RunTabStep(int tab) {
    if (!view_ || !input_ || !reference_) return;
    if (tab == kTabView) {
        view_->EnterViewMode();
        input_->SaveForm(file_.Info());
        view_->ReloadFromRecord();
    } else if (tab == kTabInput) {
        board_->Logic().SetBoardMode(1);
        input_->LoadForm(file_.Info());
    } else {
        input_->SaveForm(file_.Info());
        reference_->Refresh();
    }
    board_->UpdateForwardButtons();
    // The keyboard goes to the board, not to a field of the pane just hidden or shown.
    if (BoardControl* c = board_->Control()) c->setFocus();
    SendMessage(this, UM_REFRESH_PANE);
}

void MainWindow::RefreshVisiblePane() {
    // A move played before the end cuts the line, so the way forward is judged again.
    if (board_) board_->UpdateForwardButtons();
    if (view_ && !view_->isHidden()) view_->Refresh();
    if (input_ && !input_->isHidden()) input_->Refresh();
    if (reference_ && !reference_->isHidden()) reference_->Refresh();
}

void MainWindow::LayoutPanes() {
    if (isMinimized()) return;
    for (int id : {kLinkMain, kLinkPlayerOfMonth, kLinkRookie, kLinkColumn, kLinkLecture}) {
        QWidget* link = FindControl(id);
        if (!link) continue;
        const bool shown = VendorLinkShown(link->y() + link->height(), height());
        if (shown == link->isHidden()) link->setVisible(shown);
    }
    const QRect client = rect();
    if (history_) history_->Layout(client);
    if (board_) board_->setGeometry(MainLayout::Compute(client, 0).boardPanel);
    for (SkinWindow* pane : {static_cast<SkinWindow*>(view_), static_cast<SkinWindow*>(input_),
                             static_cast<SkinWindow*>(reference_)})
        if (pane) pane->setGeometry(MainLayout::Compute(client, pane->FileRect().width()).sidePane);
    SetWindowRegion(this, PolygonRegion(MainWindowOutline(client, 0, 0)));
}

void MainWindow::resizeEvent(QResizeEvent* e) {
    SkinWindow::resizeEvent(e);
    LayoutPanes();
}

void MainWindow::changeEvent(QEvent* e) {
    if (e->type() == QEvent::WindowStateChange) UpdateWindowButtons();
    SkinWindow::changeEvent(e);
}

void MainWindow::UpdateWindowButtons() {
    const bool maximised = isMaximized();
    ShowControl(kMaximise, !maximised);
    ShowControl(kRestore, maximised);
}

void MainWindow::UpdateTitle() {
    const std::string name = currentPath_.empty()
                                 ? std::string("새 기보")
                                 : QFileInfo(QString::fromStdString(currentPath_)).fileName().toStdString();
    SetShapeText(401, name);
    setWindowTitle(QString::fromUtf8(kAppTitle) + " - " + QString::fromStdString(name));
}

// ---- commands

void MainWindow::onCommand(int id) {
    switch (id) {
        case kMinimise: showMinimized(); break;
        case kMaximise:
        case kRestore: isMaximized() ? Restore() : Maximise(); break;
        case kExit:
        case kClose: CloseWithQuestion(); break;
        case kTabView:
        case kTabInput:
        case kTabReference:
            SelectTab(id);
            RunTabStep(id);
            break;
        case kContextMenu: {
            const int chosen = menuRunner_(ContextMenu(), QCursor::pos());
            if (chosen) onCommand(chosen);
            break;
        }
        case kLinkMain: OpenInBrowser(RedirectUrl("main")); break;
        case kLinkPlayerOfMonth: OpenInBrowser(RedirectUrl(kPlayerOfMonthParam)); break;
        case kLinkRookie: OpenInBrowser(RedirectUrl(kRookieParam)); break;
        case kLinkColumn: OpenInBrowser(RedirectUrl("column")); break;
        case kLinkLecture: OpenInBrowser(RedirectUrl("lecture")); break;
        case kLogo: onCommand(kGoSiteHomePage); break;
        case kFileMenu:
            menuButtonPressed_ = 1;
            ShowMenu(kFileMenu, FileMenu());
            break;
        case kHelpButton:
            menuButtonPressed_ = 1;
            if (SkinButton* b = Button(kHelpButton)) b->SetPressed(false);
            ShowHelp();
            break;
        case kHelpMenu:
            menuButtonPressed_ = 1;
            ShowMenu(kHelpMenu, HelpMenu());
            break;
        case kOpen: OpenRecordDialog(); break;
        case kSave: SaveRecord(); break;
        case kSaveAs: SaveRecordAs(); break;
        case kPrint: Print(); break;
        case kVendorHomePage: OpenInBrowser(kVendorHome); break;
        case kGoSiteHomePage: OpenInBrowser(RedirectUrl("main")); break;
        case kDownload: OpenInBrowser(DownloadPageUrl()); break;
        case kVersion: ShowVersion(); break;
        default: break;
    }
}

std::vector<MenuItem> MainWindow::FileMenu() {
    return {{kOpen, "열기", "Ctrl+O"}, {kSave, "저장", "Ctrl+S"}, {kSaveAs, "다른 이름으로 저장", "Ctrl+Shift+S"},
            {0, ""}, {kPrint, "인쇄", "Ctrl+P"}, {0, ""}, {kExit, "종료"}};
}

std::vector<MenuItem> MainWindow::HelpMenu() {
    return {{kVersion, std::string("버전정보 ") + kVersionText}, {0, ""},
            {kGoSiteHomePage, "젤로네바둑 홈페이지 바로가기"}, {kVendorHomePage, "젤로네 홈페이지 바로가기"},
            {kDownload, "최신버전 다운받기"}};
}

std::vector<MenuItem> MainWindow::ContextMenu() {
    return {{kOpen, "열기", "Ctrl+O"}, {kSave, "저장", "Ctrl+S"}, {kPrint, "인쇄", "Ctrl+P"}, {kVersion, "도움말"}};
}

void MainWindow::ShowMenu(int buttonId, const std::vector<MenuItem>& items) {
    SkinButton* b = Button(buttonId);
    // The menu hangs from the button's lower-left corner; the button looks pressed meanwhile.
    const QPoint at = b ? b->mapToGlobal(QPoint(0, b->height())) : QCursor::pos();
    if (b) b->SetPressed(true);
    const int chosen = menuRunner_(items, at);
    if (b) b->SetPressed(false);
    if (chosen) onCommand(chosen);
}

void MainWindow::ShowHelp() {
    HelpDialog help(ProgramFolder(), this);
    help.EnsureBuilt();
    help.move(geometry().center() - help.rect().center());
    help.exec();
}

void MainWindow::ShowVersion() {
    VersionDialog version(kVersionText, this);
    version.EnsureBuilt();
    version.move(geometry().center() - version.rect().center());
    version.exec();
}

bool MainWindow::onMessage(int message, std::intptr_t wParam, std::intptr_t) {
    switch (message) {
        case UM_REFRESH_PANE: RefreshVisiblePane(); return true;
        case UM_STORY_QUERY:
            if (history_) history_->DiscardStoriesBeyond(static_cast<int>(wParam));
            return true;
        case UM_BUTTON_HOVER: return true;
        case UM_MENU_BUTTON_RESET:
            if (menuButtonPressed_)
                if (SkinButton* b = Button(static_cast<int>(wParam))) b->SetPressed(false);
            return true;
        default: return false;
    }
}

bool MainWindow::ConfirmClose() {
    if (!board_ || !RecordModified()) return true;
    // A record without moves (a problem of set-up stones, a new record's information) has
    // edits to lose too.
    const int answer = ShowMessagePopup(
        board_->SequenceInProgress() ? kCloseQuestion : kCloseEditsQuestion, kButtonsYesNo);
    if (answer == kAnswerYes) {
        SaveRecordAs();
        return !RecordModified();  // a cancelled or failed save keeps the window
    }
    // Escape dismisses the question: the user has not agreed to anything, so the work stays open.
    return answer == kAnswerNo;
}

void MainWindow::CloseWithQuestion() {
    if (!ConfirmClose()) return;
    closeConfirmed_ = true;
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::closeEvent(QCloseEvent* e) {
    // The window manager's close (Alt+F4, a task bar) asks the same question as the close buttons.
    if (!closeConfirmed_ && !ConfirmClose()) {
        e->ignore();
        return;
    }
    SkinWindow::closeEvent(e);
}

// ---- operations for the panes and the board

void MainWindow::OnBoardPanelCommand(int id) {
    switch (id) {
        case kCmdSplit: ShowSplitDialog(SplitDialog::kTryPlacing); break;
        case kCmdOpen: OpenRecordDialog(); break;
        case kCmdScreenshot: Screenshot(); break;
        case kCmdSave: SaveRecordAs(); break;
        case kCmdPrint: Print(); break;
        case kCmdAddStory: AddEditStory(); break;
        default: break;
    }
}

void MainWindow::Print() {
    GameInfo info = file_.Info();
    if (input_) input_->SaveForm(info);
    PrintDialog dialog(this);
    const PrintTexts texts = MakePrintTexts(info);
    dialog.SetSource(texts, board_->Logic().Record().MainLineLength(),
                     BoardDiagramPainter(board_->Logic(), texts[kPrintKomiHandicap]));
    dialog.EnsureBuilt();
    dialog.move(geometry().center() - dialog.rect().center());
    dialog.exec();
}

void MainWindow::Screenshot() {
    const std::string folder = CaptureFolder();
    const CaptureResult result = CaptureWindow(board_.get(), folder);
    Prompter::Current().MessageBox(CaptureMessage(result, folder), {}, kButtonsOk);
}

void MainWindow::StopQuiz() {
    if (view_ && IsQuizMode(board_->Logic().Mode())) view_->StopQuiz();
}

int MainWindow::ConfirmPlacement() {
    const int move = board_->Logic().CurrentMove();
    return ShowMessagePopup(kPlacementQuestion + history_->DiscardAnnouncement(move), kButtonsOkCancel);
}

void MainWindow::ShowSplitDialog(int mode) {
    if (!split_) return;
    if (split_->isVisible()) {
        // It has no owner, so it may lie behind this window: its button brings it back to view.
        split_->raise();
        split_->activateWindow();
        return;
    }
    if (board_->Logic().Record().MainLineLength() == 0) {
        ShowMessagePopup(kNoMovesNotice, kButtonsOk);
        return;
    }
    split_->ShowWithMode(mode);
}

void MainWindow::AddEditStory(int tab) {
    if (!history_) return;
    if (board_->Logic().DisplayedMove() <= 0) {
        ShowMessagePopup(kNoStoryAtStartNotice, kButtonsOk);
        return;
    }
    // A story is saved with the record, so a new one is an edit to keep.
    if (history_->AddStory(tab < 0 ? CurrentTab() : tab)) SetRecordModified(true);
}

void MainWindow::ShowReferenceDiagram(const std::string& key) { board_->Navigation().ShowStoredDiagram(key); }

std::string MainWindow::StoreReferenceDiagram() {
    BoardLogic& logic = board_->Logic();
    if (logic.DiagramBase() < 0) return {};
    if (view_) view_->RequestFreshList();
    const std::string result = logic.CommitDiagram();
    if (!result.empty() && result != "same") SetRecordModified(true);
    return result;
}

void MainWindow::ReplaceReferenceDiagram() {
    BoardLogic& logic = board_->Logic();
    GameRecord& record = logic.Record();
    if (!record.ReplaceStoredDiagram(record.OpenDiagramKey(), record.CurrentDiagram())) return;
    SetRecordModified(true);
    if (view_) view_->RequestFreshList();
    SendMessage(this, UM_REFRESH_PANE);
}

void MainWindow::DeleteReferenceDiagram(const std::string& key) {
    BoardLogic& logic = board_->Logic();
    if (!logic.Record().StoredDiagramMap().contains(key)) return;
    // The board must not go on showing a diagram that is gone.
    if (logic.Record().OpenDiagramKey() == key) {
        logic.LeaveDiagram();
        logic.Refresh();
        board_->UpdateForwardButtons();
    }
    logic.Record().EraseStoredDiagram(key);
    if (history_) history_->RemoveStory(key);
    SetRecordModified(true);
    if (view_) view_->RequestFreshList();
    SendMessage(this, UM_REFRESH_PANE);
}

void MainWindow::SetHandicap(int count) {
    BoardLogic& logic = board_->Logic();
    logic.ResetBoard();
    // Black has just played the stones: white moves next.
    if (logic.PlaceHandicapStones(count) > 0) logic.SetColourToPlay(1);
    logic.Refresh();
}

void MainWindow::NewRecord() {
    currentPath_.clear();
    openDirectory_.clear();
    file_.Info() = GameInfo{};
    StopQuiz();  // the reset keeps the mode: no quiz on a record that is gone
    board_->Logic().ResetBoard();
    if (view_) view_->StartRecord();
    if (reference_) reference_->StartRecord();
    if (input_) {
        input_->LoadForm(file_.Info());
        input_->Refresh();
    }
    if (history_) history_->DestroyAll();
    UpdateTitle();
}

int MainWindow::AskSaveFirst(SaveFirstReason reason) {
    if (newRecordQuestion_) return newRecordQuestion_(reason);
    NewRecordDialog dialog(this, reason);
    dialog.EnsureBuilt();
    dialog.move(geometry().center() - dialog.rect().center());
    return dialog.exec();
}

bool MainWindow::StartNewRecord() {
    const bool moves = board_->SequenceInProgress();
    if (moves || RecordModified()) {
        const int answer =
            AskSaveFirst(moves ? SaveFirstReason::kNewRecord : SaveFirstReason::kNewRecordEdits);
        if (answer == kAnswerCancel) return false;
        if (answer == kAnswerYes) {
            SaveRecordAs();
            if (RecordModified()) return false;  // the save was cancelled or failed: keep the edits
        }
    }
    NewRecord();
    SendMessage(this, UM_REFRESH_PANE);
    return true;
}

// ---- file commands

std::string MainWindow::DialogFolder() const {
    if (!currentPath_.empty()) {
        const QFileInfo current(QString::fromStdString(currentPath_));
        if (current.absoluteDir().exists()) return current.absolutePath().toStdString();
    }
    return QDir::homePath().toStdString();
}

bool MainWindow::ConfirmDiscardChanges() {
    if (!RecordModified()) return true;
    const int answer = AskSaveFirst(SaveFirstReason::kOpen);
    if (answer == kAnswerCancel) return false;
    return answer != kAnswerYes || SaveRecord();
}

int MainWindow::OpenRecordDialog() {
    if (!ConfirmDiscardChanges()) return 0;
    std::string path;
    {
        WorkingDirectoryGuard guard;
        path = Prompter::Current().OpenFileName("열기", DialogFolder(), kOpenFilter);
    }
    if (path.empty() || !LoadRecordFile(path)) return 0;
    SetRecordModified(false);
    return 1;
}

int MainWindow::OpenRecordFile(const std::string& path) {
    if (ConfirmDiscardChanges()) LoadRecordFile(path);
    return 0;
}

bool MainWindow::LoadRecordFile(const std::string& path) {
    WorkingDirectoryGuard guard;
    // A file that cannot be opened leaves the record, its path and the stories as they were,
    // so a later Save cannot write the old record over the refused file.
    const SgfFile::Loaded loaded = SgfFile::Load(path);
    if (!loaded.refusal.empty()) {
        Prompter::Current().MessageBox(loaded.refusal, kAppTitle, kButtonsOk);
        return false;
    }
    openDirectory_ = guard.Path();
    StopQuiz();  // the reset keeps the mode: no quiz on a record that is gone
    SendCommand(this, kTabReference);
    if (history_) history_->DestroyAll();
    currentPath_ = path;
    file_.SetBoard(&board_->Logic());
    const SgfReadResult result = file_.OpenDocument(loaded.document);
    QDir::setCurrent(QString::fromStdString(openDirectory_));
    openDirectory_.clear();
    UpdateTitle();
    if (!result.message.empty()) Prompter::Current().MessageBox(result.message, kAppTitle, kButtonsOk);
    if (view_) {
        view_->StartRecord();
        // The board was reset; it shows the record as the view pane's display menu says.
        view_->ResetDisplay();
    }
    if (reference_) reference_->StartRecord();
    if (input_) input_->LoadForm(file_.Info());
    // The view tab once this command is done.
    QCoreApplication::postEvent(this, new CommandEvent(kTabView, kCmdClicked));
    board_->UpdateForwardButtons();
    if (BoardControl* c = board_->Control()) c->update();
    SendMessage(this, UM_REFRESH_PANE);
    return true;
}

void MainWindow::OpenHandedOver(const std::string& path) {
    // To the front first, so that the question is asked over the window it is about.
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    if (RecordModified()) {
        const int answer = AskSaveFirst(SaveFirstReason::kOpen);
        if (answer != kAnswerYes && answer != kAnswerNo) return;
        if (answer == kAnswerYes) {
            SaveRecordAs();
            if (RecordModified()) return;  // not saved after all: the edits stay open
        }
    }
    // As with the open command, the question has been asked, so the new record starts unmodified.
    if (LoadRecordFile(path)) SetRecordModified(false);
}

bool MainWindow::WriteRecordFiles(const std::string& path) {
    file_.SetBoard(&board_->Logic());
    if (input_) input_->SaveForm(file_.Info());
    const RecordPaths paths = RecordPathsFor(path);
    const bool plainWritten = file_.WritePlainRecord(paths.plain);
    // The message names the file: a save writes two, and either may be the one that failed.
    const auto failed = [](const std::string& file) {
        Prompter::Current().MessageBox("Error File Save\n" + file, kAppTitle, kButtonsOk);
    };
    if (!plainWritten) failed(paths.plain);
    const int stories = history_ ? history_->StoryCount() : 0;
    bool extendedWritten = true;
    // A chosen .sgfx is written even without stories, so the file the user named is current.
    if (stories > 0 || paths.extendedChosen) {
        StoryList none;
        StoryQuery& query = history_ ? static_cast<StoryQuery&>(*history_) : none;
        extendedWritten = file_.WriteExtendedRecord(paths.extended, query);
        if (!extendedWritten) failed(paths.extended);
    }
    // Stories stay unsaved while their file could not be written.
    if (history_) history_->ClearWritten(stories > 0 && extendedWritten);
    return plainWritten && extendedWritten;
}

void MainWindow::OfferUnaddedDiagram() {
    // A diagram entered but never added is not part of the record: saved without a word, it
    // would be gone once the saved record is closed.
    if (!reference_ || !reference_->HasUnaddedDiagram()) return;
    if (ShowMessagePopup(ReferencePane::kAddBeforeSaving, kButtonsYesNo) == kAnswerYes)
        reference_->AddEnteredDiagram();
}

bool MainWindow::SaveRecord() {
    if (currentPath_.empty()) return SaveRecordAs();
    OfferUnaddedDiagram();
    WorkingDirectoryGuard guard;
    if (!WriteRecordFiles(currentPath_)) return false;
    SetRecordModified(false);
    return true;
}

bool MainWindow::SaveRecordAs() {
    OfferUnaddedDiagram();
    WorkingDirectoryGuard guard;
    std::string path = Prompter::Current().SaveFileName("다른 이름으로 저장", DialogFolder(), kSaveFilter);
    if (path.empty()) return false;
    if (QFileInfo(QString::fromStdString(path)).suffix().isEmpty()) path += ".SGF";
    if (!WriteRecordFiles(path)) return false;
    SetRecordModified(false);
    return true;
}

// ---- the frame: dragging, resizing, dropping

HitArea MainWindow::HitAt(QPoint global) const {
    return MainHitTest(global, QRect(mapToGlobal(QPoint(0, 0)), size()));
}

void MainWindow::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        const HitArea a = HitAt(e->globalPosition().toPoint());
        // A maximised window keeps its size.
        if ((a == HitArea::Caption || !isMaximized()) && StartFrameDrag(this, a)) return;
    }
    SkinWindow::mousePressEvent(e);
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && HitAt(e->globalPosition().toPoint()) == HitArea::Caption) {
        onCommand(kMaximise);
        return;
    }
    SkinWindow::mouseDoubleClickEvent(e);
}

void MainWindow::mouseMoveEvent(QMouseEvent* e) {
    setCursor(ResizeCursor(isMaximized() ? Qt::Edges() : EdgesOf(HitAt(e->globalPosition().toPoint()))));
    SkinWindow::mouseMoveEvent(e);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* e) {
    const QList<QUrl> urls = e->mimeData()->urls();
    // Only the first of several dropped files is opened.
    if (!urls.isEmpty() && urls.first().isLocalFile()) {
        OpenRecordFile(urls.first().toLocalFile().toStdString());
        e->acceptProposedAction();
    }
}

}  // namespace velmora
