#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <string>
#include <utility>
#include <vector>

#include "game/BoardLogic.h"
#include "platform/Surface.h"
#include "record/BoardLines.h"

namespace velmora {

// Where the board lies in a client area of width × height. Divisions truncate toward zero.
struct BoardGeometry {
    static constexpr int kSmallestUnitLines = 9;
    int width = 0;
    int height = 0;
    bool coordinates = false;
    int lines = kDefaultBoardSize;  // N, the board's number of lines
    // Distance between two lines, the side of one point's square: never more than a board of
    // kSmallestUnitLines would have in the same client, so tiny boards keep stones of a
    // sensible size.
    int cell = 0;
    int pad = 0;   // margin between the board picture's edge and the first square
    int side = 0;  // S, the side of the board picture
    int x0 = 0;    // the board picture's top-left corner in the client area
    int y0 = 0;

    // The geometry of a board of lines lines in a width × height client with or without
    // coordinates; cell may be 0 or less for a client too small for a board.
    static BoardGeometry Compute(int width, int height, bool coordinates,
                                 int lines = kDefaultBoardSize);
    // The square of point (i, j), 0-based, in client coordinates.
    QRect PointRect(int i, int j) const;
    // Its centre, through which the lines pass.
    QPoint PointCentre(int i, int j) const;
    // The 1-based point under pixel (x, y), truncating toward zero; (−1, −1) for none.
    GridPoint HitTest(int x, int y) const;
};

// Colours of the board picture, as 0xRRGGBB.
namespace board_colors {
constexpr Rgb kGreyLine = 0x707070;
constexpr Rgb kFrameLight = 0xFFF8C1;
constexpr Rgb kFrameDark = 0x6F5101;
constexpr Rgb kFrameShadow = 0x0A1A36;
constexpr Rgb kCoordinate = 0x4B5257;
constexpr Rgb kHighlightOnBlack = 0xFFFF00;
constexpr Rgb kHighlightOnWhite = 0x0000FF;
constexpr Rgb kMark = 0x9600FF;
constexpr Rgb kHint = 0xFF0000;
}  // namespace board_colors

// The application-wide last-move-mark switch (on at start-up; the display menus toggle it).
bool LastMoveMarkShown();
void SetLastMoveMarkShown(bool on);
// The application-wide naming of the board's coordinates (the editor's own at start-up; the
// display menus choose, and the program remembers the choice).
CoordinateStyle BoardCoordinateStyle();
void SetBoardCoordinateStyle(CoordinateStyle style);

// The drawing half of a board: turns a BoardLogic's PointCells, marks, hints and display
// switches into a picture on off-screen surfaces (the empty board, the five-slot stone strip
// and the back buffer). It is the BoardLogic's view; a window shows the back buffer and is
// told through ShowRect and Invalidate which parts changed.
class BoardCanvas : public BoardView {
  public:
    // Draws logic (not owned; it must outlive the canvas). Nothing is drawn until the images
    // are set and the client size is known.
    explicit BoardCanvas(const BoardLogic& logic);
    ~BoardCanvas() override = default;

    // Loads the board texture and both stone images through the resource lookup → false
    // when one is missing (the canvas then draws only the background).
    bool LoadImages();
    // Takes the images directly (the stone images square and of one size).
    void SetImages(const Surface& texture, const Surface& black, const Surface& white);
    // The colour around the board (the control's skin colour).
    void SetBackground(Rgb color) { background_ = color; }
    Rgb Background() const { return background_; }

    // Device pixels per point (the screen's ratio, rounded): the pictures are drawn at that
    // resolution while the geometry, hit testing and shown squares stay in points. Takes
    // effect at the next Relayout.
    void SetDeviceScale(int scale);
    int DeviceScale() const { return scale_; }
    // The client size; takes effect at the next Relayout.
    void SetClientSize(int width, int height);
    // Recomputes the geometry; when the cell changed, the fonts, mark offsets, board surface
    // and stone strip; the back buffer is composed when next read or drawn on, so that the
    // many refreshes of opening a record compose it once. Does not invalidate.
    void Relayout();
    // Fills the back buffer: background, board, frame, coordinates, points, hints, marks.
    void Compose();

    // Draws the stone, number and flag marks of point (i, j) into the back buffer.
    void DrawPoint(int i, int j);
    // Copies the empty board's square of (i, j) into the back buffer.
    void RestorePoint(int i, int j);
    // Restores (i, j) and draws its PointCell when it shows anything.
    void UpdatePoint(int i, int j);
    // Hands the square of (i, j) to the window (ShowRect).
    void ShowPoint(int i, int j);
    // The translucent stone of kind (1 black, 2 white; 0 and 3 the bare board) at (i, j),
    // shown at once; other kinds, and points off the board, do nothing.
    void DrawPreviewStone(int i, int j, int kind);
    // Takes the preview off (i, j) and shows the square.
    void RemovePreviewStone(int i, int j);
    // Draws one mark with its underlay over its restored square and shows it; a mark without
    // a stone on a point that holds one is drawn on that stone.
    void DrawMark(const NaviStone& mark);

    // BoardView: the logic's changes.
    void OnPointChanged(int column, int row, bool show) override;
    void OnRefresh() override;
    void OnRedrawPoints() override;

    const BoardGeometry& Geometry() const { return geometry_; }
    // The geometry in the back buffer's device pixels (Geometry times the device scale).
    const BoardGeometry& PixelGeometry() const { return pix_; }
    // The back buffer, composed first when a relayout or redraw is still waiting (a reader
    // sees it as it always was; the canvas is never made const itself).
    const Surface& BackBuffer() const {
        const_cast<BoardCanvas*>(this)->ComposeIfPending();
        return back_;
    }
    const Surface& BoardSurface() const { return board_; }
    const Surface& StoneStrip() const { return strip_; }
    // The number fonts: for shown numbers below 100, and the narrower one for 100 and above.
    const QFont& NumberFont(int shownNumber) const;
    // How often the board surface and stone strip were rebuilt (they follow the cell only).
    int RebuildCount() const { return rebuilds_; }

  protected:
    // The window shows rect of the back buffer now (default: no window, nothing).
    virtual void ShowRect(const QRect& rect) { (void)rect; }
    // The window repaints the whole back buffer (default: nothing).
    virtual void Invalidate() {}

  private:
    enum Slot { kSlotBlack = 0, kSlotWhite = 1, kSlotMask = 2, kSlotScratch = 3, kSlotPreview = 4 };

    bool Ready() const { return geometry_.cell > 0 && !back_.isNull() && !board_.isNull(); }
    void ComposeIfPending() {
        if (composePending_) Compose();
    }
    void BuildBoardSurface();
    void BuildStoneStrip();
    void BuildFonts();
    // Draws strip slot through the mask into the back buffer square at (x, y).
    void DrawThroughMask(int slot, int x, int y);
    void DrawMarkShape(const NaviStone& mark, const QRect& square);
    void CopyPlainWood(int i, int j);
    // Draws one of the node's drawings (BoardLogic::Drawings): territory squares, an arrow or
    // a line.
    void DrawDrawing(const KeptProperty& drawing);
    void DrawPreviewIfHovering();
    // Copies the board picture into the back buffer with the position's stones in it → false
    // (nothing copied) when the mask or the buffer does not allow it.
    bool CopyBoardWithStones();
    // What each point shows (stone, number, flags, hint, marks, preview) as one comparable
    // string per point, column by column.
    std::vector<std::string> PointLooks() const;
    // Forgets what the square of (i, j) was drawn as: the next refresh draws it again.
    void ForgetLook(int i, int j);
    // Draws the square of (i, j) as a full compose leaves it.
    void RedrawSquare(int i, int j);
    // When only points changed since the last compose (same layout, images and colours, no
    // drawings across points), redraws and shows just their squares → false when a full
    // compose is needed instead.
    bool RefreshChangedPoints();

    const BoardLogic& logic_;
    Surface texture_;
    Surface wood_;  // the texture at the device scale
    Surface blackStone_;
    Surface whiteStone_;
    Rgb background_ = 0xC0C0C0;

    BoardGeometry geometry_;
    BoardGeometry pix_;
    int scale_ = 1;
    int builtCell_ = 0;  // the cell of the board surface and stone strip
    int builtLines_ = 0;  // the number of lines of the board surface
    int fontCell_ = 0;   // the cell of the fonts and mark offsets
    int rebuilds_ = 0;
    bool composePending_ = false;
    bool stonesComposed_ = false;  // while composing: the stones came with the board
    Surface board_;
    Surface strip_;
    // The mask's black run [from, to) of each row, or none when it is not one run a row.
    std::vector<std::pair<int, int>> maskSpans_;
    Surface back_;
    // The board's place in the back buffer when the buffer around it was last left plain
    // background (no coordinates), with that colour and the buffer's size.
    QRect plainAround_;
    Rgb plainColour_ = 0;
    QSize plainSize_;
    // What the back buffer shows, as composed: PointLooks, the background and the geometry
    // (empty looks when unknown or when drawings span points).
    std::vector<std::string> looks_;
    Rgb lookBackground_ = 0;
    BoardGeometry lookGeometry_;
    CoordinateStyle lookCoordinates_ = CoordinateStyle::kClassic;

    QFont wideFont_;
    QFont narrowFont_;
    QFont defaultFont_;
    int markR_ = 0;  // r = cell / 3
    int markS_ = 0;  // r · sin 60°
    int markH_ = 0;  // r · cos 60°
    int markA_ = 0;  // r · sin 45°
};

}  // namespace velmora
