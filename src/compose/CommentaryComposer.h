#pragma once

#include <QRectF>
#include <QString>
#include <string>
#include <vector>

#include "compose/PageComposer.h"

class QPainter;

namespace velmora {

struct DiagramSource;

// One thing a page of diagrams with their commentary shows, in page units.
struct CommentaryPiece {
    enum class Kind { kDiagram, kLine, kReference };
    Kind kind = Kind::kLine;
    QRectF rect;  // a diagram's slot, a line of text (from its lead to the right margin), or a
                  // small reference diagram
    // kDiagram: which diagram of the print.
    DiagramValues values;
    // kLine: its text and where it starts; the first line of a move's comment is led by the
    // move's number as its diagram draws it, on a small stone of the move's colour.
    QString text;
    double textLeft = 0;
    std::string lead;
    int leadColour = 0;
    QRectF leadBox;
    // kReference: the reference diagram (an index into the source's references), its kind
    // written above it.
    int reference = -1;
};
using CommentaryPage = std::vector<CommentaryPiece>;

// The pages of request (its size and output set) with each diagram followed by its moves'
// comments, as books set them: the diagram at the left, the comments beside it and then
// below it at full width, each with the reference diagrams stored on its move drawn small
// after it. A diagram starts a new page when it does not fit below what stands before it;
// long commentary goes on over the following pages. At least one page.
std::vector<CommentaryPage> PlanCommentaryPages(const PageRequest& request,
                                                const DiagramSource& source);

// Draws commentary page `page` (1-based) of the plan: white page, header, its pieces, footer.
void ComposeCommentaryPage(QPainter& painter, const PageRequest& request,
                           const DiagramSource& source, const std::vector<CommentaryPage>& pages,
                           int page);

// The boxes of commentary page `page`: header, footer, each diagram with its parts (as
// ComposedBoxes names them), "text line k" for each line and "reference diagram k" for each
// small diagram.
std::vector<ComposedBox> CommentaryBoxes(const PageRequest& request, const DiagramSource& source,
                                         int page);

}  // namespace velmora
