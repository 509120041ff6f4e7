#include "app/MainWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "app/AppInfo.h"
#include "app/CommandIds.h"
#include "app/KeyControl.h"
#include "app/MainLayout.h"
#include "app/ScreenCapture.h"
#include "app/VendorLinks.h"
#include "app/dialogs/HelpDialog.h"
#include "app/dialogs/LibraryDialog.h"
#include "app/dialogs/MessagePopup.h"
#include "app/dialogs/PrintDialog.h"
#include "app/dialogs/SplitDialog.h"
#include "app/dialogs/VersionDialog.h"
#include "app/panes/EditHistoryPane.h"
#include "app/panes/InputPane.h"
#include "app/panes/ReferencePane.h"
#include "app/panes/ViewPane.h"
#include "board/BoardControl.h"
#include "game/RecordModified.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompter.h"
#include "record/InfoTexts.h"
#include "skin/SkinButton.h"

namespace velmora {
namespace {

MainWindow* g_instance = nullptr;

constexpr const char* kPlacementQuestion = "착수를 하시면 이전 착수데이터는 삭제됩니다.<br> 착수하시겠습니까?<br>";
// Said instead of doing nothing when a button has nothing to work on yet.
constexpr const char* kNoStoryAtStartNotice =
    "<br>처음 장면에는 편집 스토리를 추가할 수 없습니다.<br>수순을 진행한 다음 추가해 주세요.";
}  // namespace

MainWindow::MainWindow()
    : menuRunner_([](const std::vector<MenuItem>& items, QPoint at) { return RunPopupMenu(items, at); }),
      document_(*this),
      keys_(std::make_unique<KeyControl>(*this)) {
    g_instance = this;
    SetRecordModifiedObserver([this](bool) { UpdateTitle(); });
    setWindowTitle(QString::fromUtf8(kAppTitle));
    setMinimumSize(900, 750);
    setAcceptDrops(true);
    setMouseTracking(true);
}

LibraryDialog& MainWindow::Library() {
    if (!library_)
        library_ = std::make_unique<LibraryDialog>(this, LibraryIndex::DefaultPath(),
                                                   [this](const std::string& path, int game, int move) {
                                                       raise();
                                                       activateWindow();
                                                       document_.OpenGameAt(path, game, move);
                                                   });
    return *library_;
}

void MainWindow::ShowLibrary() { Library().Present(); }

MainWindow::~MainWindow() {
    if (split_) split_->close();
    if (library_) library_->close();
    if (g_instance == this) {
        g_instance = nullptr;
        SetRecordModifiedObserver({});
    }
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
    File().SetBoard(&board_->Logic());
    history_ = new EditHistoryPane(this);
    history_->SetSkinFile("Skin\\EditHistory.xml");
    history_->CreateFromSkin();
    history_->show();
    history_->SetMainBoard(board_.get());
    File().SetStorySink(history_);
    panes_.Create(this);
    split_ = std::make_unique<SplitDialog>(this);
    SetTooltipsEnabled(true);

    SetShapeText(kShapeVersion, kVersionText);
    UpdateTitle();
    LayoutPanes();
    SelectTab(kTabInput);
    SendCommand(this, kTabInput);
    update();
    PlaceCentred(startMaximised_);
}

// ---- tabs and panes

SkinButton* MainWindow::Button(int id) const { return FindControlAs<SkinButton>(id); }

void MainWindow::SelectTab(int tabId) {
    for (int id : {kTabView, kTabInput, kTabReference})
        if (SkinButton* b = Button(id)) b->SetChecked(false);
    if (SkinButton* b = Button(tabId)) b->SetChecked(true);
    // The pane of the first checked tab; none where the skin has no such tab.
    int shown = 0;
    for (int id : {kTabReference, kTabInput, kTabView})
        if (SkinButton* b = Button(id); b && b->IsChecked()) shown = id;
    panes_.Show(shown);
}

int MainWindow::CurrentTab() const {
    if (SkinButton* b = Button(kTabReference); b && b->IsChecked()) return kTabReference;
    if (SkinButton* b = Button(kTabInput); b && b->IsChecked()) return kTabInput;
    return kTabView;
}

void MainWindow::RunTabStep(int tab) {
    if (!View() || !Input() || !Reference()) return;
    panes_.Enter(tab, File().Info(), *board_);
    board_->UpdateForwardButtons();
    // The keyboard goes to the board, not to a field of the pane just hidden or shown.
    if (BoardControl* c = board_->Control()) c->setFocus();
    SendMessage(this, UM_REFRESH_PANE);
}

void MainWindow::RefreshVisiblePane() {
    // A move played before the end cuts the line, so the way forward is judged again.
    if (board_) board_->UpdateForwardButtons();
    panes_.RefreshShown();
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
    panes_.Layout(client);
    SetWindowRegion(this, PolygonRegion(MainWindowOutline(client, 0, 0)));
}

void MainWindow::resizeEvent(QResizeEvent* e) {
    MainFrame::resizeEvent(e);
    LayoutPanes();
}

void MainWindow::UpdateTitle() {
    const std::string name = CurrentPath().empty()
                                 ? std::string("새 기보")
                                 : QFileInfo(QString::fromStdString(CurrentPath())).fileName().toStdString();
    const std::string shown = RecordModified() ? name + " *" : name;
    SetShapeText(kShapeRecordName, shown);
    setWindowTitle(QString::fromUtf8(kAppTitle) + " - " + QString::fromStdString(shown));
}

// ---- commands

void MainWindow::onCommand(int id) {
    switch (id) {
        case kCmdMinimise: showMinimized(); break;
        case kCmdMaximise:
        case kCmdRestore: isMaximized() ? Restore() : Maximise(); break;
        case kCmdExit:
        case kCmdClose: CloseWithQuestion(); break;
        case kTabView:
        case kTabInput:
        case kTabReference:
            // A diagram being entered does not follow the user to another tab unasked: the
            // tab clicked waits for the answer, and 취소 stays where it is.
            if (id != kTabReference && Reference() && Reference()->HasUnaddedDiagram()) {
                SelectTab(panes_.Shown());
                if (!Reference()->SettleUnaddedDiagram(DiagramLeaving::kLeave)) break;
            }
            SelectTab(id);
            RunTabStep(id);
            break;
        case kCmdContextMenu: {
            const int chosen = menuRunner_(ContextMenu(), QCursor::pos());
            if (chosen) onCommand(chosen);
            break;
        }
        case kCmdFileMenu:
            menuButtonPressed_ = 1;
            ShowMenu(kCmdFileMenu, FileMenu(document_.RecentPaths()));
            break;
        case kCmdHelp:
            menuButtonPressed_ = 1;
            if (SkinButton* b = Button(kCmdHelp)) b->SetPressed(false);
            ShowHelp();
            break;
        case kCmdHelpMenu:
            menuButtonPressed_ = 1;
            ShowMenu(kCmdHelpMenu, HelpMenu());
            break;
        case kMenuOpen: document_.OpenWithDialog(); break;
        case kMenuSave: document_.Save(); break;
        case kMenuSaveAs: document_.SaveAs(); break;
        case kMenuPrint: Print(); break;
        case kMenuLibrary: ShowLibrary(); break;
        case kMenuVersion: ShowVersion(); break;
        case kMenuHelp: ShowHelp(); break;
        default:
            if (const std::string url = VendorCommandUrl(id); !url.empty()) OpenInBrowser(url);
            if (id >= kMenuRecent) document_.OpenRecent(id - kMenuRecent);
            break;
    }
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
    help.ExecCentredOver(this);
}

void MainWindow::ShowVersion() {
    VersionDialog version(kVersionText, this);
    version.ExecCentredOver(this);
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

bool MainWindow::ConfirmClose() { return !board_ || document_.SaveFirst(GivingWay::kClose); }

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
    MainFrame::closeEvent(e);
}

// ---- operations for the panes and the board

void MainWindow::OnBoardPanelCommand(int id) {
    switch (id) {
        case kCmdSplit: ShowSplitDialog(SplitDialog::kTryPlacing); break;
        case kCmdOpen: document_.OpenWithDialog(); break;
        case kCmdScreenshot: Screenshot(); break;
        case kCmdSave: document_.Save(); break;
        case kCmdPrint: Print(); break;
        case kCmdAddStory: AddEditStory(); break;
        default: break;
    }
}

void MainWindow::Print() {
    GameInfo info = File().Info();
    if (Input()) Input()->SaveForm(info);
    PrintDialog dialog(this);
    const PrintTexts texts = MakePrintTexts(info);
    const auto source = BoardPrintSource(board_->Logic(), texts[kPrintKomiHandicap]);
    dialog.SetSource(texts, board_->Logic().Record().MainLineLength(),
                     SourceDiagramPainter(source), source, document_.CurrentPath());
    dialog.ExecCentredOver(this);
}

void MainWindow::Screenshot() {
    const std::string folder = CaptureFolder();
    const CaptureResult result = CaptureWindow(board_.get(), folder);
    Prompter::Current().MessageBox(CaptureMessage(result, folder), {}, kButtonsOk);
}

void MainWindow::StopQuiz() {
    if (View() && IsQuizMode(board_->Logic().Mode())) View()->StopQuiz();
}

int MainWindow::ConfirmPlacement() {
    const int move = board_->Logic().CurrentMove();
    return ShowMessagePopup(kPlacementQuestion + history_->DiscardAnnouncement(move), kButtonsOkCancel);
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
    if (View()) View()->RequestFreshList();
    const std::string result = logic.CommitDiagram();
    if (!result.empty() && result != "same") SetRecordModified(true);
    return result;
}

void MainWindow::ReplaceReferenceDiagram() {
    if (board_->Logic().ReplaceOpenDiagram()) DiagramsChanged();
}

void MainWindow::DeleteReferenceDiagram(const std::string& key) {
    if (!board_->Logic().DeleteStoredDiagram(key)) return;
    board_->UpdateForwardButtons();
    if (history_) history_->RemoveStory(key);
    DiagramsChanged();
}

void MainWindow::DiagramsChanged() {
    SetRecordModified(true);
    if (View()) View()->RequestFreshList();
    SendMessage(this, UM_REFRESH_PANE);
}

void MainWindow::NewRecord() {
    SetStatus("");
    document_.Clear();
    StopQuiz();  // the reset keeps the mode: no quiz on a record that is gone
    board_->Logic().ResetBoard();
    panes_.StartRecord(File().Info(), false);
    if (history_) history_->DestroyAll();
    UpdateTitle();
}

bool MainWindow::StartNewRecord() {
    if (!document_.SaveFirst(GivingWay::kNewRecord) || !document_.ChooseBoardSize()) return false;
    NewRecord();
    SendMessage(this, UM_REFRESH_PANE);
    return true;
}

// ---- the record shown

void MainWindow::LeaveRecord() {
    SetStatus("");  // what it said (a save) was about the record that goes
    StopQuiz();  // the reset keeps the mode: no quiz on a record that is gone
    SendCommand(this, kTabReference);
    if (history_) history_->DestroyAll();
}

void MainWindow::ShowOpenedRecord(const std::string& message) {
    UpdateTitle();
    if (!message.empty()) Prompter::Current().MessageBox(message, kAppTitle, kButtonsOk);
    panes_.StartRecord(File().Info(), true);
    // The view tab once this command is done.
    QCoreApplication::postEvent(this, new CommandEvent(kTabView, kCmdClicked));
    board_->UpdateForwardButtons();
    if (BoardControl* c = board_->Control()) c->update();
    SendMessage(this, UM_REFRESH_PANE);
}

void MainWindow::OpenHandedOver(const std::string& path) {
    BringToFront();  // so that a question is asked over the window it is about
    document_.OpenChosen(path);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* e) {
    const QList<QUrl> urls = e->mimeData()->urls();
    // Only the first of several dropped files is opened.
    if (!urls.isEmpty() && urls.first().isLocalFile()) {
        // The name as the system's bytes, which need not be UTF-8: the URL's percent-decoded path.
        document_.OpenFile(QByteArray::fromPercentEncoding(urls.first().path(QUrl::FullyEncoded).toLatin1()).toStdString());
        e->acceptProposedAction();
    }
}

}  // namespace velmora
