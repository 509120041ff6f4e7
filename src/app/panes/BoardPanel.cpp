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

void BoardPanel::onCommand(int id) { navigation_.OnCommand(id); }

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
