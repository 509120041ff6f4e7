// The input pane: the game-information form, the handicap choice and the move's commentary.

#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QStandardItemModel>
#include <QSignalBlocker>
#include <algorithm>

#include "app/MainWindow.h"
#include "app/dialogs/MessagePopup.h"
#include "app/dialogs/SplitDialog.h"
#include "app/panes/InputPane.h"
#include "app/panes/PaneIds.h"
#include "game/BoardLogic.h"
#include "game/RecordModified.h"
#include "platform/Messages.h"
#include "platform/Prompter.h"
#include "record/InfoTexts.h"
#include "record/SgfHandicap.h"

namespace velmora {
namespace {

struct FormField {
    int id;
    std::string GameInfo::*field;
};

constexpr FormField kFormFields[] = {
    {kInputGameName, &GameInfo::gameName},
    {kInputBlackName, &GameInfo::blackName},
    {kInputWhiteName, &GameInfo::whiteName},
    {kInputYear, &GameInfo::year},
    {kInputMonth, &GameInfo::month},
    {kInputDay, &GameInfo::day},
    {kInputPlace, &GameInfo::place},
    {kInputMainTimeHours, &GameInfo::mainTimeHours},
    {kInputMainTimeMinutes, &GameInfo::mainTimeMinutes},
    {kInputMainTimeSeconds, &GameInfo::mainTimeSeconds},
    {kInputOvertimeMinutes, &GameInfo::overtimeMinutes},
    {kInputOvertimeSeconds, &GameInfo::overtimeSeconds},
    {kInputOvertimeCount, &GameInfo::overtimeCountText},
    {kInputKomi, &GameInfo::komiText},
    {kInputHandicap, &GameInfo::handicapText},
    {kInputResult, &GameInfo::result},
};

constexpr const char* kEvenGame = "호선";
constexpr const char* kReplaceSetupQuestion =
    "<br>놓아 둔 돌이 접바둑 돌로 바뀝니다.<br>해설과 참고도는 그대로 둡니다. 바꾸시겠습니까?";

constexpr FormField kRankFields[] = {{kInputBlackRank, &GameInfo::blackRank},
                                     {kInputWhiteRank, &GameInfo::whiteRank}};

bool IsFormControl(int id) {
    return std::any_of(std::begin(kFormFields), std::end(kFormFields),
                       [id](const FormField& f) { return f.id == id; }) ||
           id == kInputBlackRank || id == kInputWhiteRank;
}

// Offers only the handicaps a board of size lines has points for: the others are greyed and
// hidden in the list.
void OfferHandicaps(QComboBox& combo, int size) {
    auto* model = qobject_cast<QStandardItemModel*>(combo.model());
    auto* view = qobject_cast<QListView*>(combo.view());
    for (int i = 0; i < combo.count(); ++i) {
        const int stones = HandicapFromChoice(combo.itemText(i).toStdString());
        const bool offered = stones < 2 || stones <= MaxHandicap(size);
        if (model && model->item(i)) model->item(i)->setEnabled(offered);
        if (view) view->setRowHidden(i, !offered);
    }
}

}  // namespace

void InputPane::OnSkinBuilt() {
    for (const FormField& f : kFormFields)
        if (auto* e = FindControlAs<QLineEdit>(f.id)) typeLimit_[f.id] = e->maxLength();
    // The handicap text follows the handicap choice; typing there would not set the board up.
    if (auto* e = FindControlAs<QLineEdit>(kInputHandicap)) e->setReadOnly(true);
    LoadControlText(kInputHandicap, kEvenGame);
    if (auto* c = FindControlAs<QComboBox>(kHandicapCombo)) c->setCurrentIndex(c->findText(kEvenGame));
    SubmitOnEnter(kPaneMoveEntry, kCmdJumpToTyped);
}

void InputPane::onCommand(int id) {
    switch (id) {
        case kNewRecordButton:
            if (MainWindow::Instance()->StartNewRecord())
                if (auto* handicap = FindControlAs<QComboBox>(kHandicapCombo))
                    handicap->setCurrentIndex(0);
            return;
        case kSplitButton:
            MainWindow::Instance()->ShowSplitDialog(SplitDialog::kSplit);
            return;
        default:
            SidePane::onCommand(id);
    }
}

void InputPane::onNotify(int id, int code) {
    if (Loading()) return;
    if (id == kInputCommentary && code == kCmdChanged) return StoreCommentary(kInputCommentary);
    if (id == kHandicapCombo && code == kCmdSelChanged) return ChooseHandicap();
    if (!IsFormControl(id)) return;
    // Every edit reaches the record at once, so no way out of the form (another tab, the
    // split dialog, saving, quitting) can leave it behind.
    edited_.insert(id);
    SaveForm(MainWindow::Instance()->File().Info());
    SetRecordModified(true);
}

void InputPane::ChooseHandicap() {
    auto* combo = FindControlAs<QComboBox>(kHandicapCombo);
    if (!combo || combo->currentIndex() < 0) return;
    const std::string choice = combo->currentText().toStdString();
    // Stones the user set up (a problem's) go only when the user agrees; otherwise the choice
    // goes back to what the record says.
    if (!Board().StartIsHandicapOnly() && ShowMessagePopup(kReplaceSetupQuestion, kButtonsYesNo) != kAnswerYes) {
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(combo->findText(QString::fromStdString(GetControlText(kInputHandicap))));
        return;
    }
    MainWindow::Instance()->SetHandicap(HandicapFromChoice(choice));
    SetControlText(kInputHandicap, choice);  // reported as an edit: the record takes the new text
}

void InputPane::LoadForm(const GameInfo& info) {
    loaded_ = info;
    edited_.clear();
    // A record that names no handicap is an even game: the form says so, while the record keeps
    // its empty text (SaveForm writes back what was loaded).
    const std::string handicap = info.handicapText.empty() ? kEvenGame : info.handicapText;
    for (const FormField& f : kFormFields) {
        const std::string& value = f.id == kInputHandicap ? handicap : info.*(f.field);
        // A loaded value longer than the field's limit is shown whole: the limit is for typing.
        // The limit changes only around the new text, so that a shorter one never cuts the text
        // of the record before, which would count as the user's edit.
        auto* e = FindControlAs<QLineEdit>(f.id);
        const int length = static_cast<int>(QString::fromStdString(value).size());
        if (e) e->setMaxLength(std::max(e->maxLength(), length));
        LoadControlText(f.id, value);
        if (e) e->setMaxLength(std::max(typeLimit_.contains(f.id) ? typeLimit_[f.id] : e->maxLength(), length));
    }
    // A rank the list does not offer selects its last item; the record keeps its own text.
    for (const FormField& f : kRankFields)
        if (auto* c = FindControlAs<QComboBox>(f.id)) {
            const int i = c->findText(QString::fromStdString(info.*(f.field)));
            c->setCurrentIndex(i >= 0 ? i : c->count() - 1);
        }
    if (auto* c = FindControlAs<QComboBox>(kHandicapCombo)) {
        const int i = c->findText(QString::fromStdString(handicap));
        if (i >= 0) c->setCurrentIndex(i);
    }
}

void InputPane::SaveForm(GameInfo& info) const {
    for (const FormField& f : kFormFields)
        info.*(f.field) = edited_.contains(f.id) ? GetControlText(f.id) : loaded_.*(f.field);
    for (const FormField& f : kRankFields)
        info.*(f.field) = edited_.contains(f.id) ? GetControlText(f.id) : loaded_.*(f.field);
    // The file's date goes back as it was read until the user edits a box; then the boxes say it.
    const bool dateEdited = edited_.contains(kInputYear) || edited_.contains(kInputMonth) || edited_.contains(kInputDay);
    info.dateAsRead = dateEdited ? std::string() : loaded_.dateAsRead;
}

void InputPane::Refresh() {
    SetShapeText(kInputCommentaryCaption, CommentaryCaption("해설 보기 입력/수정"));
    LoadControlText(kInputCommentary, ShownCommentary());
    EnableControl(kHandicapCombo, Board().Record().MainLineLength() == 0);
    if (auto* c = FindControlAs<QComboBox>(kHandicapCombo)) OfferHandicaps(*c, Board().BoardSize());
    ShowMoveInEntry();
}

}  // namespace velmora
