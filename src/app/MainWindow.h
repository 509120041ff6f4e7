#pragma once

#include <QPoint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/BoardPanel.h"
#include "app/NewRecordDialog.h"
#include "board/SgfFile.h"
#include "platform/WindowFrame.h"
#include "skin/SkinWindow.h"

namespace velmora {

class EditHistoryPane;
class InputPane;
class KeyControl;
class ReferencePane;
class SkinButton;
class SplitDialog;
class ViewPane;

// One item of a pop-up menu; an id of 0 is a separator.
struct MenuItem {
    MenuItem(int id = 0, std::string text = {}, std::string shortcut = {})
        : id(id), text(std::move(text)), shortcut(std::move(shortcut)) {}
    int id;
    std::string text;
    std::string shortcut;  // the key shown beside the text ("Ctrl+O"), "" for none
};

// The editor's top-level window (Skin\MainWnd.xml): the menus, tabs, window buttons and vendor
// links; it owns the board pane, the side panes, the edit-story column and the split dialog,
// lays them out on every size change, and is the hub the panes and the board reach each other
// through. One instance exists while the program runs.
class MainWindow : public SkinWindow {
    Q_OBJECT
public:
    // Runs a pop-up menu at a screen point → the chosen item's id, 0 when none was chosen.
    using MenuRunner = std::function<int(const std::vector<MenuItem>& items, QPoint at)>;
    // Asks the save-first question for a new record or an open → 6 save first, 7 do not
    // save, 2 cancel.
    using NewRecordQuestion = std::function<int(SaveFirstReason)>;

    MainWindow();
    ~MainWindow() override;

    // The one main window, null before it is made and after it is gone.
    static MainWindow* Instance();

    // Builds the window from its skin and creates the panes, maximised unless maximise is off
    // (it then keeps its skin size, centred) → false when the skin gave nothing.
    bool Create(bool maximise = true);

    BoardPanel& Board() { return *board_; }
    const BoardPanel& Board() const { return *board_; }
    // The application's record file, linked to the main board.
    SgfFile& File() { return file_; }
    ViewPane* View() const { return view_; }
    InputPane* Input() const { return input_; }
    ReferencePane* Reference() const { return reference_; }
    EditHistoryPane* History() const { return history_; }
    SplitDialog* Split() const { return split_.get(); }
    const std::string& CurrentPath() const { return currentPath_; }

    // Maximises the window; it also fills the screen itself where no window manager does.
    void Maximise();
    // Back to the size and place it had before it was maximised.
    void Restore();

    // Hides the side panes, checks only tab tabId (200, 201, 202) and shows the pane of the
    // first checked tab.
    void SelectTab(int tabId);
    // 202 when tab 202 is checked, else 201 when 201 is, else 200.
    int CurrentTab() const;
    // Places every pane for the current client size and shows or hides the vendor links.
    void LayoutPanes();

    // File commands. Both opens first ask the save-first question, worded for an open, when
    // the record holds unsaved changes (Cancel, or a save that fails, keeps everything).
    // OpenRecordDialog → 1 when a record was opened (RecordModified cleared), else 0.
    int OpenRecordDialog();
    // Opens path (the command line, a dropped file), RecordModified kept → 0.
    int OpenRecordFile(const std::string& path);
    // A record handed over by a later start: the window comes to the front, the unsaved-changes
    // question is asked when the open record was modified (Cancel keeps it), then path opens.
    void OpenHandedOver(const std::string& path);
    // Writes the record to the current path (Save As without one), and the extended record
    // beside it when stories exist; "Error File Save" and its path for a file that fails →
    // true when all was written (RecordModified is then cleared).
    bool SaveRecord();
    // Asks for a path (".SGF" added when it has no suffix) and writes there as Save does; the
    // current path stays → true when written.
    bool SaveRecordAs();
    // Runs the print window over the record, with the header texts of the game-information form.
    void Print();
    // Saves the board pane as a JPEG in the desktop's capture folder and says where, or why not.
    void Screenshot();
    // Resets the board and places count handicap stones; with stones, white moves next.
    void SetHandicap(int count);
    // Empties the record: no path, the file and board reset, panes refreshed, stories gone.
    void NewRecord();
    // The new-record command: asks first when a sequence is in progress or the record has
    // unsaved edits (Save As on 6, nothing on 2), then makes the new record → false when the
    // question was cancelled or unsaved edits could not be saved.
    bool StartNewRecord();
    // Shows the split dialog in mode (0 split, 1 try placing); a notice when the record has no
    // moves; a dialog already shown comes to the front as it is.
    void ShowSplitDialog(int mode);
    // Adds an edit story of the board's position for tab, or the current tab; at move 0 a notice
    // says why there is none.
    void AddEditStory(int tab = -1);
    // Shows the stored diagram named key on the board; "원래대로" returns to the main line.
    void ShowReferenceDiagram(const std::string& key);
    // Stores the reference diagram being entered as a new one → its key, "same" when an equal
    // one is stored, "" when there is nothing to store; "err AddReference" when the store refuses.
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
    // Close with the question: when a sequence is in progress and the record was modified,
    // asks to save (Yes runs Save As, No discards); then the window closes. Escape on the
    // question keeps the window open.
    void CloseWithQuestion();
    // The close question, asked when the record has unsaved edits → true when the window may
    // close (Yes and the record saved, No, or nothing to ask), false when the question was
    // dismissed or the save did not happen.
    bool ConfirmClose();

    // The pop-up menus: file (1501), help (1503), context (300).
    static std::vector<MenuItem> FileMenu();
    static std::vector<MenuItem> HelpMenu();
    static std::vector<MenuItem> ContextMenu();

    // Replace how menus run and how the new-record question is asked (tests script them).
    void SetMenuRunner(MenuRunner runner) { menuRunner_ = std::move(runner); }
    void SetNewRecordQuestion(NewRecordQuestion q) { newRecordQuestion_ = std::move(q); }
    void SetNewRecordQuestion(std::function<int()> q) {
        newRecordQuestion_ = [q = std::move(q)](SaveFirstReason) { return q(); };
    }

protected:
    void OnSkinBuilt() override;
    void onCommand(int id) override;
    bool onMessage(int message, std::intptr_t wParam, std::intptr_t lParam) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void RefreshVisiblePane();
    // The question before the record is replaced for reason → 6 save first, 7 do not save,
    // 2 cancel.
    int AskSaveFirst(SaveFirstReason reason);
    // Opens the record at path → false, with a message and nothing changed, when it is refused.
    bool LoadRecordFile(const std::string& path);
    // With unsaved changes, asks whether to save them first → false when the user cancels or
    // the save fails.
    bool ConfirmDiscardChanges();
    // Writes the plain and, when stories exist, the extended record for path → true when all
    // was written.
    bool WriteRecordFiles(const std::string& path);
    // Before a save: asks whether a diagram entered but never added goes in first (Yes adds it).
    void OfferUnaddedDiagram();
    // Where the file dialogs start: the current record's folder, else the home folder.
    std::string DialogFolder() const;
    void RunTabStep(int tab);
    void ShowMenu(int buttonId, const std::vector<MenuItem>& items);
    void RunMenuCommand(int id);
    void ShowHelp();
    void ShowVersion();
    void UpdateWindowButtons();
    void UpdateTitle();
    SkinButton* Button(int id) const;
    HitArea HitAt(QPoint global) const;

    std::unique_ptr<BoardPanel> board_;
    ViewPane* view_ = nullptr;
    InputPane* input_ = nullptr;
    ReferencePane* reference_ = nullptr;
    EditHistoryPane* history_ = nullptr;
    std::unique_ptr<SplitDialog> split_;
    SgfFile file_;
    QRect normalGeometry_;
    std::string currentPath_;
    std::string openDirectory_;
    int menuButtonPressed_ = 0;
    bool closeConfirmed_ = false;  // the close question was answered; the posted close goes through
    bool startMaximised_ = true;
    MenuRunner menuRunner_;
    NewRecordQuestion newRecordQuestion_;
    std::unique_ptr<KeyControl> keys_;
};

}  // namespace velmora
