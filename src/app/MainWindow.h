#pragma once

#include <QPoint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/MainMenus.h"
#include "app/document/RecordDocument.h"
#include "app/panes/BoardPanel.h"
#include "app/panes/SidePanes.h"
#include "app/dialogs/SplitDialog.h"

namespace velmora {

class EditHistoryPane;
class InputPane;
class KeyControl;
class LibraryDialog;
class ReferencePane;
class SkinButton;
class ViewPane;

// The editor's top-level window (Skin\MainWnd.xml): the frame with its menus, tabs, window
// buttons and vendor links. It owns the board pane, the side panes, the edit-story column, the
// split dialog and the open record's document, lays them out on every size change, routes
// commands to them and is the hub the panes and the board reach each other through. One
// instance exists while the program runs.
class MainWindow : public MainFrame {
    Q_OBJECT
public:
    // Runs a pop-up menu at a screen point → the chosen item's id, 0 when none was chosen.
    using MenuRunner = std::function<int(const std::vector<MenuItem>& items, QPoint at)>;
    MainWindow();
    ~MainWindow() override;

    // The one main window, null before it is made and after it is gone.
    static MainWindow* Instance();

    // Builds the window from its skin and creates the panes, maximised unless maximise is off
    // (it then keeps its skin size, centred) → false when the skin gave nothing.
    bool Create(bool maximise = true);

    BoardPanel& Board() { return *board_; }
    const BoardPanel& Board() const { return *board_; }
    // The open record's files and file commands.
    RecordDocument& Document() { return document_; }
    // The application's record file, linked to the main board.
    SgfFile& File() { return document_.File(); }
    ViewPane* View() const { return panes_.View(); }
    InputPane* Input() const { return panes_.Input(); }
    ReferencePane* Reference() const { return panes_.Reference(); }
    EditHistoryPane* History() const { return history_; }
    SplitDialog* Split() const { return split_.get(); }
    const std::string& CurrentPath() const { return document_.CurrentPath(); }

    // Hides the side panes, checks only tab tabId (200, 201, 202) and shows the pane of the
    // first checked tab.
    void SelectTab(int tabId);
    // 202 when tab 202 is checked, else 201 when 201 is, else 200.
    int CurrentTab() const;
    // Places every pane for the current client size and shows or hides the vendor links.
    void LayoutPanes();

    // The file commands, as the document carries them out (see RecordDocument).
    int OpenRecordDialog() { return document_.OpenWithDialog(); }
    int OpenRecordFile(const std::string& path) { return document_.OpenFile(path); }
    bool SaveRecord() { return document_.Save(); }
    bool SaveRecordAs() { return document_.SaveAs(); }
    // A record handed over by a later start: the window comes to the front, then the document
    // opens it (asking first about unsaved work).
    void OpenHandedOver(const std::string& path);
    // Shows text in the status line under the board.
    void SetStatus(const std::string& text) { SetShapeText(kShapeStatus, text); }
    // The title and the name shape name the record's file ("새 기보" without one), with " *"
    // while it holds unsaved changes.
    void UpdateTitle();
    // Before another record is loaded: no quiz, the reference tab, no stories.
    void LeaveRecord();
    // After a record was loaded: the title, message (when not empty), the panes and the view tab.
    void ShowOpenedRecord(const std::string& message);
    // Runs the print window over the record, with the header texts of the game-information form.
    void Print();
    // Saves the board pane as a JPEG in the desktop's capture folder and says where, or why not.
    void Screenshot();
    // Resets the board and places count handicap stones; with stones, white moves next.
    void SetHandicap(int count) { board_->Logic().SetUpHandicap(count); }
    // Empties the record: no path, the file and board reset, panes refreshed, stories gone.
    void NewRecord();
    // The new-record command: the document's save-first question (a save on 6, nothing on 2),
    // then the new record → false when the question was cancelled or unsaved edits could not
    // be saved.
    bool StartNewRecord();
    // The record library window (made on first use, over the index in the user's data folder);
    // ShowLibrary shows it and brings it to the front.
    LibraryDialog& Library();
    void ShowLibrary();
    // Shows the split dialog in mode (0 split, 1 try placing), as SplitDialog::Present does.
    void ShowSplitDialog(int mode) { if (split_) split_->Present(mode); }
    // Adds an edit story of the board's position for tab, or the current tab; at move 0 a notice
    // says why there is none.
    void AddEditStory(int tab = -1);
    // Shows the stored diagram named key on the board; "원래대로" returns to the main line.
    void ShowReferenceDiagram(const std::string& key);
    // Stores the reference diagram being entered as a new one → its key, "same" when an equal
    // one is stored, "" when there is nothing to store or the store refuses (the record says why).
    std::string StoreReferenceDiagram();
    // Stores the open diagram again under the key it was opened with, replacing the stored one.
    void ReplaceReferenceDiagram();
    // Deletes the stored diagram named key (and leaves it when it is the open one) and the story
    // pointing into it.
    void DeleteReferenceDiagram(const std::string& key);
    // Asks whether a move may discard the later moves → the answer (1 OK, 2 Cancel).
    int ConfirmPlacement();
    // The board panel's forwarded commands 119, 121–124, 130.
    void OnBoardPanelCommand(int id);
    // Stops the view pane's quiz when one runs.
    void StopQuiz();
    // Close with the document's save-first question (예 saves, 아니오 discards); then the
    // window closes. 취소 or Escape on the question keeps the window open.
    void CloseWithQuestion();
    // The close question, asked when the record has unsaved edits → true when the window may
    // close (예 and the record saved, 아니오, or nothing to ask), false on 취소, a dismissed
    // question or a save that did not happen.
    bool ConfirmClose();

    // Replaces how menus run (tests script them).
    void SetMenuRunner(MenuRunner runner) { menuRunner_ = std::move(runner); }

protected:
    void OnSkinBuilt() override;
    void onCommand(int id) override;
    bool onMessage(int message, std::intptr_t wParam, std::intptr_t lParam) override;
    void resizeEvent(QResizeEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void RefreshVisiblePane();
    // A stored diagram was replaced or deleted: the record is modified and the lists rebuilt.
    void DiagramsChanged();
    void RunTabStep(int tab);
    void ShowMenu(int buttonId, const std::vector<MenuItem>& items);
    void ShowHelp();
    void ShowVersion();
    SkinButton* Button(int id) const;

    std::unique_ptr<BoardPanel> board_;
    SidePanes panes_;
    EditHistoryPane* history_ = nullptr;
    std::unique_ptr<SplitDialog> split_;
    std::unique_ptr<LibraryDialog> library_;
    int menuButtonPressed_ = 0;
    bool closeConfirmed_ = false;  // the close question was answered; the posted close goes through
    bool startMaximised_ = true;
    MenuRunner menuRunner_;
    RecordDocument document_;
    std::unique_ptr<KeyControl> keys_;
};

}  // namespace velmora
