#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "platform/Messages.h"
#include "skin/PaneStack.h"

namespace velmora {
namespace {

// Remembers the open indices the stack reports.
class StackParent : public QWidget {
  public:
    std::vector<int> opened;

  protected:
    bool event(QEvent* e) override {
        if (e->type() == static_cast<QEvent::Type>(PaneStack::kPaneOpened)) {
            opened.push_back(static_cast<int>(static_cast<MessageEvent*>(e)->wParam()));
            return true;
        }
        return QWidget::event(e);
    }
};

// A strip of four 17-pixel rows, each a colour of its own.
SkinBitmap FourRowStrip() {
    QImage strip(200, 68, QImage::Format_RGB32);
    const QRgb rows[] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFF808080};
    for (int r = 0; r < 4; ++r)
        for (int y = r * 17; y < r * 17 + 17; ++y)
            for (int x = 0; x < 200; ++x) strip.setPixel(x, y, rows[r]);
    return SkinBitmap(Surface(strip));
}

class PaneStackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        stack = new PaneStack(&parent);
        stack->setGeometry(10, 20, 200, 0);
        for (int lines : {3, 1, 0})
            stack->AddPane(new PaneHeader(500 + stack->PaneCount(), "참고도", FourRowStrip()),
                           new QWidget, lines);
    }

    StackParent parent;
    PaneStack* stack = nullptr;
};

TEST_F(PaneStackTest, OneOpenPaneAtATimeWithItsContentBelowItsHeader) {
    EXPECT_EQ(stack->height(), 3 * 17);
    EXPECT_EQ(stack->OpenIndex(), -1);

    stack->ClickHeader(500);
    EXPECT_EQ(stack->OpenIndex(), 0);
    EXPECT_EQ(stack->ContentHeight(0), 3 * 17 + 20);
    EXPECT_EQ(stack->height(), 3 * 17 + 71);
    EXPECT_EQ(stack->geometry().topLeft(), QPoint(10, 20));
    EXPECT_EQ(stack->Content(0)->geometry(), QRect(0, 17, 200, 71));
    EXPECT_FALSE(stack->Content(0)->isHidden());
    EXPECT_EQ(stack->Header(1)->y(), 17 + 71);
    EXPECT_TRUE(stack->Header(0)->IsPressed());

    stack->ClickHeader(502);  // another opens, the first closes
    EXPECT_EQ(stack->OpenIndex(), 2);
    EXPECT_TRUE(stack->Content(0)->isHidden());
    EXPECT_FALSE(stack->Header(0)->IsPressed());
    EXPECT_EQ(stack->height(), 3 * 17 + 20);

    stack->ClickHeader(502);  // the open one closes
    EXPECT_EQ(stack->OpenIndex(), -1);
    EXPECT_EQ(stack->height(), 3 * 17);
    EXPECT_EQ(parent.opened, (std::vector<int>{0, 2, -1}));

    stack->ClickHeader(501);
    EXPECT_EQ(stack->AddPane(new PaneHeader(503, "", {}), new QWidget, 2), 3);  // adding closes all
    EXPECT_EQ(stack->OpenIndex(), -1);
    EXPECT_EQ(stack->AddPane(nullptr, new QWidget, 1), -1);
    EXPECT_EQ(stack->PaneCount(), 4);

    stack->Clear();
    EXPECT_EQ(stack->PaneCount(), 0);
    EXPECT_EQ(stack->height(), 0);
}

TEST_F(PaneStackTest, HeadersDrawTheRowOfTheirState) {
    PaneHeader* header = stack->Header(1);
    auto rowAt = [&] { return header->grab().toImage().pixel(190, 8); };
    EXPECT_EQ(rowAt(), 0xFF0000FFu);
    header->setEnabled(false);
    EXPECT_EQ(rowAt(), 0xFF808080u);
    stack->ClickHeader(501);  // an open pane looks pressed even when disabled
    EXPECT_EQ(rowAt(), 0xFFFF0000u);
}

TEST(PaneStackLongList, ShowsOnlyTheHeadersInViewAndBuildsAContentWhenFirstNeeded) {
    // A view 100 high over a stack of a thousand panes, as a record's many variations give.
    StackParent view;
    view.resize(200, 100);
    auto* stack = new PaneStack(&view);
    stack->setGeometry(0, 0, 200, 0);
    int built = 0;
    for (int i = 0; i < 1000; ++i) {
        auto make = [&built] { return ++built, new QWidget; };
        ASSERT_EQ(stack->AddPane(new PaneHeader(i, "", {}), make, 2), i);
    }
    EXPECT_EQ(stack->AddPane(new PaneHeader(1000, "", {}), std::function<QWidget*()>(), 1), -1);
    EXPECT_EQ(built, 0);
    EXPECT_EQ(stack->height(), 1000 * 17);
    auto shown = [&] {
        std::vector<int> ids;
        for (int i = 0; i < stack->PaneCount(); ++i)
            if (!stack->Header(i)->isHidden()) ids.push_back(i);
        return ids;
    };
    EXPECT_EQ(shown(), (std::vector<int>{0, 1, 2, 3, 4, 5}));  // 100 / 17 rounded up

    // Opening builds that content once; the headers below it move down by its height.
    stack->move(0, -17 * 500 - 5);
    stack->ClickHeader(501);
    EXPECT_EQ(built, 1);
    EXPECT_EQ(stack->Header(502)->y(), 502 * 17 + 2 * 17 + 20);
    EXPECT_EQ(shown(), (std::vector<int>{500, 501, 502}));
    stack->ClickHeader(501);
    EXPECT_TRUE(stack->Content(501)->isHidden());
    ASSERT_NE(stack->Content(7), nullptr);  // asked for: built, still closed
    EXPECT_EQ(built, 2);
    EXPECT_TRUE(stack->Content(7)->isHidden());
    EXPECT_EQ(stack->Content(1000), nullptr);
    view.show();
    view.resize(200, 200);  // a taller view shows more: 8,505 to 8,705 holds headers 500–512
    EXPECT_EQ(shown().size(), 13u);

    // A parent that clears the stack when told of an opening: the clicked header lives on
    // until its click is over.
    struct ClearingParent : QWidget {
        PaneStack* stack = nullptr;
        bool event(QEvent* e) override {
            if (e->type() != static_cast<QEvent::Type>(PaneStack::kPaneOpened))
                return QWidget::event(e);
            stack->Clear();
            return true;
        }
    } clearing;
    stack->setParent(&clearing);
    clearing.stack = stack;
    QPointer<PaneHeader> header = stack->Header(3);
    QPointer<PaneHeader> other = stack->Header(4);
    stack->ClickHeader(3);
    EXPECT_EQ(stack->PaneCount(), 0);
    EXPECT_TRUE(header);
    EXPECT_FALSE(other);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(header);
}


TEST(PaneStackLongList, BuildsAHeaderOnlyOnceItComesIntoViewOrIsAskedFor) {
    StackParent view;
    view.resize(200, 100);
    auto* stack = new PaneStack(&view);
    stack->setGeometry(0, 0, 200, 0);
    for (int i = 0; i < 7000; ++i) {
        auto header = [i] { return new PaneHeader(100 + i, "참고도 " + std::to_string(i), {}); };
        ASSERT_EQ(stack->AddPane(100 + i, header, [] { return new QWidget; }, 2), i);
    }
    auto built = [&] { return stack->findChildren<PaneHeader*>().size(); };
    EXPECT_EQ(built(), 6u);  // the headers in view
    EXPECT_EQ(stack->height(), 7000 * 17);

    // A pane opened by its id before its header exists: the header, once scrolled to, shows
    // it open, and those below stand under its content.
    stack->ClickHeader(100 + 3000);
    EXPECT_EQ(stack->OpenIndex(), 3000);
    view.show();
    stack->move(0, -17 * 3000);
    ASSERT_NE(stack->Header(3000), nullptr);
    EXPECT_TRUE(stack->Header(3000)->IsPressed());
    EXPECT_FALSE(stack->Header(3000)->isHidden());
    EXPECT_EQ(stack->Header(3000)->Caption(), "참고도 3000");
    EXPECT_EQ(stack->Header(6999)->y(), 6999 * 17 + 2 * 17 + 20);
    EXPECT_TRUE(stack->Header(6999)->isHidden());
    EXPECT_LT(built(), 20u);

    // Its own click closes it again.
    stack->Header(3000)->Clicked(100 + 3000);
    EXPECT_EQ(stack->OpenIndex(), -1);
    EXPECT_FALSE(stack->Header(3000)->IsPressed());
    stack->Clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(built(), 0u);
}

}  // namespace
}  // namespace velmora
