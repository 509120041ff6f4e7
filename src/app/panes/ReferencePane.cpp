// The reference pane: the move's diagrams, the input of a new diagram and its commentary.

#include <QComboBox>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <array>
#include <utility>

#include "app/MainWindow.h"
#include "app/dialogs/MessagePopup.h"
#include "app/panes/EditHistoryPane.h"
#include "app/panes/PaneIds.h"
#include "app/panes/ReferencePane.h"
#include "board/MarkLabels.h"
#include "game/BoardLogic.h"
#include "game/RecordModified.h"
#include "platform/Messages.h"
#include "platform/Prompter.h"
#include "skin/SkinButton.h"

namespace velmora {
namespace {

constexpr int kList = 500;
constexpr int kKindCombo = 300;
constexpr int kTextEdit = 601;
constexpr int kStoneOption = 400;
constexpr int kMarkOption = 401;
constexpr int kStoneColour = 420;
constexpr int kUnderlay = 421;
constexpr int kFirstMarkKind = 402;
constexpr int kLastMarkKind = 410;
constexpr int kFirstLabelEdit = 422;
constexpr int kLastLabelEdit = 425;
constexpr int kKeyColumn = 2;

bool Contains(const std::string& text, const char* word) {
    return text.find(word) != std::string::npos;
}

std::string WithoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

}  // namespace

void ReferencePane::OnSkinBuilt() {
    Display().Apply(kCmdNumbersDiagram, Board());
    // The diagram kind, stone colour and mark underlay start at their first choice.
    for (int id : {kKindCombo, kStoneColour, kUnderlay})
        if (auto* c = FindControlAs<QComboBox>(id)) c->setCurrentIndex(0);
    if (auto* list = FindControlAs<QTreeWidget>(kList)) {
        // Opening or deleting refreshes this list; the click has to be over first.
        connect(list, &QTreeWidget::itemClicked, this,
                [this, list](QTreeWidgetItem* item, int column) {
                    const int row = list->indexOfTopLevelItem(item);
                    QMetaObject::invokeMethod(
                        this, [this, row, column] { ClickListEntry(row, column); },
                        Qt::QueuedConnection);
                });
    }
}

void ReferencePane::StartRecord() {
    textKey_.clear();
    LoadControlText(kTextEdit, Board().Record().CurrentDiagram().text);
}

void ReferencePane::RefreshDiagramInput(int move) {
    const OpenDiagram& open = Board().Record().CurrentDiagram();
    if (open.key != textKey_) {
        textKey_ = open.key;
        LoadControlText(kTextEdit, open.text);
        // A stored diagram opened for editing shows its own kind, so saving it keeps that kind.
        if (auto* kind = FindControlAs<QComboBox>(kKindCombo); kind && !open.key.empty())
            kind->setCurrentIndex(open.kind >= 0 && open.kind < kind->count() ? open.kind : 0);
    }
    auto* list = FindControlAs<QTreeWidget>(kList);
    if (!list) return;
    list->clear();
    int position = 0;
    // The rows are made apart from the list and handed to it in one go: the list then takes
    // them as one insertion instead of one per row.
    QList<QTreeWidgetItem*> items;
    const auto add = [&](const DiagramKey& key, const ReferenceDiagram& diagram, bool nested) {
        auto* item = new QTreeWidgetItem;
        item->setText(0, QString::fromStdString(DiagramEntryLabel(diagram, ++position, nested)));
        item->setText(1, "X");
        item->setText(kKeyColumn, QString::fromStdString(key));
        items.append(item);
    };
    const GameRecord& record = Board().Record();
    for (const auto& [key, diagram] : record.DiagramsOfBase(move)) add(key, diagram, false);
    // The branches of the open diagram at the move shown follow.
    for (const auto& [key, diagram] : record.NestedAtCurrentMove(Board().CurrentMove()))
        add(key, diagram, true);
    list->addTopLevelItems(items);
}

bool ReferencePane::HasUnaddedDiagram() const {
    const OpenDiagram& open = Board().Record().CurrentDiagram();
    return open.base >= 0 && open.key.empty() && (!open.moves.empty() || !open.startList.empty());
}

bool ReferencePane::SettleUnaddedDiagram(DiagramLeaving why) {
    if (!HasUnaddedDiagram()) return true;
    std::string question = why == DiagramLeaving::kSave ? kAddBeforeSaving : kAddBeforeLeaving;
    EditHistoryPane* stories = MainWindow::Instance()->History();
    if (why == DiagramLeaving::kLeave && stories)
        if (const std::string also = stories->EnteredStoriesAnnouncement(); !also.empty())
            question += "<br>" + also;
    switch (ShowMessagePopup(question, kButtonsYesNoCancel)) {
        case kAnswerYes: {
            const std::string answer = AddDiagram();
            if (answer.empty()) return false;  // refused: the user has the message and the diagram
            // An equal diagram is stored already, so nothing is lost by letting this one go.
            if (Contains(answer, "same") && why == DiagramLeaving::kLeave) DiscardEnteredDiagram();
            return true;
        }
        case kAnswerNo:
            if (why == DiagramLeaving::kLeave) DiscardEnteredDiagram();
            return true;
        default:
            return false;
    }
}

void ReferencePane::DiscardEnteredDiagram() {
    // Stories taken inside the diagram would point at nothing once it is gone.
    if (EditHistoryPane* stories = MainWindow::Instance()->History()) stories->RemoveEnteredStories();
    Board().LeaveDiagramForMove();
    MainWindow::Instance()->Board().UpdateForwardButtons();
    textKey_.clear();
    LoadControlText(kTextEdit, {});
    SendMessage(MainWindow::Instance(), UM_REFRESH_PANE);
}

void ReferencePane::EnterInputMode() {
    // The stone option is the pane's starting choice, so the tab always has a mode of its own.
    if (!Selected(kStoneOption) && !Selected(kMarkOption))
        if (auto* b = FindControlAs<SkinButton>(kStoneOption)) b->SetChecked(true);
    ChooseInput(Selected(kMarkOption) ? kMarkOption : kStoneOption);
}

void ReferencePane::ClickListEntry(int row, int column) {
    const auto* list = FindControlAs<QTreeWidget>(kList);
    const QTreeWidgetItem* item = list ? list->topLevelItem(row) : nullptr;
    if (!item) return;
    const std::string key = item->text(kKeyColumn).toStdString();
    if (column == 0 && SettleUnaddedDiagram(DiagramLeaving::kLeave))
        MainWindow::Instance()->ShowReferenceDiagram(key);
    // A deleted diagram cannot be brought back, and the X is small enough to hit by accident.
    if (column != 1) return;
    std::string question = "<br>" + item->text(0).toStdString() + kDeleteQuestion;
    if (const EditHistoryPane* stories = MainWindow::Instance()->History())
        if (const std::string also = stories->RemovalAnnouncement(key); !also.empty())
            question += "<br>" + also;
    if (ShowMessagePopup(question, kButtonsYesNo) == kAnswerYes)
        MainWindow::Instance()->DeleteReferenceDiagram(key);
}

bool ReferencePane::Selected(int optionId) const {
    const auto* b = FindControlAs<SkinButton>(optionId);
    return b && b->IsChecked();
}

void ReferencePane::onCommand(int id) {
    if (id == kStoneOption || id == kMarkOption) return ChooseInput(id);
    if (id >= kFirstMarkKind && id <= kLastMarkKind) {
        ChooseInput(kMarkOption);
        return;
    }
    if (id == kAddButton) {
        AddDiagram();
        return;
    }
    if (id == kSaveButton) return SaveDiagram();
    SidePane::onCommand(id);
}

void ReferencePane::onNotify(int id, int code) {
    if (Loading()) return;
    if (id == kRefCommentary && code == kCmdChanged) return StoreCommentary(kRefCommentary);
    if (id == kStoneColour && Selected(kStoneOption)) return ApplyStoneInput();
    if ((id == kUnderlay || (id >= kFirstLabelEdit && id <= kLastLabelEdit)) &&
        Selected(kMarkOption))
        ApplyMarkInput();
}

void ReferencePane::ChooseInput(int optionId) {
    const bool marks = optionId == kMarkOption;
    for (int id = kFirstMarkKind; id <= kLastMarkKind; ++id) EnableControl(id, marks);
    for (int id = kFirstLabelEdit; id <= kLastLabelEdit; ++id) EnableControl(id, marks);
    if (Selected(kStoneOption) || Selected(kMarkOption)) {
        if (Selected(kStoneOption))
            ApplyStoneInput();
        else
            ApplyMarkInput();
        Display().ApplyNumberText(Board());
    }
    Board().Refresh();
}

void ReferencePane::ApplyStoneInput() {
    BoardLogic& board = Board();
    const std::string choice = GetControlText(kStoneColour);
    const int forced = Contains(choice, "흑만") ? kBlack : Contains(choice, "백만") ? kWhite : 0;
    board.SetForcedColour(forced);
    if (forced != 0)
        board.SetColourToPlay(forced);
    else if (const std::optional<MoveRecord> current = board.BoardMove(board.CurrentMove()))
        board.SetColourToPlay(Opponent(current->colour));
    board.SetBoardMode(kModeDiagram);
}

void ReferencePane::ApplyMarkInput() {
    BoardLogic& board = Board();
    board.SetBoardMode(kModeMarks);
    std::array<bool, 9> kinds{};
    for (int id = kFirstMarkKind; id <= kLastMarkKind; ++id)
        kinds[id - kFirstMarkKind] = Selected(id);
    std::array<std::string, 4> labels;
    for (int id = kFirstLabelEdit; id <= kLastLabelEdit; ++id) {
        std::string& label = labels[id - kFirstLabelEdit];
        label = GetControlText(id);
        // An empty start field starts the labels at the set's first letter, so that the
        // first label placed is never blank.
        if (label.empty())
            label = QString::fromUtf8(kMarkLabelSets[id - kFirstLabelEdit]).left(1).toStdString();
    }
    board.SetMarkTool(ConfigureMarkTool(board.Tool(), GetControlText(kUnderlay),
                                        MarkKindFromOptions(kinds), labels));
}

void ReferencePane::TakeKindAndText() {
    const auto* kind = FindControlAs<QComboBox>(kKindCombo);
    Board().Record().SetKindAndText(kind ? kind->currentIndex() : 0,
                                    WithoutCarriageReturns(GetControlText(kTextEdit)));
}

std::string ReferencePane::AddDiagram() {
    TakeKindAndText();
    const std::string answer = MainWindow::Instance()->StoreReferenceDiagram();
    if (answer.empty()) {
        ShowMessagePopup(kNothingToAdd, kButtonsOk);
    } else if (Contains(answer, "same")) {
        ShowMessagePopup(kDuplicate, kButtonsOk);
    } else {
        // Stored: stories taken while it was entered point into it now, and the box is ready
        // for the next diagram.
        if (EditHistoryPane* stories = MainWindow::Instance()->History()) stories->NameEnteredStories(answer);
        LoadControlText(kTextEdit, {});
    }
    if (!Selected(kStoneOption)) {
        if (auto* b = FindControlAs<SkinButton>(kStoneOption)) b->SetChecked(true);
        if (auto* b = FindControlAs<SkinButton>(kMarkOption)) b->SetChecked(false);
        ChooseInput(kStoneOption);
    }
    return answer;
}

void ReferencePane::SaveDiagram() {
    // A diagram that was never added is added on request; it then has nothing older to replace.
    if (Board().Record().OpenDiagramKey().empty()) {
        if (ShowMessagePopup(kAddQuestion, kButtonsYesNo) == kAnswerYes) AddDiagram();
        return;
    }
    TakeKindAndText();
    MainWindow::Instance()->ReplaceReferenceDiagram();
}

void ReferencePane::Refresh() {
    const int move = DisplayedMove();
    LoadControlText(kRefCommentary, ShownCommentary());
    SetShapeText(kRefCommentaryCaption, CommentaryCaption("해설 보기 입력/수정"));
    SetShapeText(kRefDiagramCommentaryCaption, MoveLabel(move, "수 참고도 해설 입력/수정"));
    SetShapeText(kRefDiagramListCaption, MoveLabel(move, "수 참고도 목록"));
    SetShapeText(kRefMoveNumber, MoveLabel(move, "수"));
    RefreshDiagramInput(move);
}

}  // namespace velmora
