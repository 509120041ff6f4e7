#pragma once

#include <string>

#include "record/ReferenceDiagram.h"
#include "skin/SkinWindow.h"

namespace velmora {

class BoardControl;
class BoardPanel;

// One edit story (Skin\HistoryWnd.xml, 150 × 170): a bookmark of a move of the main line or
// of a reference diagram, with the side-pane tab that was open, shown as a small preview board
// (control 200, mode 8) under its caption "%d수" (202). A click on the board recalls the story
// on the main board; a double click recalls it without leaving the diagram first; the close
// button (100) hides the card and asks the pane to remove it.
class StoryCard : public SkinWindow {
    Q_OBJECT
  public:
    static constexpr int kWidth = 150;
    static constexpr int kHeight = 170;

    // A card of the pane; mainBoard (not owned) is where the story is taken from and recalled.
    StoryCard(QWidget* pane, BoardPanel* mainBoard);

    // Builds the card hidden from its skin; false when the skin gave nothing.
    bool Create();
    // Takes the main board's position (main line or the open diagram) into the preview board
    // and records its move, diagram, board index and tab (200–202, else −1 for none).
    void TakeFromMainBoard(int tab);
    // Recalls the story on the main board: its tab, this card lit and the others not, the main
    // line at its move, then its diagram at its board index. leaveDiagram off keeps the
    // diagram shown now until the story's own one is opened.
    void Recall(bool leaveDiagram = true);
    // Hides the card, marks it closed and posts the removal to the pane.
    void Close();
    // Lights or darkens the active-story lamp (301).
    void SetActive(bool active);
    bool IsActive() const;

    // Taken inside a diagram being entered that was never added: it has no name yet.
    bool InEnteredDiagram() const { return entered_; }
    // The diagram it was taken in was stored under key: the story points into it now.
    void NameDiagram(const DiagramKey& key) {
        name_ = key;
        entered_ = false;
    }
    int MoveNumber() const { return moveNumber_; }
    const DiagramKey& Name() const { return name_; }
    int BoardIndex() const { return boardIndex_; }
    int Tab() const { return tab_; }
    // The story's number as it was given (a file's HI value), written back as it came.
    int Number() const { return number_; }
    bool IsClosed() const { return closed_; }
    void SetClosed(bool closed) { closed_ = closed; }
    // Written in the extended record of the save under way.
    bool IsWritten() const { return written_; }
    void SetWritten(bool written) { written_ = written; }
    // Not yet in a saved extended record.
    bool IsUnsaved() const { return unsaved_; }
    void SetUnsaved(bool unsaved) { unsaved_ = unsaved; }
    // 1-based place in the pane's list.
    int PositionNumber() const { return position_; }
    void SetPositionNumber(int n) { position_ = n; }
    BoardControl* Board() const;

  protected:
    void onCommand(int id) override;
    bool onMessage(int message, std::intptr_t wParam, std::intptr_t lParam) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

  private:
    BoardPanel* mainBoard_;
    int moveNumber_ = 0;
    DiagramKey name_;
    int boardIndex_ = 0;
    int tab_ = -1;
    int number_ = -1;
    bool entered_ = false;
    bool closed_ = false;
    bool written_ = false;
    bool unsaved_ = true;
    int position_ = 0;
};

}  // namespace velmora
