#pragma once

#include <QImage>
#include <QRect>
#include <string>
#include <vector>

#include "record/BoardGrid.h"
#include "record/BoardLines.h"
#include "record/MoveRecord.h"
#include "record/ReferenceDiagram.h"

class QPainter;

namespace velmora {

class BoardLogic;

// What a game diagram (기보도) shows; the numbers are the print dialog's kind buttons.
enum ComposeKind : int {
    kComposeWhole = 200,    // the whole record, numbered from move 1
    kComposeCurrent = 201,  // up to the board's current move, with its reference diagram and marks
    kComposeRange = 202,    // moves first..last numbered on the position standing before first
    kComposeSplit = 203,    // one diagram of a split: moves after first numbered, up to last
};
// A range or split shows the stones standing at its start plain (captured ones gone) and
// numbers its own moves on the points empty then; its other moves, on points already used in
// the diagram, are listed below the board after the stone there (lettered when it has no
// number). Its caption names the moves it holds, the last no later than the record's end.

// The pens of a diagram: a printed page's heavy border and outlines, or a picture's thin ones.
// ExportPage: a diagram drawn at its slot on an exported page, whose pens grow with the width
// (unit a = W/1000 from W = 1001: grid a, stone outlines 3a, border 9a, else 3).
enum class DiagramPens { Print, Image, ExportPage };

// Coordinates around a diagram's board, named as around the editor's board (CoordinateStyle).
using DiagramCoordinates = CoordinateStyle;
// "usual" or "classic" → false for any other name (coordinates is left as it is).
bool DiagramCoordinatesByName(const std::string& name, DiagramCoordinates& coordinates);

// A stone at a 1-based point (colour 1 white, 2 black).
struct DiagramStone {
    int x = 0;
    int y = 0;
    int colour = 0;
    bool operator==(const DiagramStone&) const = default;
};

// What the composer reads of a record. Plain data: build it once and compose many diagrams.
struct DiagramSource {
    MainLine moves;  // the main line by move number
    // Kind 201: the board's main-line move shown (DisplayedMove), the moves of the reference
    // diagram it shows up to its current one (empty for none) and the marks it shows.
    int currentMove = 0;
    std::vector<MoveRecord> diagramMoves;
    std::vector<NaviStone> marks;  // 0-based points, as on the board
    // The game information's komi and handicap text, "komi/handicap" (e.g. "6.5/3점접바둑").
    std::string komiHandicap;
    // Stones set up before move 1; when there are any they stand in for the handicap text's.
    std::vector<DiagramStone> setupStones;
    // The board's number of lines.
    int size = kDefaultBoardSize;
    // The commentary before move 1, and the record's stored reference diagrams (in key order),
    // which printed commentary shows.
    std::string openingComment;
    std::vector<ReferenceDiagram> references;
};

// The source for a board: its record, its shown move, reference diagram and marks, and the
// komi-and-handicap text given.
DiagramSource DiagramSourceFromBoard(const BoardLogic& board, const std::string& komiHandicap);

// Which diagram to compose and how large.
struct DiagramRequest {
    int kind = kComposeWhole;  // ComposeKind
    int first = 0;             // kinds 202, 203: the first move b
    int last = 0;              // kinds 202, 203: the last move d
    int third = 0;             // kind 202: must not be negative; otherwise unused
    int width = 1050;  // W; the cell unit is G = W / (N + 2), the picture W × (W + 3·(W / 21))
    DiagramPens pens = DiagramPens::Image;
    // Labels around the board, in a margin the board shrinks to make (the picture keeps its size).
    DiagramCoordinates coordinates = DiagramCoordinates::kNone;
    // Kinds 202, 203: the diagram's own moves are numbered from 1 (on the board and in the
    // list) instead of by their move numbers.
    bool restartNumbers = false;
};

// A stone drawn on the board of the diagram.
struct PlannedStone {
    int x = 0;  // 1-based point
    int y = 0;
    int colour = 0;
    int move = 0;      // the move it stands for (chooses the font), 0 for none
    std::string text;  // its number or letter; empty for a plain stone
};

// One piece of the list of moves on used points, in list units: the picture's coordinates
// of a list drawn at full size (DiagramPlan::ListBox gives where it lands).
struct PlannedListItem {
    QRect box;
    int colour = 0;  // 0 the point's name (or "패스: "), 1/2 a small stone, −1 the arrow
    std::string text;  // "C7: ", a move number or letter, "▶"
};

// A mark of kind 201 at a 1-based point; stone is the stone it is drawn over (0 for none).
struct PlannedMark {
    int x = 0;
    int y = 0;
    int stone = 0;
    std::string text;
};

// Everything a diagram shows, worked out before anything is drawn.
struct DiagramPlan {
    int width = 0;  // W, 0 when the request was refused
    int cell = 0;   // G = W / (N + 2), the board's unit
    int lines = kDefaultBoardSize;  // N
    // W / 21: the unit of the caption and the list, which keep one size on every board.
    int textUnit = 0;
    bool refused = false;
    // "%d수 ~ %d수": 0 to the last move for the whole record and the current position, the
    // first and last move held for a range or split; empty when it holds none.
    std::string caption;
    // Handicap or set-up stones, unnumbered; one whose point is played again later is in stones
    // instead, with a letter that ties it to the list.
    std::vector<DiagramStone> setup;
    std::vector<PlannedStone> stones;  // in drawing order (later ones over earlier ones)
    std::vector<PlannedMark> marks;
    std::vector<PlannedListItem> list;  // the list of moves on used points
    // The list's size: 1 when it fits below the board, else smaller, with longer lines, so
    // that all of it fits.
    double listScale = 1.0;
    DiagramCoordinates coordinates = DiagramCoordinates::kNone;
    // Where the board is drawn: point (x, y) is centred on boardOrigin + (x, y) · boardCell. The
    // board takes the unit G and origin (0, G) unless coordinates need room around it.
    int boardCell = 0;
    QPoint boardOrigin;
    int Height() const { return width + 3 * textUnit; }
    // The board to the edges of its stones, with its coordinates when it has them.
    QRectF BoardBox() const {
        // The square of a stone at (x, y) starts at origin + (x, y) · cell − cell / 2.
        const int margin = coordinates == DiagramCoordinates::kNone ? 0 : boardCell;
        const int first = boardCell - boardCell / 2 - margin;
        return QRectF(boardOrigin.x() + first, boardOrigin.y() + first,
                      lines * boardCell + 2 * margin, lines * boardCell + 2 * margin);
    }
    // The label of column x (1-based) and of row y (1 the top line), or "" with no coordinates.
    std::string ColumnLabel(int x) const;
    std::string RowLabel(int y) const;
    // Where item of the list is drawn, in the picture's coordinates.
    QRectF ListBox(const PlannedListItem& item) const {
        const QPointF origin(textUnit, (lines + 2) * cell);
        return QRectF(origin + (QPointF(item.box.topLeft()) - origin) * listScale,
                      QSizeF(item.box.size()) * listScale);
    }
};

// The message shown when a range diagram is refused.
inline constexpr const char* kDiagramRangeMessage = "입력된 값이 잘못되었습니다.";

// The plan of request on source; refused (width 0) for kind 202 with last < first or a
// negative third value. Nothing is shown or drawn.
DiagramPlan PlanDiagram(const DiagramSource& source, const DiagramRequest& request);

// Draws plan on painter into target (its W × Height() layout scaled to fill the rectangle),
// white background first; pens as given. Draws nothing for a refused plan.
void PaintDiagram(QPainter& painter, const QRectF& target, const DiagramPlan& plan,
                  DiagramPens pens);

// Plans and paints into target → W, or 0 after showing kDiagramRangeMessage for a refused
// range (through the current Prompter), with nothing drawn.
int ComposeDiagram(QPainter& painter, const QRectF& target, const DiagramSource& source,
                   const DiagramRequest& request);

// The diagram as a W × Height() picture (RGB32) → a null image when refused (message shown).
QImage ComposeDiagramImage(const DiagramSource& source, const DiagramRequest& request);

}  // namespace velmora
