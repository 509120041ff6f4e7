#include "app/panes/BoardPanel.h"

#include "app/MainWindow.h"
#include "app/panes/PaneIds.h"
#include "board/BoardControl.h"
#include "platform/Prompter.h"

namespace velmora {

BoardPanel::BoardPanel(QWidget* mainWindow) : SkinWindow(mainWindow), mainWindow_(mainWindow) {
    navigation_.SetObserver(this);
}

BoardPanel::~BoardPanel() = default;

BoardLogic& BoardPanel::Logic() { return control_ ? control_->Logic() : spare_; }

bool BoardPanel::SequenceInProgress() { return Logic().Record().MainLineLength() > 0; }

void BoardPanel::OnSkinBuilt() {
    control_ = FindControlAs<BoardControl>(kBoardPanelBoard);
    if (!control_) return;
    control_->SetMainWindow(mainWindow_);
    control_->SetConfirmPlacement([this] {
        auto* main = qobject_cast<MainWindow*>(mainWindow_);
        return main && main->ConfirmPlacement() == kAnswerOk;
    });
    navigation_.SetBoard(&control_->Logic());
}

void BoardPanel::onCommand(int id) {
    // 110–116 change the position; the others go elsewhere.
    if (!control_ || id < kCmdToStart || id > kCmdPass) {
        navigation_.OnCommand(id);
        return;
    }
    const int mode = control_->Logic().Mode();
    // A pass is played where a click would play; elsewhere the status line says where that is.
    if (id == kCmdPass && mode != kModePlay && mode != kModeDiagram) {
        if (auto* main = qobject_cast<MainWindow*>(mainWindow_))
            main->SetStatus("패스는 정보 입력 탭이나 참고도 탭에서 수를 둘 때 둘 수 있습니다");
        return;
    }
    // The preview stone under the pointer is of the position before: it follows the change.
    control_->ChangeUnderPointer([&] {
        if (id == kCmdPass) {
            control_->Input().Pass();
        } else {
            navigation_.OnCommand(id);
        }
    });
}

void BoardPanel::OnForwardedCommand(int id) {
    if (auto* main = qobject_cast<MainWindow*>(mainWindow_)) main->OnBoardPanelCommand(id);
}

void BoardPanel::OnForwardButtonsEnabled(bool enabled) {
    for (int id : {kCmdForward, kCmdForwardTen, kCmdToEnd}) EnableControl(id, enabled);
}

void BoardPanel::OnQuizStopRequested() {
    if (auto* main = qobject_cast<MainWindow*>(mainWindow_)) main->StopQuiz();
}

}  // namespace velmora
