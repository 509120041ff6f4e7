#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <QCoreApplication>
#include <QMouseEvent>

#include "CanvasTestSupport.h"
#include "board/BoardControl.h"
#include "platform/Messages.h"
#include "platform/Prompter.h"
#include "skin/SkinControls.h"

namespace velmora {
namespace {

// A parent window that counts the numbered messages it receives.
struct CountingWindow : QWidget {
    std::vector<int> messages;
    bool event(QEvent* e) override {
        if (e->type() >= QEvent::User && e->type() != CommandEvent::Type()) {
            messages.push_back(static_cast<int>(e->type()));
            return true;
        }
        return QWidget::event(e);
    }
};

void Press(QWidget* w, QPoint at, Qt::MouseButton button,
           QEvent::Type type = QEvent::MouseButtonPress) {
    QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, button,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

TEST(InputWidget, ClicksBecomeMovesAndWindowMessages) {
    ScriptedPrompter prompter;  // the images are not in any archive here: their messages
    CountingWindow parent;
    CountingWindow mainWindow;
    auto* board = new BoardControl(&parent, 0x203040);
    board->Canvas().SetImages(test::Flat(64, test::kWood), test::Flat(48, test::kStoneBlack),
                              test::Flat(48, test::kStoneWhite));
    board->SetMainWindow(&mainWindow);
    board->resize(400, 400);
    QResizeEvent resize(QSize(400, 400), QSize());
    QCoreApplication::sendEvent(board, &resize);
    ASSERT_EQ(board->Canvas().BackBuffer().width(), 400);
    ASSERT_EQ(board->Canvas().Geometry().cell, 19);

    const QPoint point = board->Canvas().Geometry().PointCentre(3, 3);
    Press(board, point, Qt::LeftButton);  // mode 0: only the click notification
    EXPECT_EQ(board->Logic().CurrentMove(), 0);
    ASSERT_EQ(parent.messages.size(), 1u);
    EXPECT_EQ(parent.messages[0], UM_BOARD_CLICKED);

    board->Logic().SetBoardMode(kModePlay);
    board->Logic().SetSuppressClickNotify(true);
    Press(board, point, Qt::LeftButton);
    Press(board, point, Qt::LeftButton, QEvent::MouseButtonRelease);
    EXPECT_EQ(board->Logic().CurrentMove(), 1);
    EXPECT_EQ(board->Logic().Cell(3, 3).stone, kBlack);
    EXPECT_EQ(parent.messages.size(), 1u);
    ASSERT_EQ(mainWindow.messages.size(), 1u);
    EXPECT_EQ(mainWindow.messages[0], UM_REFRESH_PANE);
    EXPECT_EQ(board->Canvas().BackBuffer().Pixel(point.x() - 4, point.y() - 4), test::kStoneBlack);
}

TEST(InputWidget, SkinBuildsTheBoardForBadukPanElements) {
    ScriptedPrompter prompter;
    RegisterBoardControl();
    tinyxml2::XMLDocument doc;
    doc.Parse(R"(<BadukPan id="200" color="#102030"/>)");
    QWidget parent;
    ControlContext ctx;
    ctx.element = doc.RootElement();
    ctx.rect = QRect(5, 6, 300, 320);
    ctx.parent = &parent;
    ctx.id = 200;
    QWidget* built = BuildSkinControl(ctx);
    SetControlBuilder("BadukPan", nullptr);
    auto* board = qobject_cast<BoardControl*>(built);
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(ControlId(board), 200);
    EXPECT_EQ(board->geometry(), ctx.rect);
    EXPECT_EQ(board->Canvas().Background(), 0x102030u);
}

}  // namespace
}  // namespace velmora
