#include "app/panes/TreePane.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <array>
#include <charconv>

#include "platform/Fonts.h"

namespace velmora {

namespace {

// Space around the grid, in logical pixels.
constexpr int kMargin = 6;

const QColor kBackground(246, 241, 231);
const QColor kEdge(128, 120, 108);
const QColor kPath(208, 64, 56);
const QColor kBadge(52, 84, 140);

// The colour of each kind of branch, as BranchKind orders them (a plain variation has none).
QColor KindColour(BranchKind kind) {
    static const std::array<QColor, 6> colours = {QColor(), QColor(52, 110, 210), QColor(40, 150, 90),
                                                  QColor(220, 130, 30), QColor(140, 90, 205), QColor(205, 70, 70)};
    return colours[static_cast<std::size_t>(kind)];
}

bool IsMarks(std::string_view id) {
    return id == "TR" || id == "SQ" || id == "CR" || id == "MA" || id == "LB" || id == "SL";
}

}  // namespace

TreePane::TreePane(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName("TreePane");
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    numberFonts_[0] = MakeFont("Arial", 11, 700);
    numberFonts_[1] = MakeFont("Arial", 9, 700);
    numberFonts_[2] = MakeFont("Arial", 7, 700);
    badgeFont_ = MakeFont("Arial", 8, 700);
    horizontalScrollBar()->setSingleStep(kCell);
    verticalScrollBar()->setSingleStep(kCell);
}

TreePane::~TreePane() = default;

void TreePane::SetTree(const GameTree* tree) {
    tree_ = tree;
    hovered_ = kNoNode;
    // "tt" is a pass on boards of 19 lines or fewer, as the file's readers take it.
    const std::string_view size = tree ? tree->FirstValue(tree->Root(), "SZ") : std::string_view();
    int lines = 19;
    std::from_chars(size.data(), size.data() + size.size(), lines);
    ttIsPass_ = lines <= 19;
    const TreeOrientation orientation = layout_ ? layout_->Orientation() : TreeOrientation::kHorizontal;
    layout_ = tree ? std::make_unique<TreeLayout>(*tree) : nullptr;
    if (layout_) layout_->SetOrientation(orientation);
    UpdateScrollBars();
    viewport()->update();
}

void TreePane::SetCurrent(NodeId n) {
    if (!layout_) return;
    layout_->SetCurrent(n);
    EnsureVisible(n);
    viewport()->update();
}

void TreePane::SetOrientation(TreeOrientation orientation) {
    if (!layout_) return;
    layout_->SetOrientation(orientation);
    UpdateScrollBars();
    EnsureVisible(layout_->Current());
    viewport()->update();
}

void TreePane::FoldOffPath() {
    if (!layout_ || layout_->Current() == kNoNode) return;
    layout_->FoldOffPath(layout_->Current());
    UpdateScrollBars();
    EnsureVisible(layout_->Current());
    viewport()->update();
}

void TreePane::NodeAdded(NodeId n) {
    if (!layout_) return;
    layout_->NodeAdded(n);
    UpdateScrollBars();
    viewport()->update();
}

void TreePane::NodeDetached(NodeId n) {
    if (!layout_) return;
    layout_->NodeDetached(n);
    UpdateScrollBars();
    viewport()->update();
}

QPoint TreePane::Scroll() const { return {horizontalScrollBar()->value(), verticalScrollBar()->value()}; }

QRect TreePane::CellRect(TreeCell cell) const {
    return {kMargin + cell.x * kCell, kMargin + cell.y * kCell, kCell, kCell};
}

QRect TreePane::ToggleRect(TreeCell cell) const {
    const QRect r = CellRect(cell);
    return {r.right() - 10, r.bottom() - 10, 11, 11};
}

NodeId TreePane::NodeAt(QPoint p) const {
    if (!layout_) return kNoNode;
    const QPoint at = p + Scroll() - QPoint(kMargin, kMargin);
    if (at.x() < 0 || at.y() < 0) return kNoNode;
    return layout_->NodeAt({at.x() / kCell, at.y() / kCell});
}

QPoint TreePane::CentreOf(NodeId n) const { return CellRect(layout_->CellOf(n)).center() - Scroll(); }

void TreePane::UpdateScrollBars() {
    const int width = layout_ ? 2 * kMargin + layout_->Width() * kCell : 0;
    const int height = layout_ ? 2 * kMargin + layout_->Height() * kCell : 0;
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, width - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setRange(0, std::max(0, height - view.height()));
    verticalScrollBar()->setPageStep(view.height());
}

void TreePane::EnsureVisible(NodeId n) {
    if (!layout_ || layout_->RunOf(n) < 0) return;
    const QRect cell = CellRect(layout_->CellOf(n));
    const QRect view(Scroll(), viewport()->size());
    // A cell of room around it; a cell out of view comes to the middle.
    if (view.contains(cell.adjusted(-kCell, -kCell, kCell, kCell))) return;
    const QPoint centre = cell.center() - QPoint(view.width() / 2, view.height() / 2);
    if (cell.left() - kCell < view.left() || cell.right() + kCell > view.right()) horizontalScrollBar()->setValue(centre.x());
    if (cell.top() - kCell < view.top() || cell.bottom() + kCell > view.bottom()) verticalScrollBar()->setValue(centre.y());
}

void TreePane::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    UpdateScrollBars();
}

void TreePane::paintEvent(QPaintEvent* e) {
    QPainter painter(viewport());
    painter.translate(-Scroll());
    Paint(painter, e->rect().translated(Scroll()));
}

void TreePane::mousePressEvent(QMouseEvent* e) {
    const NodeId n = NodeAt(e->position().toPoint());
    if (e->button() != Qt::LeftButton || n == kNoNode) return;
    const QPoint content = e->position().toPoint() + Scroll();
    const bool toggle = layout_->Folded(n) || tree_->FirstChild(n) != kNoNode;
    if (!toggle || !ToggleRect(layout_->CellOf(n)).contains(content)) {
        emit nodeClicked(n);
        return;
    }
    // The node stays under the pointer while what hangs below it folds or unfolds.
    const QPoint before = CentreOf(n);
    if (layout_->Folded(n))
        layout_->Unfold(n);
    else
        layout_->Fold(n);
    UpdateScrollBars();
    const QPoint moved = CentreOf(n) - before;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + moved.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() + moved.y());
    viewport()->update();
}

void TreePane::mouseMoveEvent(QMouseEvent* e) {
    const NodeId n = NodeAt(e->position().toPoint());
    if (n == hovered_) return;
    for (NodeId m : {hovered_, n})
        if (m != kNoNode && layout_->RunOf(m) >= 0) viewport()->update(CellRect(layout_->CellOf(m)).translated(-Scroll()));
    hovered_ = n;
}

void TreePane::leaveEvent(QEvent* e) {
    QAbstractScrollArea::leaveEvent(e);
    if (hovered_ != kNoNode && layout_ && layout_->RunOf(hovered_) >= 0)
        viewport()->update(CellRect(layout_->CellOf(hovered_)).translated(-Scroll()));
    hovered_ = kNoNode;
}

void TreePane::Paint(QPainter& painter, const QRect& area) const {
    painter.fillRect(area, kBackground);
    if (!layout_) return;
    const TreeLayout& layout = *layout_;
    const bool horizontal = layout.Orientation() == TreeOrientation::kHorizontal;
    // The cells the area meets, one more each way for connectors coming in from outside.
    const int x0 = (area.left() - kMargin) / kCell - 1, x1 = (area.right() - kMargin) / kCell + 1;
    const int y0 = (area.top() - kMargin) / kCell - 1, y1 = (area.bottom() - kMargin) / kCell + 1;
    const int depth0 = horizontal ? x0 : y0, depth1 = horizontal ? x1 : y1;
    const int lane0 = horizontal ? y0 : x0, lane1 = horizontal ? y1 : x1;
    runs_.clear();
    layout.RunsMeeting(depth0, depth1, lane0, lane1, runs_);
    const auto cellAt = [horizontal](int depth, int lane) {
        return horizontal ? TreeCell{depth, lane} : TreeCell{lane, depth};
    };
    const auto centre = [&](int depth, int lane) { return QRectF(CellRect(cellAt(depth, lane))).center(); };

    painter.setRenderHint(QPainter::Antialiasing, true);
    // Diagram branches lie on a band of their kind's colour; edges take that colour too.
    std::array<QVector<QLineF>, 6> edges;
    QVector<QLineF> pathEdges;
    for (std::uint32_t id : runs_) {
        const TreeRun& run = layout.Run(id);
        const int first = std::max(run.depth, depth0);
        const int last = std::min(run.depth + static_cast<int>(run.length) - 1, depth1);
        if (run.kind != BranchKind::kPlain && first <= last) {
            QColor band = KindColour(run.kind);
            band.setAlpha(48);
            const QRectF r = QRectF(CellRect(cellAt(first, run.lane)).united(CellRect(cellAt(last, run.lane))))
                                 .adjusted(1.5, 1.5, -1.5, -1.5);
            painter.setPen(Qt::NoPen);
            painter.setBrush(band);
            painter.drawRoundedRect(r, kCell / 2 - 2, kCell / 2 - 2);
        }
        auto& lines = edges[static_cast<std::size_t>(run.kind)];
        if (run.parentLane >= 0) {
            auto& into = layout.OnPath(layout.RunNode(run, 0)) ? pathEdges : lines;
            const QPointF bend = centre(run.depth - 1, run.lane - 1);
            if (run.lane - 1 > run.parentLane) into.append(QLineF(centre(run.depth - 1, run.parentLane), bend));
            into.append(QLineF(bend, centre(run.depth, run.lane)));
        }
        // The run's own edges, joined while they are alike.
        int from = std::max(run.depth, depth0 - 1);
        const int to = std::min(run.depth + static_cast<int>(run.length) - 1, depth1 + 1);
        while (from < to) {
            const bool onPath = layout.OnPath(layout.RunNode(run, from + 1 - run.depth));
            int end = from + 1;
            while (end < to && layout.OnPath(layout.RunNode(run, end + 1 - run.depth)) == onPath) ++end;
            (onPath ? pathEdges : lines).append(QLineF(centre(from, run.lane), centre(end, run.lane)));
            from = end;
        }
    }
    for (std::size_t kind = 0; kind < edges.size(); ++kind) {
        if (edges[kind].isEmpty()) continue;
        painter.setPen(QPen(kind == 0 ? kEdge : KindColour(static_cast<BranchKind>(kind)), 1.5));
        painter.drawLines(edges[kind]);
    }
    painter.setPen(QPen(kPath, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLines(pathEdges);

    for (std::uint32_t id : runs_) {
        const TreeRun& run = layout.Run(id);
        const int first = std::max(run.depth, depth0);
        const int last = std::min(run.depth + static_cast<int>(run.length) - 1, depth1);
        for (int depth = first; depth <= last; ++depth)
            PaintNode(painter, layout.RunNode(run, depth - run.depth), CellRect(cellAt(depth, run.lane)));
    }
}

void TreePane::PaintNode(QPainter& painter, NodeId n, const QRect& cell) const {
    const TreeLayout& layout = *layout_;
    const QRectF stone = QRectF(cell).adjusted(4.5, 4.5, -4.5, -4.5);
    const bool current = n == layout.Current();
    if (layout.OnPath(n) && !current) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(kPath.red(), kPath.green(), kPath.blue(), 70));
        painter.drawEllipse(stone.adjusted(-2.5, -2.5, 2.5, 2.5));
    }
    const bool black = tree_->Has(n, "B");
    const bool white = !black && tree_->Has(n, "W");
    const std::string_view move = black ? tree_->FirstValue(n, "B") : tree_->FirstValue(n, "W");
    QColor text(Qt::black);
    if (black || white) {
        const bool pass = move.empty() || (move == "tt" && ttIsPass_);
        const QColor fill = black ? QColor(24, 24, 24) : QColor(250, 250, 248);
        if (pass) {
            // A pass: a dashed ring of its colour over the cell's own ground, the number in it.
            painter.setBrush(kBackground);
            painter.setPen(QPen(black ? fill : QColor(110, 110, 110), 1.6, Qt::DashLine));
            painter.drawEllipse(stone.adjusted(1, 1, -1, -1));
            text = QColor(70, 70, 70);
        } else {
            painter.setPen(QPen(black ? fill : QColor(70, 70, 70), 1));
            painter.setBrush(fill);
            painter.drawEllipse(stone);
            text = black ? Qt::white : Qt::black;
        }
        const int number = layout.MoveNumber(n);
        char digits[12];
        const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        const auto length = static_cast<int>(end - digits);
        painter.setFont(numberFonts_[length <= 2 ? 0 : length == 3 ? 1 : 2]);
        painter.setPen(text);
        painter.drawText(stone, Qt::AlignCenter, QString::fromLatin1(digits, length));
    } else if (n == tree_->Root()) {
        // The root: a small board.
        const QRectF board = stone.adjusted(1, 1, -1, -1);
        painter.setPen(QPen(QColor(120, 84, 40), 1));
        painter.setBrush(QColor(222, 178, 110));
        painter.drawRect(board);
        painter.setPen(QPen(QColor(90, 60, 30), 0.8));
        for (int i = 1; i <= 3; ++i) {
            const qreal x = board.left() + board.width() * i / 4, y = board.top() + board.height() * i / 4;
            painter.drawLine(QPointF(x, board.top()), QPointF(x, board.bottom()));
            painter.drawLine(QPointF(board.left(), y), QPointF(board.right(), y));
        }
    } else {
        // A node without a move (set-up stones, a diagram's opening, a comment alone).
        const QPointF c = stone.center();
        const qreal r = stone.width() / 2 - 2;
        const QPointF diamond[4] = {{c.x(), c.y() - r}, {c.x() + r, c.y()}, {c.x(), c.y() + r}, {c.x() - r, c.y()}};
        painter.setPen(QPen(QColor(90, 90, 90), 1));
        painter.setBrush(QColor(200, 200, 196));
        painter.drawPolygon(diamond, 4);
    }
    if (current) {
        painter.setPen(QPen(kPath, 2.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(stone.adjusted(-2.2, -2.2, 2.2, 2.2));
    }

    // Markers in the corners: a comment, marks, an edit story.
    bool comment = false, marks = false, story = false;
    for (int i = 0; i < tree_->PropertyCount(n); ++i) {
        const std::string_view id = tree_->PropertyId(n, i);
        comment = comment || id == "C";
        marks = marks || IsMarks(id);
        story = story || id == "HI";
    }
    painter.setPen(QPen(QColor(60, 60, 60, 160), 0.8));
    const auto dot = [&](QColor colour, QPointF at) {
        painter.setBrush(colour);
        painter.drawEllipse(at, 2.8, 2.8);
    };
    if (comment) dot(QColor(240, 160, 30), QPointF(cell.right() - 3.5, cell.top() + 4.5));
    if (marks) dot(QColor(60, 130, 230), QPointF(cell.left() + 4.5, cell.top() + 4.5));
    if (story) dot(QColor(60, 170, 90), QPointF(cell.left() + 4.5, cell.bottom() - 3.5));

    // A folded node says how many it hides; the node under the pointer offers to fold.
    const TreeCell at{(cell.left() - kMargin) / kCell, (cell.top() - kMargin) / kCell};
    if (layout.Folded(n)) {
        const QString count = "+" + QString::number(layout.HiddenCount(n));
        painter.setFont(badgeFont_);
        const int width = std::max(11, painter.fontMetrics().horizontalAdvance(count) + 4);
        const QRectF badge(cell.right() + 1 - width, cell.bottom() - 10, width, 11);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kBadge);
        painter.drawRoundedRect(badge, 3, 3);
        painter.setPen(Qt::white);
        painter.drawText(badge, Qt::AlignCenter, count);
    } else if (n == hovered_ && tree_->FirstChild(n) != kNoNode) {
        const QRectF box = QRectF(ToggleRect(at)).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(QPen(kBadge, 1));
        painter.setBrush(Qt::white);
        painter.drawRect(box);
        painter.drawLine(QPointF(box.left() + 2.5, box.center().y()), QPointF(box.right() - 2.5, box.center().y()));
    }
}

}  // namespace velmora
