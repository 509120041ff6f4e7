#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QHash>
#include <QImage>
#include <array>
#include <memory>
#include <vector>

#include "game/TreeLayout.h"

namespace velmora {

// The game tree pane: every node of the record a small cell of the layout's grid, a stone of
// its colour with its move number (a pass as a ring, a node without a move as a diamond, the
// root as a small board), the path to the current node highlighted, variations that are
// reference diagrams tinted by their kind, dots for a comment, marks or an edit story. A fold
// toggle shows on the node under the pointer; a folded node carries the count it hides.
// Scrolls over the whole grid and paints only what is in view.
class TreePane : public QAbstractScrollArea {
    Q_OBJECT
  public:
    // A cell's side, in logical pixels.
    static constexpr int kCell = 28;

    explicit TreePane(QWidget* parent = nullptr);
    ~TreePane() override;

    // Shows tree (not owned; it must outlive the pane or be replaced first), laid out anew;
    // nullptr shows nothing.
    void SetTree(const GameTree* tree);
    // Highlights the path to n and scrolls it into view.
    void SetCurrent(NodeId n);
    void SetOrientation(TreeOrientation orientation);
    // Folds every branch off the current path.
    void FoldOffPath();
    // Call after the tree's shape changed (relays it out; see TreeLayout for the cheap cases).
    void NodeAdded(NodeId n);
    void NodeDetached(NodeId n);

    // The layout shown; nullptr without a tree.
    const TreeLayout* Layout() const { return layout_.get(); }
    // The node under point p of the viewport → kNoNode.
    NodeId NodeAt(QPoint p) const;
    // The centre of n's cell in viewport coordinates (n must be shown).
    QPoint CentreOf(NodeId n) const;
    // Paints the part area (in the grid's own pixels, unscrolled) of the tree onto painter.
    void Paint(QPainter& painter, const QRect& area) const;

  signals:
    void nodeClicked(NodeId node);

  protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    QPoint Scroll() const;
    QRect CellRect(TreeCell cell) const;
    // Where the fold toggle or a folded node's badge sits in a cell.
    static QRect ToggleRect(const QRect& cell);
    void UpdateScrollBars();
    void EnsureVisible(NodeId n);
    // What a node's cell shows but for a fold's badge or toggle: a key of the cell picture.
    std::uint64_t LookOf(NodeId n) const;
    // The picture of a look at the painter's pixel density, drawn once and kept.
    const QImage& CellPicture(std::uint64_t look, qreal ratio) const;
    void DrawLook(QPainter& painter, std::uint64_t look) const;
    void PaintFoldMark(QPainter& painter, NodeId n, const QRect& cell) const;

    const GameTree* tree_ = nullptr;
    std::unique_ptr<TreeLayout> layout_;
    NodeId hovered_ = kNoNode;
    bool ttIsPass_ = true;
    QFont numberFonts_[3];  // two digits or fewer, three, four and more
    QFont badgeFont_;
    mutable std::vector<std::uint32_t> runs_;  // reused while painting
    // Cell pictures by look, the round ends of the diagram bands and the diagonal edges, at ratio_.
    mutable QHash<std::uint64_t, QImage> pictures_;
    mutable std::array<QImage, 6> bandEnds_;
    mutable std::array<QImage, 7> diagonals_;  // by kind, then the path's
    mutable qreal ratio_ = 0;
};

}  // namespace velmora
