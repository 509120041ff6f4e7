#include "app/dialogs/BoardSizeDialog.h"

#include <cstdlib>

#include "app/dialogs/DialogIds.h"
#include "platform/Messages.h"
#include "platform/Prompter.h"
#include "record/BoardGrid.h"
#include "skin/SkinButton.h"

namespace velmora {
namespace {

constexpr int kOfferedSizes[][2] = {{kBoardSize19, 19}, {kBoardSize13, 13}, {kBoardSize9, 9}};
constexpr const char* kNoSuchSize = "<br>바둑판은 2줄부터 25줄까지 고를 수 있습니다.";

}  // namespace

BoardSizeDialog::BoardSizeDialog(QWidget* parent, int suggested)
    : SkinDialog(parent, "Skin\\Dialog\\바둑판크기.xml"), suggested_(suggested) {
    setWindowTitle(QStringLiteral("새 기보"));
}

void BoardSizeDialog::OnSkinBuilt() {
    Suggest(suggested_);
}

void BoardSizeDialog::Suggest(int size) {
    int checked = kBoardSizeOther;
    for (const auto& [id, lines] : kOfferedSizes)
        if (lines == size) checked = id;
    SetControlText(kBoardSizeOtherEdit, checked == kBoardSizeOther ? std::to_string(size) : "");
    for (int id : {kBoardSize19, kBoardSize13, kBoardSize9, kBoardSizeOther})
        if (auto* b = FindControlAs<SkinButton>(id)) b->SetChecked(id == checked);
}

int BoardSizeDialog::ChosenSize() const {
    for (const auto& [id, lines] : kOfferedSizes)
        if (auto* b = FindControlAs<SkinButton>(id); b && b->IsChecked()) return lines;
    const std::string typed = GetControlText(kBoardSizeOtherEdit);
    const int n = std::atoi(typed.c_str());
    return IsBoardSize(n) ? n : 0;
}

void BoardSizeDialog::onNotify(int id, int code) {
    if (id == kBoardSizeOtherEdit && code == kCmdChanged) {
        // Typing a size chooses "다른 크기".
        for (int b : {kBoardSize19, kBoardSize13, kBoardSize9, kBoardSizeOther})
            if (auto* button = FindControlAs<SkinButton>(b))
                button->SetChecked(b == kBoardSizeOther);
    }
}

void BoardSizeDialog::done(int result) {
    if (result == kResultOk && ChosenSize() == 0) {
        Prompter::Current().Popup(kNoSuchSize, kButtonsOk);
        return;
    }
    SkinDialog::done(result);
}

int RunBoardSizeDialog(int suggested, QWidget* owner) {
    BoardSizeDialog dialog(owner, IsBoardSize(suggested) ? suggested : kDefaultBoardSize);
    if (dialog.ExecCentredOver(owner) != SkinDialog::kResultOk) return 0;
    return dialog.ChosenSize();
}

}  // namespace velmora
