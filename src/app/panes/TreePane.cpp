#include "app/panes/TreePane.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

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
                                                  QColor(220, 130, 30), QColor(140, 90, 205), QColor(200, 60, 160)};
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

QRect TreePane::ToggleRect(const QRect& cell) { return {cell.right() - 10, cell.bottom() - 10, 11, 11}; }

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

void TreePane::scrollContentsBy(int dx, int dy) {
    // What stays in view moves as it is; only the strip scrolled in is painted.
    viewport()->scroll(dx, dy);
}

void TreePane::mousePressEvent(QMouseEvent* e) {
    const NodeId n = NodeAt(e->position().toPoint());
    if (e->button() != Qt::LeftButton || n == kNoNode) return;
    const QPoint content = e->position().toPoint() + Scroll();
    const bool toggle = layout_->Folded(n) || tree_->FirstChild(n) != kNoNode;
    if (!toggle || !ToggleRect(CellRect(layout_->CellOf(n))).contains(content)) {
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

namespace {

// A cell's look packed in one key: the move number above the bits of what else it shows.
enum LookBits : std::uint64_t {
    kShapeMask = 7,  // kBlack … kRoot
    kHalo = 8,       // on the current path
    kCurrent = 16,
    kComment = 32,
    kMarks = 64,
    kStory = 128,
    kNumberShift = 8,
};
enum CellShape : std::uint64_t { kBlackStone, kWhiteStone, kBlackPass, kWhitePass, kNoMove, kRootBoard };

// Pictures kept at most; scrolling brings few new numbers, so the set of those in view stays.
constexpr int kMostPictures = 4096;

}  // namespace

std::uint64_t TreePane::LookOf(NodeId n) const {
    const TreeLayout& layout = *layout_;
    std::uint64_t look = 0;
    for (int i = 0; i < tree_->PropertyCount(n); ++i) {
        const std::string_view id = tree_->PropertyId(n, i);
        if (id == "B" || id == "W") {
            const std::string_view move = tree_->Value(n, i);
            const bool pass = move.empty() || (move == "tt" && ttIsPass_);
            const bool black = id == "B";
            look = (look & ~kShapeMask) | (pass ? (black ? kBlackPass : kWhitePass) : (black ? kBlackStone : kWhiteStone));
        } else if (id == "C") {
            look |= kComment;
        } else if (IsMarks(id)) {
            look |= kMarks;
        } else if (id == "HI") {
            look |= kStory;
        }
    }
    const bool moved = tree_->Has(n, "B") || tree_->Has(n, "W");
    if (!moved) look = (look & ~kShapeMask) | (n == tree_->Root() ? kRootBoard : kNoMove);
    if (moved) look |= static_cast<std::uint64_t>(layout.MoveNumber(n)) << kNumberShift;
    if (n == layout.Current())
        look |= kCurrent;
    else if (layout.OnPath(n))
        look |= kHalo;
    return look;
}

const QImage& TreePane::CellPicture(std::uint64_t look, qreal ratio) const {
    if (pictures_.size() >= kMostPictures) pictures_.clear();
    auto at = pictures_.find(look);
    if (at != pictures_.end()) return *at;
    const int side = static_cast<int>(std::ceil(kCell * ratio));
    QImage picture(side, side, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    DrawLook(painter, look);
    painter.end();
    return *pictures_.insert(look, std::move(picture));
}

void TreePane::DrawLook(QPainter& painter, std::uint64_t look) const {
    const QRectF cell(0, 0, kCell, kCell);
    const QRectF stone = cell.adjusted(4.5, 4.5, -4.5, -4.5);
    const auto shape = static_cast<CellShape>(look & kShapeMask);
    if (look & kHalo) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(kPath.red(), kPath.green(), kPath.blue(), 70));
        painter.drawEllipse(stone.adjusted(-2.5, -2.5, 2.5, 2.5));
    }
    const bool black = shape == kBlackStone || shape == kBlackPass;
    if (shape <= kWhitePass) {
        const QColor fill = black ? QColor(24, 24, 24) : QColor(250, 250, 248);
        QColor text = black ? Qt::white : Qt::black;
        if (shape == kBlackPass || shape == kWhitePass) {
            // A pass: a dashed ring of its colour over the cell's own ground, the number in it.
            painter.setBrush(kBackground);
            painter.setPen(QPen(black ? fill : QColor(110, 110, 110), 1.6, Qt::DashLine));
            painter.drawEllipse(stone.adjusted(1, 1, -1, -1));
            text = QColor(70, 70, 70);
        } else {
            painter.setPen(QPen(black ? fill : QColor(70, 70, 70), 1));
            painter.setBrush(fill);
            painter.drawEllipse(stone);
        }
        const QString number = QString::number(look >> kNumberShift);
        painter.setFont(numberFonts_[number.size() <= 2 ? 0 : number.size() == 3 ? 1 : 2]);
        painter.setPen(text);
        painter.drawText(stone, Qt::AlignCenter, number);
    } else if (shape == kRootBoard) {
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
    if (look & kCurrent) {
        painter.setPen(QPen(kPath, 2.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(stone.adjusted(-2.2, -2.2, 2.2, 2.2));
    }
    // Markers in the corners: a comment, marks, an edit story.
    painter.setPen(QPen(QColor(60, 60, 60, 160), 0.8));
    const auto dot = [&](QColor colour, QPointF at) {
        painter.setBrush(colour);
        painter.drawEllipse(at, 2.8, 2.8);
    };
    if (look & kComment) dot(QColor(240, 160, 30), QPointF(cell.right() - 3.5, cell.top() + 4.5));
    if (look & kMarks) dot(QColor(60, 130, 230), QPointF(cell.left() + 4.5, cell.top() + 4.5));
    if (look & kStory) dot(QColor(60, 170, 90), QPointF(cell.left() + 4.5, cell.bottom() - 3.5));
}

void TreePane::PaintFoldMark(QPainter& painter, NodeId n, const QRect& cell) const {
    // A folded node says how many it hides; the node under the pointer offers to fold.
    if (layout_->Folded(n)) {
        const QString count = "+" + QString::number(layout_->HiddenCount(n));
        painter.setFont(badgeFont_);
        const int width = std::max(11, painter.fontMetrics().horizontalAdvance(count) + 4);
        const QRectF badge(cell.right() + 1 - width, cell.bottom() - 10, width, 11);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kBadge);
        painter.drawRoundedRect(badge, 3, 3);
        painter.setPen(Qt::white);
        painter.drawText(badge, Qt::AlignCenter, count);
    } else if (n == hovered_ && tree_->FirstChild(n) != kNoNode) {
        const QRectF box = QRectF(ToggleRect(cell)).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(QPen(kBadge, 1));
        painter.setBrush(Qt::white);
        painter.drawRect(box);
        painter.drawLine(QPointF(box.left() + 2.5, box.center().y()), QPointF(box.right() - 2.5, box.center().y()));
    }
}

void TreePane::Paint(QPainter& painter, const QRect& area) const {
    painter.fillRect(area, kBackground);
    if (!layout_) return;
    const TreeLayout& layout = *layout_;
    const qreal ratio = painter.device()->devicePixelRatio();
    if (ratio != ratio_) {
        pictures_.clear();
        bandEnds_ = {};
        diagonals_ = {};
        ratio_ = ratio;
    }
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

    // Diagram branches lie on a band of their kind's colour: a round end (a picture kept) on
    // each end cell and a plain fill between. Edges take the kind's colour too; straight ones
    // are filled rectangles and diagonals kept pictures, as the raster engine strokes a wide
    // line many times slower than it fills or copies.
    painter.setRenderHint(QPainter::Antialiasing, false);
    const auto colourOf = [](std::size_t kind) { return kind == 0 ? kEdge : KindColour(static_cast<BranchKind>(kind)); };
    // Kinds 0–5, then the path's.
    constexpr std::size_t kPathLook = 6;
    const auto straight = [&](QPointF from, QPointF to, std::size_t look) {
        const qreal half = look == kPathLook ? 1.5 : 0.75;
        painter.fillRect(QRectF(from, to).normalized().adjusted(-half, -half, half, half),
                         look == kPathLook ? kPath : colourOf(look));
    };
    const auto diagonal = [&](QPointF from, std::size_t look) {
        QImage& picture = diagonals_[look];
        if (picture.isNull()) {
            const int side = static_cast<int>(std::ceil(kCell * ratio));
            picture = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
            picture.setDevicePixelRatio(ratio);
            picture.fill(Qt::transparent);
            QPainter line(&picture);
            line.setRenderHint(QPainter::Antialiasing, true);
            line.setPen(QPen(look == kPathLook ? kPath : colourOf(look), look == kPathLook ? 3 : 1.5, Qt::SolidLine, Qt::FlatCap));
            line.drawLine(QPointF(0, 0), QPointF(kCell, kCell));
        }
        painter.drawImage(from, picture);
    };
    std::array<int, 4> lastConnector{};
    for (std::uint32_t id : runs_) {
        const TreeRun& run = layout.Run(id);
        const int first = std::max(run.depth, depth0);
        const int last = std::min(run.depth + static_cast<int>(run.length) - 1, depth1);
        const auto kind = static_cast<std::size_t>(run.kind);
        // A run met only by its connector shows nothing of its own.
        const bool inView = run.lane >= lane0 && run.lane <= lane1;
        if (inView && run.kind != BranchKind::kPlain && first <= last) {
            QColor band = KindColour(run.kind);
            band.setAlpha(48);
            const QRectF inner = QRectF(centre(first, run.lane), centre(last, run.lane));
            const qreal half = kCell / 2.0 - 1.5;
            painter.fillRect(horizontal ? inner.adjusted(0, -half, 0, half) : inner.adjusted(-half, 0, half, 0), band);
            QImage& end = bandEnds_[kind];
            if (end.isNull()) {
                end = QImage(static_cast<int>(std::ceil(kCell * ratio)), static_cast<int>(std::ceil(kCell * ratio)),
                             QImage::Format_ARGB32_Premultiplied);
                end.setDevicePixelRatio(ratio);
                end.fill(Qt::transparent);
                QPainter endPainter(&end);
                endPainter.setRenderHint(QPainter::Antialiasing, true);
                endPainter.setPen(Qt::NoPen);
                endPainter.setBrush(band);
                endPainter.drawEllipse(QRectF(1.5, 1.5, kCell - 3, kCell - 3));
            }
            // The round ends cover only the outer halves of the end cells.
            for (const bool before : {true, false}) {
                const QRect cell = CellRect(cellAt(before ? first : last, run.lane));
                const int halfCell = kCell / 2;
                const QRect source = horizontal ? QRect(before ? 0 : halfCell, 0, halfCell, kCell)
                                                : QRect(0, before ? 0 : halfCell, kCell, halfCell);
                painter.drawImage(QRectF(source.translated(cell.topLeft())), end,
                                  QRectF(source.topLeft() * ratio, source.size() * ratio));
            }
        }
        if (run.parentLane >= 0) {
            const std::size_t look = layout.OnPath(layout.RunNode(run, 0)) ? kPathLook : kind;
            // Only the part in view: the lanes a connector passes may run to thousands.
            // Siblings share their connector: each part in view is drawn once.
            const int top = std::max(run.parentLane, lane0), bend = std::min(run.lane - 1, lane1);
            const std::array<int, 4> part = {run.depth, top, bend, static_cast<int>(look)};
            if (top < bend && part != lastConnector) straight(centre(run.depth - 1, top), centre(run.depth - 1, bend), look);
            lastConnector = part;
            if (run.lane - 1 <= lane1) diagonal(centre(run.depth - 1, run.lane - 1), look);
        }
        // The run's own edges, joined while they are alike.
        int from = std::max(run.depth, depth0 - 1);
        const int to = std::min(run.depth + static_cast<int>(run.length) - 1, depth1 + 1);
        while (inView && from < to) {
            const bool onPath = layout.OnPath(layout.RunNode(run, from + 1 - run.depth));
            int end = from + 1;
            while (end < to && layout.OnPath(layout.RunNode(run, end + 1 - run.depth)) == onPath) ++end;
            straight(centre(from, run.lane), centre(end, run.lane), onPath ? kPathLook : kind);
            from = end;
        }
    }

    for (std::uint32_t id : runs_) {
        const TreeRun& run = layout.Run(id);
        if (run.lane < lane0 || run.lane > lane1) continue;
        const int first = std::max(run.depth, depth0);
        const int last = std::min(run.depth + static_cast<int>(run.length) - 1, depth1);
        for (int depth = first; depth <= last; ++depth) {
            const NodeId n = layout.RunNode(run, depth - run.depth);
            const QRect cell = CellRect(cellAt(depth, run.lane));
            painter.drawImage(cell.topLeft(), CellPicture(LookOf(n), ratio));
            if (layout.Folded(n) || n == hovered_) PaintFoldMark(painter, n, cell);
        }
    }
}

}  // namespace velmora
