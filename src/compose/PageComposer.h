#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QRect>
#include <array>
#include <functional>
#include <memory>
#include <vector>
#include <string>

#include "compose/DiagramComposer.h"

class QPagedPaintDevice;
class QPainter;

namespace velmora {

class BoardLogic;
struct GameInfo;
struct CommentaryPiece;
struct DiagramSource;

// What to print, as the print dialog reads it: the kind (200 whole record, 201 up to the
// current move, 202 a range, 203 split), the range values of 202 and the split values of 203.
struct PrintSettings {
    int kind = 200;
    int first = 0;            // 202: first move
    int second = 0;           // 202: last move
    int third = 0;            // 202: a value that must not be negative
    int movesPerDiagram = 0;  // 203: M
    int perPage = 1;          // 203: diagrams per page P (1, 2 or 4)
    DiagramCoordinates coordinates = DiagramCoordinates::kNone;  // labels around every board
    // Each diagram followed by its moves' comments and the reference diagrams stored on them.
    bool commentary = false;
    // Kinds 202, 203: each diagram numbers its own moves from 1.
    bool restartNumbers = false;
};

// Where a page goes: a printer (thick pens, diagrams composed at page width and scaled into
// their slots) or a picture (thin pens, diagrams drawn at their slot width).
enum class PageOutput { kPrint, kPicture };

// The kind and values one diagram of a page is composed with.
struct DiagramValues {
    int kind = 200;
    int first = 0;
    int second = 0;
    int third = 0;
    DiagramCoordinates coordinates = DiagramCoordinates::kNone;
    bool restartNumbers = false;
};

// Diagrams on one page: P for kind 203, else 1.
int DiagramsPerPage(const PrintSettings& s);
// Pages of a print: ⌈T / (P·M)⌉ (at least 1) for kind 203 with T > 0 moves, else 1.
// Callers refuse M or P below 1 first (SettingsError).
int PageCount(const PrintSettings& s, int totalMoves);
// The message refusing s, or "" when it can be printed: a range must not end before it starts
// nor have a negative third value; a split needs a move per diagram and a diagram per page.
std::string SettingsError(const PrintSettings& s);
// The values of diagram i (0-based) on page (1-based): kind 203 covers M·(i + P·(page−1)) to
// that + M; the other kinds use the settings' own values.
DiagramValues DiagramValuesAt(const PrintSettings& s, int index, int page);

// Where the parts of a W × Hp page go: the header over the top 1.5U (U = Hp/10), the footer
// over the bottom U/2, and between them one slot (a diagram with its caption and list) for
// each of `perPage` diagrams (1 to 16). Slots never overlap
// one another nor the header and footer, whatever the page's size and orientation: the grid
// of columns and rows that gives the largest diagrams is taken.
struct PageLayout {
    QRect header;
    QRect footer;
    std::vector<QRect> diagrams;
};
PageLayout LayOutPage(int W, int Hp, int perPage, PageOutput output);
// The slot of diagram i on a W × Hp page (LayOutPage's): its left-top corner, its width s and
// the diagram's own height for that width.
QRect DiagramSlot(int W, int Hp, int perPage, int index, PageOutput output);
// The height of a diagram drawn s wide: s + 3·(s/21) when printing, s + 4·(s/21) in pictures.
int DiagramHeight(int s, PageOutput output);
// The widest diagram whose height is at most h.
int WidthForDiagramHeight(int h, PageOutput output);

// The eight header texts in order: event, place, date, time limit, black, white,
// komi/handicap, result.
using PageTexts = std::array<std::string, 8>;

// Draws one diagram with its left-top corner at the painter's origin, `width` wide, and
// returns false (drawing nothing, or an empty board) when its values are refused.
using DiagramPainter = std::function<bool(QPainter& painter, int width, const DiagramValues& values,
                                          PageOutput output)>;

// Draws the diagrams of board's record as it stands now (its shown move, reference diagram and
// marks serve kind 201), with the handicap stones named by komiHandicap ("6.5/3점접바둑").
DiagramPainter BoardDiagramPainter(const BoardLogic& board, const std::string& komiHandicap);
// What BoardDiagramPainter reads of board, for a request's source; and the painter of it.
std::shared_ptr<const DiagramSource> BoardPrintSource(const BoardLogic& board,
                                                      const std::string& komiHandicap);
DiagramPainter SourceDiagramPainter(std::shared_ptr<const DiagramSource> source);

// Everything one page needs besides its number.
struct PageRequest {
    int width = 0;   // W
    int height = 0;  // Hp
    PrintSettings settings;
    PageOutput output = PageOutput::kPrint;
    PageTexts texts;
    DiagramPainter diagram;
    // The main line's moves, when known: a split's diagrams that start at or past the end are
    // left out (−1 draws every slot).
    int totalMoves = -1;
    // The print's number of pages, numbered in the footer ("2 / 5"); 0 numbers nothing.
    int pages = 0;
    // The record the diagrams are drawn from, for printing their commentary (none: the
    // commentary setting is ignored).
    std::shared_ptr<const DiagramSource> source;
    // The pages of the commentary planned at this size (PlanCommentary); without them each
    // page plans them again.
    std::shared_ptr<const std::vector<std::vector<CommentaryPiece>>> commentaryPages;
};

// The request for printing board's record as it stands, under the header texts of info: its
// texts, source, diagram painter and number of moves (settings, size and output left to set).
PageRequest RecordPageRequest(const BoardLogic& board, const GameInfo& info);

// When request (its size and output set) prints commentary, plans its pages once, for
// PrintedPageCount, ComposePage and ComposedBoxes.
void PlanCommentary(PageRequest& request);

// Whether request prints its diagrams' commentary.
bool PrintsCommentary(const PageRequest& request);
// The pages request (its size and output set) prints: PageCount, or with commentary as many
// as the diagrams and their comments fill.
int PrintedPageCount(const PageRequest& request);

// The header table: four rows by two columns of " 대 국 명 : %s" … in the W × 1.5U block at
// the painter's origin.
void ComposeHeader(QPainter& painter, int W, int Hp, const PageTexts& texts);
// The footer: a rule, the page's number ("2 / 5", none when pages is 0) at the left and the
// slogan right-aligned, in the W × U/2 block at the painter's origin.
void ComposeFooter(QPainter& painter, int W, int Hp, PageOutput output, int page = 0,
                   int pages = 0);
// The page number as the footer writes it.
std::string PageNumberText(int page, int pages);
// The diagrams page (1-based) of request shows, in slot order: a split leaves out those that
// start at or past the record's end (its first page always keeps one).
std::vector<DiagramValues> DiagramsOnPage(const PageRequest& request, int page);
// The footer's slogan.
std::string FooterSlogan();
// Draws page (1-based) of request onto painter in W × Hp units: white page, header, the
// diagrams in their slots, footer (with commentary, the page of its flow).
void ComposePage(QPainter& painter, const PageRequest& request, int page);
// Draws the diagram of values into slot of a page of request, as ComposePage draws each.
void DrawDiagramInSlot(QPainter& painter, const PageRequest& request, const QRect& slot,
                       const DiagramValues& values);

// One part of a composed page, in page units: "header", "footer", and for diagram n (from 1)
// "diagram n" (its slot) holding "caption n", "board n" (to the edges of its stones) and
// "list n" (when it has one).
struct ComposedBox {
    std::string what;
    QRectF rect;
};
// The boxes page of request is composed of, its diagrams planned from source as
// BoardDiagramPainter plans them.
std::vector<ComposedBox> ComposedBoxes(const PageRequest& request, int page,
                                       const DiagramSource& source);
// Adds the boxes of the diagram of values drawn in slot, as diagram n of its page.
void AppendDiagramBoxes(std::vector<ComposedBox>& boxes, const PageRequest& request,
                        const QRect& slot, const DiagramValues& values,
                        const DiagramSource& source, int n);

// How a print ended.
enum class PrintOutcome { kPrinted, kNoDevice, kPageFailed };
// Prints `pages` pages of request on device (a printer or a PDF writer), each composed at
// half the device's page size in pixels and drawn over the whole page in vectors; with
// commentary, the pages it fills at that size instead. A page
// that cannot be started aborts the document (a printer's job is cancelled).
PrintOutcome PrintPages(QPagedPaintDevice& device, PageRequest request, int pages);

// A4, Letter or B5 (JIS, 182 × 257 mm) by name, case ignored → false for any other name.
bool PaperSizeByName(const std::string& name, QPageSize& size);
// The layout printed pages use: size, portrait or landscape, 8 mm margins.
QPageLayout PrintPageLayout(const QPageSize& size, bool landscape);

}  // namespace velmora
