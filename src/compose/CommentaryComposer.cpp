#include "compose/CommentaryComposer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <algorithm>

#include "compose/DiagramComposer.h"
#include "platform/Fonts.h"
#include "record/ReferenceDiagram.h"

namespace velmora {
namespace {

// The measures of a commentary page of W × Hp units.
struct Measures {
    int top = 0;  // below the header
    int bottom = 0;  // above the footer
    int left = 0;
    int right = 0;
    int gap = 0;
    int diagram = 0;    // a diagram's width
    int reference = 0;  // a reference diagram's width
    int line = 0;       // a line of text
    int cell = 0;       // the text's character cell
    int column = 0;     // the narrowest column worth writing in beside a diagram
};

Measures MeasuresOf(const PageRequest& request) {
    const int W = request.width;
    const int Hp = request.height;
    const PageLayout layout =
        LayOutPage(W, Hp, DiagramsPerPage(request.settings), request.output);
    Measures m;
    const int unit = std::min(W, Hp);
    m.gap = std::max(unit / 60, 1);
    m.top = layout.header.bottom() + 1 + m.gap;
    m.bottom = layout.footer.top() - m.gap;
    m.left = unit / 21;
    m.right = W - unit / 21;
    const int width = m.right - m.left;
    m.diagram = std::min(layout.diagrams.front().width(), width * 3 / 5);
    m.diagram = std::min(m.diagram, WidthForDiagramHeight(m.bottom - m.top, request.output));
    // Several diagrams to a page: two of them fit side by side (when their moves say nothing).
    if (layout.diagrams.size() > 1) m.diagram = std::min(m.diagram, (width - 2 * m.gap) / 2);
    m.reference = (width - 2 * m.gap) / 3;
    m.cell = std::max(unit / 48, 4);
    m.line = m.cell * 3 / 2;
    m.column = 8 * m.cell;
    return m;
}

QFont TextFont(const Measures& m) {
    return CellSizedFont("돋움", m.cell, 0);
}

// The moves diagram values holds, as its plan numbers them: start (the position it begins
// from) and last, and the number its moves' numbers are lowered by.
struct Held {
    int start = 0;
    int last = 0;
    int shift = 0;
};

Held HeldMoves(const DiagramSource& source, const DiagramValues& v) {
    const int total = static_cast<int>(source.moves.size());
    Held h;
    h.last = total;
    switch (v.kind) {
        case kComposeCurrent:
            h.last = std::min(source.currentMove, total);
            break;
        case kComposeRange:
            h.start = std::max(v.first, 1) - 1;
            h.last = std::min(v.second, total);
            break;
        case kComposeSplit:
            h.start = std::max(v.first, 0);
            h.last = std::min(v.second, total);
            break;
        default:
            break;
    }
    if (v.restartNumbers && (v.kind == kComposeRange || v.kind == kComposeSplit))
        h.shift = h.start;
    return h;
}

// A comment of the print: its lead (empty for the opening commentary and the descriptions of
// reference diagrams), its text, and the reference diagrams to draw after it.
struct Entry {
    std::string lead;
    int colour = 0;
    std::string text;
    std::vector<int> references;
};

std::vector<Entry> EntriesOf(const DiagramSource& source, const DiagramValues& v) {
    const Held held = HeldMoves(source, v);
    std::vector<Entry> entries;
    const auto referencesAt = [&](int base) {
        std::vector<int> found;
        for (std::size_t i = 0; i < source.references.size(); ++i)
            if (source.references[i].base == base) found.push_back(static_cast<int>(i));
        return found;
    };
    const auto add = [&](Entry e) {
        if (e.text.empty() && e.references.empty()) return;
        const std::vector<int> references = e.references;
        entries.push_back(std::move(e));
        // What a reference diagram says of itself follows the small diagrams.
        for (int r : references)
            if (!source.references[r].text.empty())
                entries.push_back({"", 0,
                                   KindWord(source.references[r].kind) + ": " +
                                       source.references[r].text,
                                   {}});
    };
    if (held.start == 0) add({"", 0, source.openingComment, referencesAt(0)});
    for (auto it = source.moves.upper_bound(held.start);
         it != source.moves.end() && it->first <= held.last; ++it)
        add({std::to_string(it->first - held.shift), it->second.colour, it->second.text,
             referencesAt(it->first)});
    return entries;
}

// The source of a reference diagram: the main line up to its base, then its moves.
DiagramSource ReferenceSource(const DiagramSource& source, const ReferenceDiagram& reference,
                              int& count) {
    DiagramSource sub;
    sub.komiHandicap = source.komiHandicap;
    sub.setupStones = source.setupStones;
    sub.size = source.size;
    for (auto it = source.moves.begin(); it != source.moves.end() && it->first <= reference.base;
         ++it)
        sub.moves.insert(*it);
    count = 0;
    for (const auto& [n, move] : reference.moves) {
        sub.moves[reference.base + n] = move;
        count = std::max(count, n);
    }
    return sub;
}

// The plan of a reference diagram drawn `width` wide: its position at its base, its moves
// numbered from 1, its kind as its caption.
DiagramPlan ReferencePlan(const DiagramSource& source, const ReferenceDiagram& reference,
                          int width, DiagramPens pens) {
    int count = 0;
    const DiagramSource sub = ReferenceSource(source, reference, count);
    DiagramRequest request;
    request.kind = kComposeRange;
    request.first = reference.base + 1;
    request.last = reference.base + std::max(count, 1);
    request.width = width;
    request.pens = pens;
    request.restartNumbers = true;
    DiagramPlan plan = PlanDiagram(sub, request);
    plan.caption.clear();  // its kind is written above it, as large as the commentary
    return plan;
}

// Where a paragraph may break, and the widths of the pieces between: at[i]..at[i + 1] is
// piece i, full[i] its width and bare[i] its width without the spaces it ends with.
struct Breaks {
    std::vector<int> at;
    std::vector<double> full;
    std::vector<double> bare;
};

double BareWidth(QString piece, const QFontMetricsF& metrics) {
    while (!piece.isEmpty() && piece.back().isSpace()) piece.chop(1);
    return metrics.horizontalAdvance(piece);
}

Breaks BreaksOf(const QString& paragraph, const QFontMetricsF& metrics) {
    Breaks b;
    b.at.push_back(0);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, paragraph);
    for (int next = finder.toNextBoundary(); next > 0; next = finder.toNextBoundary())
        if (next > b.at.back()) b.at.push_back(next);
    if (b.at.back() < paragraph.size()) b.at.push_back(static_cast<int>(paragraph.size()));
    for (std::size_t i = 0; i + 1 < b.at.size(); ++i) {
        const QString piece = paragraph.mid(b.at[i], b.at[i + 1] - b.at[i]);
        b.full.push_back(metrics.horizontalAdvance(piece));
        b.bare.push_back(BareWidth(piece, metrics));
    }
    return b;
}

// The end of the line that starts at `from` in paragraph and fits in `width`: after the last
// break that fits, or after as many characters as fit when no break does (at least one).
int LineEnd(const QString& paragraph, const Breaks& b, int from, double width,
            const QFontMetricsF& metrics) {
    std::size_t k = std::upper_bound(b.at.begin(), b.at.end(), from) - b.at.begin() - 1;
    double used = 0;
    int end = from;
    for (std::size_t i = k; i + 1 < b.at.size(); ++i) {
        // A piece broken at the end of the line before goes on from there.
        const bool rest = b.at[i] < from;
        const QString piece = rest ? paragraph.mid(from, b.at[i + 1] - from) : QString();
        const double bare = rest ? BareWidth(piece, metrics) : b.bare[i];
        if (used + bare > width) break;
        used += rest ? metrics.horizontalAdvance(piece) : b.full[i];
        end = b.at[i + 1];
    }
    if (end > from) return end;
    QTextBoundaryFinder letters(QTextBoundaryFinder::Grapheme, paragraph);
    letters.setPosition(from);
    end = letters.toNextBoundary();
    for (int next = letters.toNextBoundary(); next > 0 && next <= b.at[k + 1] &&
                                              BareWidth(paragraph.mid(from, next - from), metrics) <= width;
         next = letters.toNextBoundary())
        end = next;
    return end > from ? end : static_cast<int>(paragraph.size());
}

class Flow {
  public:
    Flow(const PageRequest& request, const Measures& m)
        : m_(m), metrics_(TextFont(m)), request_(request) {
        NewPage();
    }

    void Diagram(const DiagramValues& values) {
        const int height = DiagramHeight(m_.diagram, request_.output);
        CommentaryPiece piece;
        piece.kind = CommentaryPiece::Kind::kDiagram;
        piece.values = values;
        // A diagram whose moves say nothing leaves its side free for the next diagram.
        const int beside = float_.right() + 1 + 2 * m_.gap;
        if (float_.isValid() && y_ <= float_.top() && beside + m_.diagram <= m_.right) {
            piece.rect = QRect(beside, float_.top(), m_.diagram, height);
            float_ = float_.united(piece.rect.toRect());
            pages_.back().push_back(piece);
            return;
        }
        if (float_.isValid()) y_ = std::max(y_, float_.bottom() + 1 + m_.gap);
        if (y_ > m_.top && y_ + height > m_.bottom) NewPage();
        float_ = QRect(m_.left, y_, m_.diagram, height);
        piece.rect = float_;
        pages_.back().push_back(piece);
    }

    void Comment(const Entry& entry, int referenceHeight) {
        const int lead = entry.lead.empty() ? 0 : m_.line + m_.cell / 2;
        const QString text = QString::fromStdString(entry.text);
        bool first = true;
        if (!text.isEmpty() || !entry.lead.empty()) {
            const QStringList paragraphs = text.split(QLatin1Char('\n'));
            for (const QString& paragraph : paragraphs) {
                const Breaks breaks = BreaksOf(paragraph, metrics_);
                int from = 0;
                do {
                    const int left = Room(m_.line, lead + m_.column);
                    const double width = m_.right - left - lead;
                    const int end = paragraph.isEmpty()
                                        ? 0
                                        : LineEnd(paragraph, breaks, from, width, metrics_);
                    CommentaryPiece piece;
                    piece.rect = QRectF(left, y_, m_.right - left, m_.line);
                    piece.text = paragraph.mid(from, end - from);
                    piece.textLeft = left + lead;
                    if (first && !entry.lead.empty()) {
                        const int d = m_.line * 9 / 10;
                        piece.lead = entry.lead;
                        piece.leadColour = entry.colour;
                        piece.leadBox = QRectF(left, y_ + (m_.line - d) / 2, d, d);
                    }
                    first = false;
                    pages_.back().push_back(piece);
                    y_ += m_.line;
                    from = end;
                } while (from < paragraph.size());
            }
        }
        // The reference diagrams in rows, each row beside the diagram or below it.
        int x = 0;
        int rowTop = -1;
        for (int reference : entry.references) {
            if (rowTop >= 0 && x + m_.reference > m_.right) {
                y_ = rowTop + referenceHeight + m_.gap;
                rowTop = -1;
            }
            if (rowTop < 0) {
                x = Room(referenceHeight, lead + m_.reference) + lead;
                rowTop = y_;
            }
            CommentaryPiece piece;
            piece.kind = CommentaryPiece::Kind::kReference;
            piece.reference = reference;
            piece.rect = QRectF(x, rowTop, m_.reference, referenceHeight);
            pages_.back().push_back(piece);
            x += m_.reference + m_.gap;
        }
        if (rowTop >= 0) y_ = rowTop + referenceHeight + m_.gap;
        y_ += m_.line / 4;
    }

    std::vector<CommentaryPage> Pages() && { return std::move(pages_); }

  private:
    void NewPage() {
        pages_.emplace_back();
        y_ = m_.top;
        float_ = QRect();
    }

    // Makes room for something `height` high and at least `width` wide at y_ (on a new page,
    // or below the diagram when the column beside it is too narrow) → its left edge.
    int Room(int height, int width) {
        for (;;) {
            if (y_ > m_.top && y_ + height > m_.bottom) NewPage();
            if (!float_.isValid() || y_ >= float_.bottom() + 1 + m_.gap ||
                y_ + height <= float_.top())
                return m_.left;
            const int beside = float_.right() + 1 + 2 * m_.gap;
            if (m_.right - beside >= width)
                return beside;
            y_ = float_.bottom() + 1 + m_.gap;
        }
    }

    Measures m_;
    QFontMetricsF metrics_;
    const PageRequest& request_;
    std::vector<CommentaryPage> pages_;
    int y_ = 0;
    QRect float_;
};

}  // namespace

std::vector<CommentaryPage> PlanCommentaryPages(const PageRequest& given,
                                                const DiagramSource& source) {
    // The diagrams are those the pages without commentary would show.
    PageRequest request = given;
    if (request.totalMoves < 0) request.totalMoves = static_cast<int>(source.moves.size());
    const Measures m = MeasuresOf(request);
    Flow flow(request, m);
    const int diagramPages = PageCount(request.settings, request.totalMoves);
    // A small diagram is planned at the width its page draws it at.
    const bool print = request.output == PageOutput::kPrint;
    int referenceHeight = m.reference;
    for (const ReferenceDiagram& reference : source.references) {
        const DiagramPlan plan = ReferencePlan(source, reference,
                                               print ? request.width : m.reference,
                                               DiagramPens::Image);
        if (plan.width > 0)
            referenceHeight = std::max(referenceHeight, m.reference * plan.Height() / plan.width);
    }
    referenceHeight += m.line;  // its kind above it
    for (int page = 1; page <= diagramPages; ++page) {
        for (DiagramValues values : DiagramsOnPage(request, page)) {
            values.restartNumbers = request.settings.restartNumbers;
            flow.Diagram(values);
            for (const Entry& entry : EntriesOf(source, values))
                flow.Comment(entry, referenceHeight);
        }
    }
    return std::move(flow).Pages();
}

void ComposeCommentaryPage(QPainter& painter, const PageRequest& request,
                           const DiagramSource& source, const std::vector<CommentaryPage>& pages,
                           int page) {
    const int W = request.width;
    const int Hp = request.height;
    const Measures m = MeasuresOf(request);
    painter.fillRect(0, 0, W, Hp, Qt::white);
    ComposeHeader(painter, W, Hp, request.texts);
    const bool print = request.output == PageOutput::kPrint;
    const QFont font = TextFont(m);
    if (page >= 1 && page <= static_cast<int>(pages.size())) {
        for (const CommentaryPiece& piece : pages[page - 1]) {
            switch (piece.kind) {
                case CommentaryPiece::Kind::kDiagram:
                    if (request.diagram)
                        DrawDiagramInSlot(painter, request, piece.rect.toRect(), piece.values);
                    break;
                case CommentaryPiece::Kind::kReference: {
                    const DiagramPlan plan = ReferencePlan(
                        source, source.references[piece.reference],
                        print ? W : m.reference,
                        print ? DiagramPens::Print : DiagramPens::ExportPage);
                    const QRectF caption(piece.rect.left(), piece.rect.top(), piece.rect.width(),
                                         m.line);
                    painter.setFont(font);
                    painter.setPen(Qt::black);
                    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                                     QString::fromStdString(
                                         KindWord(source.references[piece.reference].kind)));
                    if (plan.width > 0)
                        PaintDiagram(painter,
                                     QRectF(caption.left(), caption.bottom(), piece.rect.width(),
                                            piece.rect.width() * plan.Height() / plan.width),
                                     plan, print ? DiagramPens::Print : DiagramPens::ExportPage);
                    break;
                }
                case CommentaryPiece::Kind::kLine: {
                    painter.save();
                    painter.setRenderHint(QPainter::Antialiasing, true);
                    if (!piece.lead.empty()) {
                        const bool black = piece.leadColour == kBlack;
                        const double pen = std::max(1.0, piece.leadBox.width() / 16);
                        painter.setPen(QPen(Qt::black, pen));
                        painter.setBrush(black ? Qt::black : Qt::white);
                        painter.drawEllipse(
                            piece.leadBox.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2));
                        const int d = static_cast<int>(piece.leadBox.height());
                        const int digits = static_cast<int>(piece.lead.size());
                        painter.setFont(CellSizedFont(
                            "Arial", digits >= 3 ? d * 9 / 20 : d * 3 / 5, 0));
                        painter.setPen(black ? Qt::white : Qt::black);
                        painter.drawText(piece.leadBox,
                                         Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip,
                                         QString::fromStdString(piece.lead));
                    }
                    painter.setFont(font);
                    painter.setPen(Qt::black);
                    painter.drawText(QRectF(piece.textLeft, piece.rect.top(),
                                            piece.rect.right() - piece.textLeft,
                                            piece.rect.height()),
                                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                                     piece.text);
                    painter.restore();
                    break;
                }
            }
        }
    }
    painter.save();
    const PageLayout layout =
        LayOutPage(W, Hp, DiagramsPerPage(request.settings), request.output);
    painter.translate(layout.footer.topLeft());
    ComposeFooter(painter, W, Hp, request.output, page, request.pages);
    painter.restore();
}

std::vector<ComposedBox> CommentaryBoxes(const PageRequest& request, const DiagramSource& source,
                                         int page) {
    const PageLayout layout =
        LayOutPage(request.width, request.height, DiagramsPerPage(request.settings), request.output);
    std::vector<ComposedBox> boxes{{"header", layout.header}, {"footer", layout.footer}};
    const std::vector<CommentaryPage> pages =
        request.commentaryPages && request.source.get() == &source
            ? *request.commentaryPages
            : PlanCommentaryPages(request, source);
    if (page < 1 || page > static_cast<int>(pages.size())) return boxes;
    int diagrams = 0;
    int lines = 0;
    int references = 0;
    for (const CommentaryPiece& piece : pages[page - 1]) {
        switch (piece.kind) {
            case CommentaryPiece::Kind::kDiagram:
                AppendDiagramBoxes(boxes, request, piece.rect.toRect(), piece.values, source,
                                   ++diagrams);
                break;
            case CommentaryPiece::Kind::kLine:
                boxes.push_back({"text line " + std::to_string(++lines), piece.rect});
                break;
            case CommentaryPiece::Kind::kReference:
                boxes.push_back(
                    {"reference diagram " + std::to_string(++references), piece.rect});
                break;
        }
    }
    return boxes;
}

}  // namespace velmora
