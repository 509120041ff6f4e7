#include "app/SidePane.h"

#include <QComboBox>

#include "app/MainWindow.h"
#include "board/BoardLogic.h"
#include "platform/Messages.h"
#include "skin/SkinButton.h"

namespace velmora {
namespace {

std::string Joined(std::initializer_list<std::pair<const std::string*, const char*>> parts) {
    std::string out;
    for (const auto& [field, unit] : parts)
        if (!field->empty()) out += *field + unit;
    return out;
}

std::string MoveLabel(int move, const char* rest) { return std::to_string(move) + rest; }

}  // namespace

void SidePane::onCommand(int id) {
    if (id >= 800 && id <= 802) SendCommand(parentWidget(), 200 + (id - 800));
}

BoardLogic& SidePane::Board() const { return MainWindow::Instance()->Board().Logic(); }

int SidePane::DisplayedMove() const {
    const BoardLogic& b = Board();
    const int base = b.DiagramBase();
    return base >= 0 && b.CurrentMove() >= base ? base : b.CurrentMove();
}

// ---- view pane

void ViewPane::Refresh() {
    const int move = DisplayedMove();
    SetControlText(1110, Board().Record().GetCommentary(move));
    SetShapeText(1111, MoveLabel(move, "수 해설 보기"));
    SetShapeText(311, MoveLabel(move, "수 참고도 보기"));
}

void ViewPane::ShowInfo(const GameInfo& info) {
    SetShapeText(1100, info.gameName);
    // A record without a player's name must not go on showing the previous record's player.
    SetShapeText(1101, info.blackName.empty() ? std::string() : info.blackName + "(" + info.blackRank + ")");
    SetShapeText(1102, info.whiteName.empty() ? std::string() : info.whiteName + "(" + info.whiteRank + ")");
    SetShapeText(1103, info.year + info.month + info.day);
    SetShapeText(1104, info.place);
    SetShapeText(1105, Joined({{&info.mainTimeHours, "시간"}, {&info.mainTimeMinutes, "분"},
                               {&info.mainTimeSeconds, "초"}}));
    SetShapeText(1108, Joined({{&info.overtimeMinutes, "분"}, {&info.overtimeSeconds, "초"},
                               {&info.overtimeCountText, "회"}}));
    SetShapeText(1106, info.komiText + "/" + info.handicapText);
    SetShapeText(1107, info.result);
}

void ViewPane::ReloadFromRecord() {
    ShowInfo(MainWindow::Instance()->File().Info());
    Refresh();
}

void ViewPane::StopQuiz() {
    ClearQuizOptions();
    Board().SetBoardMode(0);
}

void ViewPane::ClearQuizOptions() {
    for (int id : {311, 312, 313})
        if (auto* b = FindControlAs<SkinButton>(id)) b->SetChecked(false);
}

void ViewPane::OnSkinBuilt() { ClearQuizOptions(); }

// ---- input pane

namespace {

struct FormField {
    int id;
    std::string GameInfo::*field;
};

constexpr FormField kFormFields[] = {
    {400, &GameInfo::gameName},        {401, &GameInfo::blackName},       {402, &GameInfo::whiteName},
    {403, &GameInfo::year},            {404, &GameInfo::month},           {405, &GameInfo::day},
    {406, &GameInfo::place},           {407, &GameInfo::mainTimeHours},   {408, &GameInfo::mainTimeMinutes},
    {409, &GameInfo::mainTimeSeconds}, {410, &GameInfo::overtimeMinutes}, {411, &GameInfo::overtimeSeconds},
    {412, &GameInfo::overtimeCountText}, {413, &GameInfo::komiText},      {414, &GameInfo::handicapText},
    {415, &GameInfo::result},
};

}  // namespace

void InputPane::OnSkinBuilt() { SetControlText(414, "호선"); }

void InputPane::onCommand(int id) {
    if (id != kNewRecordButton) return SidePane::onCommand(id);
    MainWindow::Instance()->StartNewRecord();
    if (auto* handicap = FindControlAs<QComboBox>(600)) handicap->setCurrentIndex(0);
}

void InputPane::Refresh() {
    const int move = DisplayedMove();
    SetShapeText(500, MoveLabel(move, "수 해설 보기 입력/수정"));
    SetControlText(420, Board().Record().GetCommentary(move));
    EnableControl(600, Board().Record().MainLineLength() == 0);
}

void InputPane::LoadForm(const GameInfo& info) {
    for (const FormField& f : kFormFields) SetControlText(f.id, info.*(f.field));
    // A rank the list does not offer selects its last item.
    for (const auto& [id, rank] : {std::pair{901, &info.blackRank}, std::pair{902, &info.whiteRank}})
        if (auto* c = FindControlAs<QComboBox>(id)) {
            const int i = c->findText(QString::fromStdString(*rank));
            c->setCurrentIndex(i >= 0 ? i : c->count() - 1);
        }
}

void InputPane::SaveForm(GameInfo& info) const {
    for (const FormField& f : kFormFields) info.*(f.field) = GetControlText(f.id);
    info.blackRank = GetControlText(901);
    info.whiteRank = GetControlText(902);
}

// ---- reference pane

void ReferencePane::OnSkinBuilt() {
    // The diagram kind, stone colour and mark underlay start at their first choice.
    for (int id : {300, 420, 421})
        if (auto* c = FindControlAs<QComboBox>(id)) c->setCurrentIndex(0);
}

void ReferencePane::Refresh() {
    const int move = DisplayedMove();
    SetControlText(602, Board().Record().GetCommentary(move));
    SetShapeText(203, MoveLabel(move, "수 해설 보기 입력/수정"));
    SetShapeText(204, MoveLabel(move, "수 참고도 해설 입력/수정"));
    SetShapeText(304, MoveLabel(move, "수 참고도 목록"));
    SetShapeText(305, MoveLabel(move, "수"));
}

}  // namespace velmora
