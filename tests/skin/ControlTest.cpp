#include <gtest/gtest.h>

#include "../common/Click.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QToolTip>
#include <QTreeWidget>

#include "WindowTestSupport.h"
#include "platform/Messages.h"
#include "skin/SkinButton.h"
#include "skin/SkinControls.h"
#include "skin/SkinDialog.h"
#include "skin/SkinWindow.h"
#include "skin/SkinXml.h"

namespace velmora {
namespace {

using testing::Pos;
using testing::SkinFolder;

class Probe : public SkinWindow {
public:
    std::vector<int> commands;
    std::vector<std::pair<int, long>> hovers;

protected:
    void onCommand(int id) override { commands.push_back(id); }
    bool onMessage(int m, std::intptr_t w, std::intptr_t l) override {
        if (m == UM_BUTTON_HOVER) hovers.push_back({static_cast<int>(w), static_cast<long>(l)});
        return true;
    }
};

using testing::Click;

class ControlWindow : public ::testing::Test {
protected:
    void Build(const std::string& controls, bool dialog = false) {
        folder.Write("w.xml", SkinFolder::Window("", Pos(0, 0, 300, 200) + "<Controls>" + controls + "</Controls>"));
        if (dialog) {
            dlg = std::make_unique<SkinDialog>(nullptr, "w.xml");
            dlg->EnsureBuilt();
        } else {
            win.SetSkinFile("w.xml");
            ASSERT_TRUE(win.CreateFromSkin());
        }
    }
    SkinButton* Button(int id) { return win.FindControlAs<SkinButton>(id); }
    SkinFolder folder;
    Probe win;
    std::unique_ptr<SkinDialog> dlg;
};

TEST_F(ControlWindow, RadioGroupKeepsOneChecked) {
    Build("<Button id=\"1\" style=\"option group\">" + Pos(0, 0, 20, 20) + "</Button>"
          "<Button id=\"2\" style=\"option\">" + Pos(30, 0, 20, 20) + "</Button>"
          "<Button id=\"3\" style=\"option\">" + Pos(60, 0, 20, 20) + "</Button>"
          "<Button id=\"4\" style=\"option group\">" + Pos(90, 0, 20, 20) + "</Button>"
          "<Button id=\"5\" style=\"check\" setcheck=\"true\">" + Pos(120, 0, 20, 20) + "</Button>");
    EXPECT_TRUE(Button(1)->IsChecked());
    EXPECT_FALSE(Button(2)->IsChecked());
    EXPECT_TRUE(Button(4)->IsChecked());
    EXPECT_TRUE(Button(5)->IsChecked());
    Click(Button(3));
    EXPECT_TRUE(Button(3)->IsChecked());
    EXPECT_FALSE(Button(1)->IsChecked());
    EXPECT_TRUE(Button(4)->IsChecked());  // another group
    Click(Button(5));
    EXPECT_FALSE(Button(5)->IsChecked());  // a check box toggles
    EXPECT_EQ(win.commands, (std::vector<int>{3, 5}));
}

TEST_F(ControlWindow, ImageSizesButtonAndPicksStateFrames) {
    const unsigned colors[4] = {0x112233, 0x445566, 0x778899, 0xAABBCC};
    folder.WriteBitmap("btn.bmp", testing::FourFrames(60, 25, colors));
    Build("<Button id=\"9\" anchor=\"RIGHT\"><Image file=\"btn.bmp\"/>" + Pos(10, 20, 200, 150) + "</Button>");
    SkinButton* b = Button(9);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->geometry(), QRect(10, 20, 60, 25));
    ASSERT_EQ(win.AnchoredControls().size(), 1u);
    EXPECT_EQ(win.AnchoredControls()[0].right, 70);  // the anchor keeps the resized rectangle
    EXPECT_EQ(testing::PixelOf(*b, 5, 5), colors[0]);

    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QCoreApplication::sendEvent(b, &enter);
    QCoreApplication::sendEvent(b, &enter);  // one hover message per entry
    EXPECT_EQ(testing::PixelOf(*b, 5, 5), colors[1]);
    ASSERT_EQ(win.hovers.size(), 1u);
    EXPECT_EQ(win.hovers[0].first, 9);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(b, &leave);
    QCoreApplication::sendEvent(b, &enter);
    EXPECT_EQ(win.hovers.size(), 2u);

    b->SetPressed(true);
    EXPECT_EQ(testing::PixelOf(*b, 5, 5), colors[2]);
    b->SetPressed(false);
    b->setEnabled(false);
    EXPECT_EQ(b->StateFrame(), 3);
    EXPECT_EQ(testing::PixelOf(*b, 5, 5), colors[3]);
}

TEST_F(ControlWindow, CaptionsDrawInIndexOrderUpToAGap) {
    const unsigned black[4] = {0, 0, 0, 0};
    folder.WriteBitmap("b.bmp", testing::FourFrames(100, 40, black));
    // Captions 0 and 2 exist, 1 does not: 2 is never drawn.
    Build("<Button id=\"1\"><Image file=\"b.bmp\"/>"
          "<Caption index=\"0\" color=\"#FFFFFF\">" + Pos(0, 0, 50, 40) + "</Caption>"
          "<Caption index=\"2\" color=\"#FFFFFF\">" + Pos(50, 0, 50, 40) + "</Caption></Button>");
    SkinButton* b = Button(1);
    b->SetCaptionText(0, "■■■■");
    b->SetCaptionText(2, "■■■■");
    EXPECT_EQ(b->CaptionText(2), "■■■■");
    const QImage img = b->grab().toImage();
    auto lit = [&](int x0, int x1) {
        int n = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = x0; x < x1; ++x) n += (img.pixel(x, y) & 0xFFFFFF) != 0;
        return n;
    };
    EXPECT_GT(lit(0, 50), 20);
    EXPECT_EQ(lit(50, 100), 0);
}

TEST_F(ControlWindow, TooltipLinesAndSwitch) {
    Build("<Button id=\"1\"><Tooltip text=\"첫 줄\\n둘째 줄\"/>" + Pos(0, 0, 20, 20) + "</Button>"
          "<Button id=\"2\"><Tooltip text=\"a\" alwaysshow=\"TRUE\"/>" + Pos(30, 0, 20, 20) + "</Button>"
          "<Button id=\"3\"><Tooltip text=\"b\" alwaysshow=\"true\"/>" + Pos(60, 0, 20, 20) + "</Button>");
    EXPECT_EQ(Button(1)->TooltipText(), "첫 줄\n둘째 줄");
    SetTooltipsEnabled(false);
    EXPECT_FALSE(Button(1)->TooltipActive());
    EXPECT_TRUE(Button(2)->TooltipActive());
    EXPECT_FALSE(Button(3)->TooltipActive());  // only upper-case TRUE
    SetTooltipsEnabled(true);
    EXPECT_TRUE(Button(1)->TooltipActive());
    win.show();
    QHelpEvent help(QEvent::ToolTip, QPoint(3, 3), Button(1)->mapToGlobal(QPoint(3, 3)));
    QCoreApplication::sendEvent(Button(1), &help);
    EXPECT_EQ(QToolTip::text().split('\n').size(), 2);
    QToolTip::hideText();
    SetTooltipsEnabled(false);
    EXPECT_EQ(TooltipDisplayText("a\\nb\\nc"), "a\nb\nc");
}

TEST_F(ControlWindow, GradeComboListsTwentySevenRanks) {
    Build("<ComboBox id=\"5\" type=\"grade\"><Items><Item caption=\"x\"/></Items>" + Pos(0, 0, 80, 20) +
          "</ComboBox><ComboBox id=\"6\"><Items><Item caption=\"가\"/><Item caption=\"나\"/></Items></ComboBox>");
    auto* c = win.FindControlAs<QComboBox>(5);
    ASSERT_TRUE(c);
    ASSERT_EQ(c->count(), 27);
    EXPECT_EQ(c->currentIndex(), 0);
    EXPECT_EQ(c->itemText(0).toStdString(), "9단");
    EXPECT_EQ(c->itemText(8).toStdString(), "1단");
    EXPECT_EQ(c->itemText(9).toStdString(), "1급");
    EXPECT_EQ(c->itemText(26).toStdString(), "18급");
    EXPECT_EQ(win.FindControlAs<QComboBox>(6)->count(), 2);
    win.SetControlText(6, "나");
    EXPECT_EQ(win.GetControlText(6), "나");
}

TEST_F(ControlWindow, DialogsKnowSevenControlTypes) {
    Build("<ComboBox id=\"5\" type=\"grade\"/><ComboBox id=\"6\" type=\"roomtitle\"/>"
          "<Slider id=\"7\"/><ListCtrl id=\"8\"/><ChatCtrl id=\"9\"/><WebCtrl id=\"10\"/>",
          true);
    EXPECT_EQ(dlg->FindControlAs<QComboBox>(5)->count(), 0);  // grade ranks fill windows only
    EXPECT_TRUE(dlg->FindControlAs<QComboBox>(6)->isEditable());
    EXPECT_FALSE(dlg->FindControl(7));
    EXPECT_FALSE(dlg->FindControl(8));
    EXPECT_FALSE(dlg->FindControl(9));
    EXPECT_TRUE(dlg->FindControlAs<SkinWebView>(kWebCtrlId));  // the browser's fixed id
}

QImage Solid(int w, int h, QRgb c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

TEST_F(ControlWindow, SliderDrawsChannelAndThumbAndFollowsTheMouse) {
    QImage thumb = Solid(10, 20, qRgb(255, 0, 0));
    thumb.setPixel(0, 10, qRgb(255, 0, 255));  // magenta shows what lies beneath
    folder.WriteBitmap("thumb.bmp", thumb);
    folder.WriteBitmap("tick.bmp", Solid(4, 6, qRgb(0, 0, 255)));
    Build("<Slider id=\"7\" color=\"#00FF00\"><Image file=\"thumb.bmp\"/><TickImage file=\"tick.bmp\"/>"
          "<Range min=\"0\" max=\"10\"/>" + Pos(0, 0, 110, 30) + "</Slider>");
    auto* s = win.FindControlAs<SkinSlider>(7);
    ASSERT_TRUE(s);
    QImage shot = s->grab().toImage();
    EXPECT_EQ(shot.pixel(105, 15), qRgb(255, 0, 0));  // the thumb at max, right-aligned
    EXPECT_EQ(shot.pixel(100, 15), qRgb(0, 0, 255));  // its magenta pixel shows the channel
    EXPECT_EQ(shot.pixel(50, 15), qRgb(0, 0, 255));   // the channel stretched, centred
    EXPECT_EQ(shot.pixel(50, 2), qRgb(0, 255, 0));    // the background colour around it
    EXPECT_EQ(shot.pixel(50, 27), qRgb(0, 255, 0));

    const QPointF at(55, 15);  // the middle of the track
    QMouseEvent press(QEvent::MouseButtonPress, at, s->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(s, &press);
    EXPECT_EQ(s->value(), 5);
    shot = s->grab().toImage();
    EXPECT_EQ(shot.pixel(55, 15), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(105, 15), qRgb(0, 0, 255));
}

TEST_F(ControlWindow, EditStylesAndLocalPages) {
    folder.Write("page.htm", "<html><body>도움말 첫 쪽</body></html>");
    Build("<Edit id=\"1\" style=\"pass\"/><Edit id=\"2\" style=\"multiline\" limit=\"4\"/>"
          "<WebCtrl id=\"3\" url=\"page.htm\">" + Pos(0, 0, 200, 100) + "</WebCtrl>");
    EXPECT_EQ(win.FindControlAs<QLineEdit>(1)->echoMode(), QLineEdit::Password);
    auto* multi = win.FindControlAs<QPlainTextEdit>(2);
    ASSERT_TRUE(multi);
    EXPECT_EQ(multi->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);  // windows only
    win.SetControlText(2, "가나\n다라마");
    EXPECT_EQ(win.GetControlText(2), "가나\n다");
    auto* web = win.FindControlAs<SkinWebView>(kWebCtrlId);
    ASSERT_TRUE(web);
    EXPECT_FALSE(win.FindControl(3));  // the browser answers to its fixed id only
    EXPECT_TRUE(web->toPlainText().contains(QString::fromUtf8("도움말 첫 쪽")));
}

TEST_F(ControlWindow, BoardBuilderHookAndPlaceholder) {
    Build("<BadukPan id=\"200\" color=\"#C08040\">" + Pos(5, 5, 50, 50) + "</BadukPan>");
    QWidget* placeholder = win.FindControl(200);
    ASSERT_TRUE(placeholder);
    EXPECT_EQ(placeholder->geometry(), QRect(5, 5, 50, 50));

    int calls = 0;
    SetControlBuilder("BadukPan", [&](const ControlContext& ctx) {
        ++calls;
        auto* w = new QWidget(ctx.parent);
        w->setGeometry(ctx.rect.adjusted(0, 0, 1, 1));
        w->setObjectName(QString::fromUtf8(AttrText(ctx.element, "color")));
        return w;
    });
    Probe second;
    second.SetSkinFile("w.xml");
    ASSERT_TRUE(second.CreateFromSkin());
    SetControlBuilder("BadukPan", nullptr);
    EXPECT_EQ(calls, 1);
    ASSERT_TRUE(second.FindControl(200));  // tagged with the element's id
    EXPECT_EQ(second.FindControl(200)->objectName(), "#C08040");
}

TEST_F(ControlWindow, AnimatedButtonShowsItsIconFrameAndStopsAfterItsTimedAnimation) {
    const unsigned colors[4] = {0x101010, 0x202020, 0x303030, 0x404040};
    const unsigned icons[4] = {0xA00000, 0x00A000, 0x0000A0, 0xA0A000};
    QImage iconStrip(32, 8, QImage::Format_RGB32);
    for (int k = 0; k < 4; ++k)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                iconStrip.setPixel(8 * k + x, y, x == 0 && y == 0 ? 0xFF00FF : icons[k]);
    folder.WriteBitmap("icons.bmp", iconStrip);
    folder.WriteBitmap("ani.bmp", testing::FourFrames(40, 20, colors));
    folder.WriteBitmap("strip.bmp", testing::FourFrames(40, 20, colors));
    folder.Write("Skin/AniBtnImageSet.xml",
                 "<AniBtnImageSet><AnimationShape name=\"spin\" file=\"strip.bmp\" framewidth=\"20\">"
                 "<Frames time=\"300\"><Frame index=\"1\" interval=\"100\"/><Frame index=\"2\" interval=\"100\"/>"
                 "</Frames></AnimationShape></AniBtnImageSet>");
    ASSERT_TRUE(SkinResources::Instance().LoadAniBtnImageSet("Skin/AniBtnImageSet.xml"));
    Build("<AniButton id=\"3\"><Images><Image file=\"ani.bmp\"><AnimationShapes>"
          "<AnimationShape class=\"spin\" event=\"0\"/></AnimationShapes></Image></Images>"
          "<AniIconList file=\"icons.bmp\" alpha=\"true\">" + Pos(20, 5, 8, 8) + "</AniIconList>" +
          Pos(0, 0, 99, 99) + "</AniButton>");
    auto* b = win.FindControlAs<SkinAniButton>(3);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->size(), QSize(40, 20));
    EXPECT_EQ(testing::PixelOf(*b, 3, 3), colors[0]);
    EXPECT_EQ(testing::PixelOf(*b, 23, 8), icons[0]);  // the icon follows the state's frame
    EXPECT_EQ(testing::PixelOf(*b, 20, 5), colors[0]);  // magenta in it is transparent
    b->SetAnimating(true);
    EXPECT_TRUE(b->TimerRunning());
    b->AdvanceAnimation(1000);  // the first event counts nothing
    EXPECT_EQ(testing::PixelOf(*b, 3, 3), colors[1]);
    EXPECT_EQ(testing::PixelOf(*b, 23, 8), icons[1]);  // and the animation's while it runs
    b->AdvanceAnimation(1150);
    EXPECT_EQ(testing::PixelOf(*b, 3, 3), colors[2]);
    EXPECT_EQ(testing::PixelOf(*b, 23, 8), icons[2]);
    b->AdvanceAnimation(1400);  // past the 300 ms
    EXPECT_FALSE(b->TimerRunning());
    EXPECT_FALSE(b->IsAnimating());
    EXPECT_EQ(testing::PixelOf(*b, 3, 3), colors[0]);
}

TEST_F(ControlWindow, ListColumnsTakeTheirAlignment) {
    Build("<ListCtrl id=\"8\">" + Pos(0, 0, 200, 100) +
          "<HeaderItems><Item width=\"40\" align=\"CENTER\"/><Item width=\"60\" align=\"RIGHT\"/>"
          "<Item width=\"50\" align=\"left\"/></HeaderItems></ListCtrl>");
    auto* list = win.FindControlAs<QTreeWidget>(8);
    ASSERT_TRUE(list);
    auto* item = new QTreeWidgetItem(QStringList{"1", "2", "3"});
    list->addTopLevelItem(item);
    EXPECT_EQ(item->textAlignment(0), int(Qt::AlignHCenter | Qt::AlignVCenter));
    EXPECT_EQ(item->textAlignment(1), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(item->textAlignment(2), int(Qt::AlignLeft | Qt::AlignVCenter));  // only CENTER and RIGHT count
}

}  // namespace
}  // namespace velmora
