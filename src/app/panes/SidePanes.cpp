#include "app/panes/SidePanes.h"

#include "app/CommandIds.h"
#include "app/MainLayout.h"
#include "app/panes/BoardPanel.h"
#include "app/panes/InputPane.h"
#include "app/panes/ReferencePane.h"
#include "app/panes/ViewPane.h"
#include "game/BoardLogic.h"

namespace velmora {

void SidePanes::Create(QWidget* window) {
    auto make = [window]<typename Pane>(Pane*& pane, const char* skin, bool visible) {
        pane = new Pane(window);
        pane->SetSkinFile(skin);
        pane->CreateFromSkin();
        pane->setVisible(visible);
    };
    make(view_, "Skin\\BadukView.xml", true);
    make(input_, "Skin\\BadukInput.xml", false);
    make(reference_, "Skin\\Reference.xml", false);
}

void SidePanes::Show(int tab) {
    const std::pair<int, SidePane*> panes[] = {{kTabView, view_}, {kTabInput, input_}, {kTabReference, reference_}};
    for (const auto& [id, pane] : panes)
        if (pane) pane->hide();
    for (const auto& [id, pane] : panes)
        if (pane && id == tab) pane->show();
}

int SidePanes::Shown() const {
    const std::pair<int, const SidePane*> panes[] = {{kTabView, view_}, {kTabInput, input_}, {kTabReference, reference_}};
    for (const auto& [id, pane] : panes)
        if (pane && !pane->isHidden()) return id;
    return 0;
}

void SidePanes::Enter(int tab, GameInfo& info, BoardPanel& board) {
    if (!view_ || !input_ || !reference_) return;
    if (tab == kTabView) {
        view_->EnterViewMode();
        input_->SaveForm(info);
        view_->ReloadFromRecord();
    } else if (tab == kTabInput) {
        board.Logic().SetBoardMode(kModePlay);
        input_->LoadForm(info);
    } else {
        input_->SaveForm(info);
        // The pane's input option decides what a click does: never the main line's play mode.
        reference_->EnterInputMode();
        reference_->Refresh();
    }
}

void SidePanes::RefreshShown() {
    for (SidePane* pane : {static_cast<SidePane*>(view_), static_cast<SidePane*>(input_),
                           static_cast<SidePane*>(reference_)})
        if (pane && !pane->isHidden()) pane->Refresh();
}

void SidePanes::Layout(const QRect& client) {
    for (SidePane* pane : {static_cast<SidePane*>(view_), static_cast<SidePane*>(input_),
                           static_cast<SidePane*>(reference_)})
        if (pane) pane->setGeometry(MainLayout::Compute(client, pane->FileRect().width()).sidePane);
}

void SidePanes::StartRecord(const GameInfo& info, bool opened) {
    if (view_) {
        view_->StartRecord();
        // The board was reset; it shows the record as the view pane's display menu says.
        if (opened) view_->ResetDisplay();
    }
    if (reference_) reference_->StartRecord();
    if (input_) {
        input_->LoadForm(info);
        if (!opened) input_->Refresh();
    }
}

}  // namespace velmora
