#include "app/dialogs/MessagePopup.h"
#include "skin/HtmlTextShape.h"

#include <QApplication>
#include <QKeyEvent>

#include "AppTestSupport.h"
#include "platform/Messages.h"

namespace velmora {
namespace {

using testing::EditorSkinTest;

TEST(PopupAnswers, SetsAndButtonKinds) {
    EXPECT_EQ(MessagePopup::NormalizeSet(4), 4);
    EXPECT_EQ(MessagePopup::NormalizeSet(1), 1);
    EXPECT_EQ(MessagePopup::NormalizeSet(2), 0);  // anything else is OK alone
    EXPECT_EQ(MessagePopup::NormalizeSet(-3), 0);
    EXPECT_EQ(MessagePopup::Answer(4, true), kAnswerYes);
    EXPECT_EQ(MessagePopup::Answer(4, false), kAnswerNo);
    EXPECT_EQ(MessagePopup::Answer(1, true), kAnswerOk);
    EXPECT_EQ(MessagePopup::Answer(1, false), kAnswerCancel);
    EXPECT_EQ(MessagePopup::Answer(2, true), kAnswerOk);
    EXPECT_EQ(MessagePopup::Answer(2, false), kAnswerCancel);
}

TEST(PopupAnswers, ShowMessagePopupGoesThroughThePrompter) {
    ScriptedPrompter prompter;
    prompter.Answer(kAnswerNo);
    EXPECT_EQ(ShowMessagePopup("<br>저장하시겠습니까? ", kButtonsYesNo), kAnswerNo);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].kind, "popup");
    EXPECT_EQ(prompter.asked()[0].buttons, kButtonsYesNo);
}

class MessagePopupTest : public EditorSkinTest {
protected:
    // The ids of the shown buttons of a built pop-up of set.
    static std::vector<int> ShownButtons(MessagePopup& p) {
        std::vector<int> shown;
        for (int id : {103, 104, 105, 108, 109, 110, 111, 112})
            if (QWidget* b = p.FindControl(id); b && !b->isHidden()) shown.push_back(id);
        return shown;
    }
};

TEST_F(MessagePopupTest, EachSetShowsItsButtons) {
    MessagePopup yesNo("질문", 4), okCancel("질문", 1), ok("알림", 0), other("알림", 2), three("질문", 3);
    for (MessagePopup* p : {&yesNo, &okCancel, &ok, &other, &three}) p->EnsureBuilt();
    EXPECT_EQ(ShownButtons(yesNo), (std::vector<int>{108, 109}));
    EXPECT_EQ(ShownButtons(three), (std::vector<int>{110, 111, 112}));
    EXPECT_EQ(ShownButtons(okCancel), (std::vector<int>{103, 104}));
    EXPECT_EQ(ShownButtons(ok), (std::vector<int>{105}));
    EXPECT_EQ(ShownButtons(other), (std::vector<int>{105}));
    EXPECT_EQ(other.ButtonSet(), 0);
}

TEST_F(MessagePopupTest, ButtonsAnswerByKindAndSet) {
    const struct { int set, button, answer; } cases[] = {
        {4, 108, kAnswerYes}, {4, 109, kAnswerNo}, {1, 103, kAnswerOk},
        {1, 104, kAnswerCancel}, {0, 105, kAnswerOk}, {2, 105, kAnswerOk},
        {3, 110, kAnswerYes}, {3, 111, kAnswerNo}, {3, 112, kAnswerCancel},
    };
    for (const auto& c : cases) {
        MessagePopup p("텍스트", c.set);
        p.EnsureBuilt();
        SendCommand(&p, c.button);
        EXPECT_EQ(p.result(), c.answer) << "set " << c.set << " button " << c.button;
    }
}

// Escape dismisses the question: a Yes/No question must not take it for a deliberate No.
// Enter lets a notice go, but answers no question.
TEST_F(MessagePopupTest, EscapeDismissesEverySetAndEnterOnlyANotice) {
    for (int set : {4, 3, 1, 2}) {
        MessagePopup p("텍스트", set);
        p.show();
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&p, &esc);
        EXPECT_EQ(p.result(), kAnswerCancel) << "set " << set;
        EXPECT_FALSE(p.isVisible());
    }
    for (int set : {0, 4, 1}) {
        for (auto [key, modifiers] : {std::pair{Qt::Key_Return, Qt::NoModifier}, {Qt::Key_Enter, Qt::KeypadModifier}}) {
            MessagePopup p("텍스트", set);
            p.show();
            QKeyEvent enter(QEvent::KeyPress, key, modifiers);
            QApplication::sendEvent(&p, &enter);
            EXPECT_EQ(p.result(), set == 0 ? kAnswerOk : 0) << "set " << set;
            EXPECT_EQ(p.isVisible(), set != 0) << "set " << set;
        }
    }
}

TEST_F(MessagePopupTest, TextGoesIntoShape200) {
    MessagePopup p("<br>진행중인 수순이 있습니다.", 4);
    p.EnsureBuilt();
    ASSERT_NE(p.FindShape(200), nullptr);
    // As it is: no font or colour of the pop-up's own wrapped around the caller's mark-up.
    ASSERT_NE(p.FindShapeAs<HtmlTextShape>(200), nullptr);
    EXPECT_EQ(p.FindShapeAs<HtmlTextShape>(200)->Text(), "<br>진행중인 수순이 있습니다.");
    // The text is drawn: the shape's area is no longer plain background.
    Surface dc(p.width(), p.height());
    p.RenderShapes(dc);
    const QRect r = p.FindShape(200)->rect;
    int dark = 0;
    for (int y = r.top(); y < r.bottom(); ++y)
        for (int x = r.left(); x < r.right(); ++x)
            if ((dc.Pixel(x, y) & 0xFF) < 0x80) ++dark;
    EXPECT_GT(dark, 20);
}

}  // namespace
}  // namespace velmora
