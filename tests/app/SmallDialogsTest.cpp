#include <QCoreApplication>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <functional>
#include <memory>

#include "../common/Click.h"
#include "AppTestSupport.h"
#include "app/dialogs/GameChooserDialog.h"
#include "app/dialogs/HelpDialog.h"
#include "app/dialogs/SaveFirstDialog.h"
#include "app/dialogs/VersionDialog.h"
#include "platform/Prompter.h"
#include "skin/HtmlTextShape.h"
#include "skin/SkinButton.h"
#include "skin/SkinControls.h"

namespace velmora {
namespace {

using testing::EditorSkinTest;

using testing::Click;

// What one click did: the dialog's result (0 while it is still open) and the address opened.
struct Effect {
    int result = 0;
    std::string opened;
    bool operator==(const Effect&) const = default;
};

class SmallDialogsTest : public EditorSkinTest {
protected:
    using Factory = std::function<std::unique_ptr<SkinDialog>()>;

    // Clicks every visible button of the dialog's skin, each on a fresh dialog, and records
    // what the click did, by button id in skin order.
    std::vector<std::pair<int, Effect>> ClickEach(const Factory& make) {
        std::vector<std::pair<int, Effect>> effects;
        const std::unique_ptr<SkinDialog> probe = make();
        probe->EnsureBuilt();
        const QList<SkinButton*> buttons = probe->findChildren<SkinButton*>();
        for (qsizetype i = 0; i < buttons.size(); ++i) {
            if (buttons[i]->isHidden()) continue;
            const std::unique_ptr<SkinDialog> dialog = make();
            dialog->EnsureBuilt();
            opened.clear();
            Click(dialog->findChildren<SkinButton*>()[i]);
            effects.push_back({buttons[i]->Id(), {dialog->result(), opened.empty() ? "" : opened.back()}});
        }
        return effects;
    }
};

// A button of these dialogs that neither ends the dialog nor opens anything does nothing for
// the user; a button added to a skin without its command shows up here.
TEST_F(SmallDialogsTest, EveryButtonEndsTheDialogOrOpensItsAddress) {
    const auto version = ClickEach([] { return std::make_unique<VersionDialog>("V1.0"); });
    const std::vector<std::pair<int, Effect>> versionWanted = {
        {100, {kAnswerCancel, ""}},
        {200, {0, "mailto:support@velmora.example"}},
        {201, {0, "https://baduk.velmora.example/user/redirect.zelone?param=main"}},
        {101, {kAnswerOk, ""}},
    };
    EXPECT_EQ(version, versionWanted);

    const std::vector<std::pair<int, Effect>> saveFirstWanted = {
        {108, {kAnswerYes, ""}}, {109, {kAnswerNo, ""}}, {104, {kAnswerCancel, ""}}};
    EXPECT_EQ(ClickEach([] { return std::make_unique<SaveFirstDialog>("기보 닫기", "닫기 전에"); }),
              saveFirstWanted);
    SaveFirstDialog saveFirst("기보 닫기", "닫기 전에");
    saveFirst.EnsureBuilt();
    EXPECT_EQ(saveFirst.GetShapeText(100) + saveFirst.FindShapeAs<HtmlTextShape>(200)->Text(), "기보 닫기닫기 전에");

    const auto help = ClickEach([] { return std::make_unique<HelpDialog>(VELMORA_BIN_DIR); });
    const std::vector<std::pair<int, Effect>> helpWanted = {{100, {kAnswerCancel, ""}}, {100, {kAnswerCancel, ""}}};
    EXPECT_EQ(help, helpWanted);
}

// The window system (a task bar, a window list) names each dialog for what it is, never with
// the program's file name.
TEST_F(SmallDialogsTest, EachDialogIsNamedForWhatItIs) {
    const auto title = [](SkinDialog&& dialog) { return dialog.windowTitle().toStdString(); };
    EXPECT_EQ(title(VersionDialog("V1.0")), "버전 정보");
    EXPECT_EQ(title(HelpDialog(VELMORA_BIN_DIR)), "도움말");
    EXPECT_EQ(title(SaveFirstDialog("기보 열기", "")), "기보 열기");
    EXPECT_EQ(title(GameChooserDialog(nullptr, "", {"흑"}, {{"가"}})), "기보 고르기");
}

TEST_F(SmallDialogsTest, HelpShowsItsPageOrSaysItIsMissing) {
    HelpDialog help(VELMORA_BIN_DIR);
    help.EnsureBuilt();
    auto* web = help.findChild<SkinWebView*>();
    ASSERT_NE(web, nullptr);
    EXPECT_TRUE(web->toPlainText().contains(QString::fromUtf8("기보 편집기 도움말")));

    // Without the help folder the window says so and names the page, instead of staying blank.
    QTemporaryDir empty;
    HelpDialog missing(empty.path().toStdString());
    missing.EnsureBuilt();
    const QString text = missing.findChild<SkinWebView*>()->toPlainText();
    EXPECT_TRUE(text.contains(QString::fromUtf8("페이지를 찾을 수 없습니다"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("도움말/gibo_main.htm")));
}

}  // namespace
}  // namespace velmora
