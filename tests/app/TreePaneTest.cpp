#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "../common/GeneratedTree.h"
#include "app/panes/TreePane.h"
#include "record/SgfTree.h"

namespace velmora {
namespace {

// Root, aa (commented), bb, a pass, cc on the main line; a 참고도 of dd and ee and a 문제도 of
// ff alone at aa.
constexpr const char* kRecord = "(;SZ[9];B[aa]C[해설](;W[bb];B[];W[cc])(;C[참고도-변화]W[dd];B[ee])(;C[문제도-]W[ff]))";

NodeId Find(const GameTree& tree, std::string_view move) {
    for (NodeId n = 0; n < tree.NodeCount(); ++n)
        if ((tree.Has(n, "B") && tree.FirstValue(n, "B") == move) || (tree.Has(n, "W") && tree.FirstValue(n, "W") == move))
            return n;
    return kNoNode;
}

void Press(QWidget* viewport, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &press);
}

// The small record in a pane of its own, on the screen.
class TreePaneTest : public ::testing::Test {
  protected:
    TreePaneTest() {
        pane.resize(300, 140);
        pane.show();
        pane.SetTree(&tree);
    }
    const SgfTreeRead read = ReadSgfTree(kRecord);
    const GameTree& tree = read.tree;
    TreePane pane;
};

TEST_F(TreePaneTest, PaintsStonesPathAndDiagramsSharpAtTwiceTheDensity) {
    pane.SetCurrent(Find(tree, "ee"));
    QImage image(600, 280, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    {
        QPainter painter(&image);
        pane.Paint(painter, QRect(0, 0, 300, 140));
    }
    // Pixels in device units, offset from a node's centre in logical ones.
    const auto pixel = [&](std::string_view move, QPointF offset) {
        const QPointF at = (QPointF(pane.CentreOf(Find(tree, move))) + offset) * 2;
        return image.pixelColor(at.toPoint());
    };
    EXPECT_LT(pixel("aa", {-6, 0}).lightness(), 60);   // a black stone beside its number
    EXPECT_GT(pixel("bb", {-6, 0}).lightness(), 230);  // a white one
    EXPECT_EQ(pixel("", {-5, 0}), pixel("", {0, 13}));  // a pass is a ring: the cell shows through
    const QColor path = pixel("dd", {-14, -14});        // the connector from aa, on the path
    EXPECT_GT(path.red(), 150);
    EXPECT_LT(path.green(), 110);
    const QColor band = pixel("dd", {14, -11});  // the diagram's band, between its stones
    EXPECT_GT(band.blue(), band.red());
    for (qreal side : {-11.5, 11.5}) EXPECT_GT(pixel("ff", {side, 0}).blue(), pixel("ff", {side, 0}).green());  // both round ends
    EXPECT_GT(pixel("aa", {10.5, -9.5}).red(), 200);  // the comment's marker
    EXPECT_LT(pixel("aa", {10.5, -9.5}).blue(), 120);
}

TEST_F(TreePaneTest, ClicksGoToNodesAndFoldTogglesAndTheCurrentNodeStaysInView) {
    std::vector<NodeId> clicked;
    QObject::connect(&pane, &TreePane::nodeClicked, [&](NodeId n) { clicked.push_back(n); });
    const NodeId aa = Find(tree, "aa"), ee = Find(tree, "ee");
    Press(pane.viewport(), pane.CentreOf(ee));
    Press(pane.viewport(), pane.CentreOf(aa) + QPoint(0, 28));  // an empty cell
    EXPECT_EQ(clicked, std::vector<NodeId>{ee});
    // The corner of a node with children folds it; the badge there unfolds it.
    Press(pane.viewport(), pane.CentreOf(aa) + QPoint(12, 12));
    EXPECT_TRUE(pane.Layout()->Folded(aa));
    EXPECT_EQ(pane.NodeAt(pane.CentreOf(aa) + QPoint(28, 0)), kNoNode);
    Press(pane.viewport(), pane.CentreOf(aa) + QPoint(12, 12));
    EXPECT_EQ(pane.Layout()->CellCount(), tree.NodeCount());
    EXPECT_EQ(clicked.size(), 1u);

    pane.SetOrientation(TreeOrientation::kVertical);
    EXPECT_EQ(pane.NodeAt({6 + 28 + 14, 6 + 3 * 28 + 14}), ee);

    // A big tree in a small pane: the current node is scrolled into view.
    const SgfTreeRead big = ReadSgfTree(test::GeneratedTreeText(test::FixtureGameMoves(VELMORA_TEST_DATA), 3000, 100));
    pane.SetTree(&big.tree);
    const NodeId deep = big.tree.LineEnd(big.tree.Child(big.tree.FirstChild(big.tree.Root()), 1));
    pane.SetCurrent(deep);
    EXPECT_TRUE(pane.viewport()->rect().contains(pane.CentreOf(deep)));
    EXPECT_EQ(pane.NodeAt(pane.CentreOf(deep)), deep);
}

}  // namespace
}  // namespace velmora
