#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>

#include "WindowTestSupport.h"
#include "platform/Messages.h"
#include "skin/SkinControls.h"
#include "skin/SkinDialog.h"
#include "skin/SkinXml.h"
#include "skin/SkinWindow.h"

namespace velmora {
namespace {

using testing::SkinFolder;

// A window that records what the framework tells it.
class ProbeWindow : public SkinWindow {
public:
    using SkinWindow::SkinWindow;
    int built = 0;
    std::vector<int> commands;
    std::vector<std::pair<int, int>> notes;
    std::vector<std::array<long, 3>> messages;

protected:
    void OnSkinBuilt() override { ++built; }
    void onCommand(int id) override { commands.push_back(id); }
    void onNotify(int id, int code) override { notes.push_back({id, code}); }
    bool onMessage(int m, std::intptr_t w, std::intptr_t l) override {
        messages.push_back({m, static_cast<long>(w), static_cast<long>(l)});
        return true;
    }
};

std::string Box(int id, int x, int y, int w, int h, const std::string& extra,
                const std::string& children = "") {
    return "<Box id=\"" + std::to_string(id) + "\" " + extra + " fillcolor=\"#00FF00\"><Position x=\"" +
           std::to_string(x) + "\" y=\"" + std::to_string(y) + "\"/><Size w=\"" + std::to_string(w) +
           "\" h=\"" + std::to_string(h) + "\"/>" + children + "</Box>";
}

TEST(WindowAnchor, FlagsFromWords) {
    EXPECT_EQ(ParseAnchorFlags(""), kAnchorTop | kAnchorLeft);
    EXPECT_EQ(ParseAnchorFlags("LEFT|RIGHT|TOP"), kAnchorLeft | kAnchorRight | kAnchorTop);
    EXPECT_EQ(ParseAnchorFlags("BOTTOM,HCENTER"), kAnchorBottom | kAnchorHCenter);
    EXPECT_EQ(ParseAnchorFlags("VCENTER"), kAnchorVCenter);
    EXPECT_EQ(ParseAnchorFlags("right"), 0u);  // case-sensitive
}

TEST(WindowAnchor, RectFollowsFlags) {
    AnchorItem a;
    a.left = 10, a.top = 20, a.right = 60, a.bottom = 40;
    a.flags = kAnchorRight | kAnchorBottom;
    EXPECT_EQ(AnchoredRect(a, 30, 8), QRect(40, 28, 50, 20));
    a.flags = kAnchorLeft | kAnchorRight | kAnchorTop;
    EXPECT_EQ(AnchoredRect(a, 30, 8), QRect(10, 20, 80, 20));
    a.flags = kAnchorHCenter | kAnchorVCenter;
    EXPECT_EQ(AnchoredRect(a, 31, -3), QRect(25, 19, 50, 20));  // halves truncate towards zero
    a.flags = 0;
    EXPECT_EQ(AnchoredRect(a, 100, 100), QRect(10, 20, 50, 20));
    // Minimum sizes: a stretching element stops at its MinSize, a right-follower keeps it too.
    a.flags = kAnchorLeft | kAnchorRight;
    a.minWidth = 45;
    EXPECT_EQ(AnchoredRect(a, -20, 0).width(), 45);
    a.flags = kAnchorRight;
    a.minWidth = 55;
    EXPECT_EQ(AnchoredRect(a, -20, 0), QRect(-15, 20, 55, 20));
}

class WindowLayout : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Write("Skin/Test.xml",
                     SkinFolder::Window("color=\"#102030\"",
                                        "<Position x=\"0\" y=\"0\"/><Size w=\"400\" h=\"300\"/>"
                                        "<MinSize w=\"300\" h=\"250\"/><Shapes>" +
                                            Box(1, 300, 250, 80, 30, "anchor=\"RIGHT|BOTTOM\"") +
                                            Box(2, 10, 10, 380, 20, "anchor=\"LEFT|RIGHT|TOP\"") +
                                            Box(3, 100, 100, 100, 20, "anchor=\"HCENTER\"") +
                                            Box(4, 20, 40, 30, 30, "") +
                                            Box(5, 10, 200, 150, 20, "anchor=\"LEFT|RIGHT\"",
                                                "<MinSize w=\"140\"/>") +
                                            "</Shapes><Controls>"
                                            "<Edit id=\"30\" anchor=\"TOP|LEFT\"><Position x=\"5\" y=\"60\"/><Size w=\"50\" h=\"20\"/></Edit>"
                                            "<Edit id=\"31\" anchor=\"RIGHT|TOP\"><Position x=\"340\" y=\"60\"/><Size w=\"50\" h=\"20\"/></Edit>"
                                            "</Controls>"));
    }
    SkinFolder folder;
};

TEST_F(WindowLayout, AnchorsFollowResizeFromFileRectangles) {
    ProbeWindow w;
    w.SetSkinFile("Skin\\Test.xml");
    ASSERT_TRUE(w.CreateFromSkin());
    w.show();
    EXPECT_EQ(w.built, 1);
    EXPECT_EQ(w.size(), QSize(400, 300));
    // Exactly TOP + LEFT is not anchored at all; anything else is.
    ASSERT_EQ(w.AnchoredControls().size(), 1u);
    EXPECT_EQ(ControlId(w.AnchoredControls()[0].control), 31);

    w.resize(460, 340);
    EXPECT_EQ(w.FindShape(1)->rect, QRect(360, 290, 80, 30));  // keeps its corner distance
    EXPECT_EQ(w.FindShape(2)->rect, QRect(10, 10, 440, 20));    // stretches
    EXPECT_EQ(w.FindShape(3)->rect, QRect(130, 100, 100, 20));  // half the change
    EXPECT_EQ(w.FindShape(4)->rect, QRect(20, 40, 30, 30));     // never moves
    EXPECT_EQ(w.FindControl(30)->geometry(), QRect(5, 60, 50, 20));
    EXPECT_EQ(w.FindControl(31)->geometry(), QRect(400, 60, 50, 20));

    // Back and forth: no drift.
    w.resize(401, 299);
    w.resize(400, 300);
    EXPECT_EQ(w.FindShape(1)->rect, QRect(300, 250, 80, 30));
    EXPECT_EQ(w.FindShape(2)->rect, QRect(10, 10, 380, 20));
    EXPECT_EQ(w.FindControl(31)->geometry(), QRect(340, 60, 50, 20));
}

TEST_F(WindowLayout, ShrinkingStopsAtMinSize) {
    ProbeWindow w;
    w.SetSkinFile("Skin\\Test.xml");
    ASSERT_TRUE(w.CreateFromSkin());
    w.show();
    w.resize(300, 250);
    const QRect atMin1 = w.FindShape(1)->rect, atMin2 = w.FindShape(2)->rect;
    const QRect atMinControl = w.FindControl(31)->geometry();
    w.resize(200, 100);
    EXPECT_EQ(w.FindShape(1)->rect, atMin1);
    EXPECT_EQ(w.FindShape(2)->rect, atMin2);
    EXPECT_EQ(w.FindControl(31)->geometry(), atMinControl);
    EXPECT_EQ(w.FindShape(5)->rect.width(), 140);  // the shape's own MinSize
}

TEST_F(WindowLayout, PaintsBackgroundAndShapesInOrder) {
    ProbeWindow w;
    w.SetSkinFile("Skin\\Test.xml");
    ASSERT_TRUE(w.CreateFromSkin());
    const QImage img = w.grab().toImage();
    EXPECT_EQ(img.pixel(200, 150) & 0xFFFFFF, 0x102030u);
    EXPECT_EQ(img.pixel(25, 45) & 0xFFFFFF, 0x00FF00u);  // inside box 4
    EXPECT_EQ(img.pixel(20, 40) & 0xFFFFFF, 0x000000u);  // its black outline
}

TEST(WindowFile, WidthRuleAndEdgeDefaults) {
    SkinFolder folder;
    const std::string body = "<Position x=\"0\" y=\"0\"/><Size w=\"1024\" h=\"700\"/>";
    folder.Write("w.xml", SkinFolder::Window("edge=\"true\"", body));
    folder.Write("d.xml", SkinFolder::Window("", body));
    ProbeWindow w;
    w.SetSkinFile("w.xml");
    ASSERT_TRUE(w.CreateFromSkin());
    EXPECT_EQ(w.FileRect().size(), QSize(1030, 706));
    EXPECT_TRUE(w.EdgeRegion());
    // The bevelled outline cuts the corners.
    EXPECT_FALSE(w.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(w.mask().contains(QPoint(10, 0)));
    EXPECT_FALSE(w.mask().contains(QPoint(1029, 705)));

    SkinDialog d(nullptr, "d.xml");
    d.EnsureBuilt();
    EXPECT_EQ(d.FileRect().size(), QSize(1024, 700));
    EXPECT_TRUE(d.EdgeRegion());  // on unless "false"
    EXPECT_FALSE(d.IsResizable());
}

TEST(WindowFile, HugeNumbersAreClampedBeforeTheyAddUp) {
    // Positions plus sizes, anchors and a countdown's seconds × 1000 used to overflow int.
    SkinFolder folder;
    const std::string big = "2147483647";
    const std::string body =
        "<Position x=\"0\" y=\"0\"/><Size w=\"100\" h=\"80\"/><MinSize w=\"" + big +
        "\" h=\"5\"/><Shapes><Box anchor=\"RIGHT|BOTTOM\"><Position x=\"" + big + "\" y=\"-" +
        big + "\"/><Size w=\"" + big + "\" h=\"" + big + "\"/></Box><TimerShape id=\"3\" second=\"" +
        big + "\" tick=\"1\"/></Shapes>";
    folder.Write("d.xml", SkinFolder::Window("", body));
    SkinDialog d(nullptr, "d.xml");
    d.EnsureBuilt();
    ASSERT_EQ(d.Shapes().size(), 2u);
    const AnchorItem& a = d.Shapes()[0].anchor;  // the rectangle as the file gave it
    EXPECT_EQ(QRect(a.left, a.top, a.right - a.left, a.bottom - a.top),
              QRect(kMaxSkinNumber, -kMaxSkinNumber, kMaxSkinNumber, kMaxSkinNumber));
    EXPECT_EQ(d.MinSize(), QSize(kMaxSkinNumber, 5));
    d.resize(300, 200);
    d.RelayoutAnchors();
    Surface dc(100, 80);
    d.RenderShapes(dc);
}

TEST(WindowFile, MissingFileBuildsNothingButCallsHook) {
    SkinFolder folder;
    ProbeWindow w;
    w.SetSkinFile("Skin\\Absent.xml");
    EXPECT_FALSE(w.CreateFromSkin());
    EXPECT_EQ(w.built, 1);
    EXPECT_TRUE(w.Shapes().empty());
}

TEST(WindowFile, ColorKeyedDialogHidesItsBackground) {
    SkinFolder folder;
    folder.Write("d.xml", SkinFolder::Window("color=\"#FF00FF\" rgn=\"true\" edge=\"false\" resize=\"true\"",
                                             "<Position x=\"0\" y=\"0\"/><Size w=\"100\" h=\"80\"/><Shapes>" +
                                                 Box(1, 10, 10, 30, 30, "") + "</Shapes>"));
    SkinDialog d(nullptr, "d.xml");
    d.EnsureBuilt();
    EXPECT_TRUE(d.IsColorKeyed());
    EXPECT_TRUE(d.IsResizable());
    EXPECT_FALSE(d.mask().contains(QPoint(60, 60)));
    EXPECT_TRUE(d.mask().contains(QPoint(20, 20)));
}

TEST(WindowElements, TextShapesAndControlHelpers) {
    SkinFolder folder;
    const std::string body =
        "<Position x=\"0\" y=\"0\"/><Size w=\"200\" h=\"100\"/><Shapes>"
        "<Text id=\"7\" caption=\"처음\"><Position x=\"0\" y=\"0\"/><Size w=\"100\" h=\"20\"/></Text>"
        "<Text id=\"7\" caption=\"둘째\"/><Text caption=\"고정\"/></Shapes><Controls>"
        "<Edit id=\"40\" limit=\"5\"><Position x=\"0\" y=\"30\"/><Size w=\"80\" h=\"20\"/></Edit>"
        "<Button id=\"41\" enable=\"false\"/><Edit id=\"42\" enable=\"false\"/></Controls>";
    folder.Write("w.xml", SkinFolder::Window("", body));
    folder.Write("d.xml", SkinFolder::Window("", body));

    ProbeWindow w;
    w.SetSkinFile("w.xml");
    ASSERT_TRUE(w.CreateFromSkin());
    EXPECT_EQ(w.GetShapeText(7), "");  // windows fill numbered texts from code
    w.SetShapeText(7, "바둑");
    EXPECT_EQ(w.GetShapeText(7), "바둑");
    EXPECT_EQ(w.FindShape(7), w.Shapes()[0].shape.get());  // the first of equal ids
    EXPECT_EQ(w.GetShapeText(99), "");
    w.SetShapeVisible(7, false);
    EXPECT_FALSE(w.FindShape(7)->visible);

    w.SetControlText(40, "abcdefgh");
    EXPECT_EQ(w.GetControlText(40), "abcde");  // the limit
    w.SetControlText(99, "x");                 // no such control: nothing happens
    EXPECT_EQ(w.GetControlText(99), "");
    w.EnableControl(40, false);
    EXPECT_FALSE(w.FindControl(40)->isEnabled());
    w.ShowControl(40, false);
    EXPECT_TRUE(w.FindControl(40)->isHidden());
    // In windows "false" leaves a control as created: buttons start disabled, edits enabled.
    EXPECT_FALSE(w.FindControl(41)->isEnabled());
    EXPECT_TRUE(w.FindControl(42)->isEnabled());
    EXPECT_EQ(w.Controls()[1].kind, 2);
    EXPECT_EQ(w.Controls()[0].kind, 0);
    // An edit reports its changes as notifications.
    ASSERT_FALSE(w.notes.empty());
    EXPECT_EQ(w.notes.front(), std::make_pair(40, int(kCmdChanged)));

    SkinDialog d(nullptr, "d.xml");
    d.EnsureBuilt();
    EXPECT_EQ(d.GetShapeText(7), "처음");  // dialogs keep the file's caption
    EXPECT_FALSE(d.FindControl(42)->isEnabled());
}

// A dialog recording commands and its countdown.
class ProbeDialog : public SkinDialog {
public:
    using SkinDialog::SkinDialog;
    std::vector<int> commands;
    int expired = 0;

protected:
    void onCommand(int id) override { commands.push_back(id); }
    void OnTimerShapeExpired() override { ++expired; }
};

TEST(WindowDialog, Commands100And101EndTheDialog) {
    SkinFolder folder;
    folder.Write("d.xml", SkinFolder::Window("", "<Size w=\"100\" h=\"100\"/>"));
    ProbeDialog d(nullptr, "d.xml");
    d.EnsureBuilt();
    d.show();
    SendCommand(&d, 101);
    EXPECT_EQ(d.result(), SkinDialog::kResultOk);
    EXPECT_FALSE(d.isVisible());
    d.show();
    SendCommand(&d, 100);
    EXPECT_EQ(d.result(), SkinDialog::kResultCancel);
    d.show();
    d.reject();  // Escape
    EXPECT_EQ(d.result(), SkinDialog::kResultCancel);
    EXPECT_EQ(d.commands, (std::vector<int>{101, 100}));  // both still reach the handler
}

TEST(WindowMessages, SentAndPostedMessagesReachTheHandler) {
    SkinFolder folder;
    ProbeWindow w;
    EXPECT_TRUE(SendMessage(&w, UM_REFRESH_PANE, 3, 4));
    ASSERT_EQ(w.messages.size(), 1u);
    EXPECT_EQ(w.messages[0], (std::array<long, 3>{2024, 3, 4}));
    EXPECT_TRUE(PostMessage(&w, UM_MENU_BUTTON_RESET, 1501));
    EXPECT_EQ(w.messages.size(), 1u);  // queued
    QCoreApplication::processEvents();
    ASSERT_EQ(w.messages.size(), 2u);
    EXPECT_EQ(w.messages[1][0], 3026);
    EXPECT_FALSE(SendMessage(&w, 999));  // below the message range
    SendCommand(&w, 77);
    EXPECT_EQ(w.commands, std::vector<int>{77});
}

}  // namespace
}  // namespace velmora
