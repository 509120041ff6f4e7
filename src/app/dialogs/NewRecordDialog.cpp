#include "app/dialogs/NewRecordDialog.h"

#include "app/dialogs/DialogIds.h"
#include "platform/Prompter.h"

namespace velmora {
namespace {

constexpr int kTitleShape = 100;
constexpr int kTextShape = 200;
// The skin words the question for a new record; an open says what it is about itself.
constexpr const char* kOpenTitle = "기보 열기";
constexpr const char* kOpenText =
    "<font face=\"굴림\" size=\"13px\" color=\"#222226\"><b>저장하지 않은 수정 내용이 있습니다.</b>"
    "<br><br>다른 기보를 열기 전에 지금 기보를 저장하시겠습니까?<br>"
    "<font color=\"#807C76\">저장하지 않으면 지금까지 수정한 내용은 사라집니다.</font></font>";
// The skin speaks of moves; a record without them may still hold edits (information, comments).
constexpr const char* kNewEditsText =
    "<font face=\"굴림\" size=\"13px\" color=\"#222226\"><b>저장하지 않은 수정 내용이 있습니다.</b>"
    "<br><br>새 기보를 시작하기 전에 지금 기보를 저장하시겠습니까?<br>"
    "<font color=\"#807C76\">저장하지 않으면 지금까지 수정한 내용은 사라집니다.</font></font>";

}  // namespace

NewRecordDialog::NewRecordDialog(QWidget* parent, SaveFirstReason reason)
    : SkinDialog(parent, "Skin\\Dialog\\새기보.xml"), reason_(reason) {
    setWindowTitle(QString::fromUtf8(reason_ == SaveFirstReason::kOpen ? kOpenTitle : "새 기보"));
}

void NewRecordDialog::OnSkinBuilt() {
    if (reason_ == SaveFirstReason::kNewRecordEdits) SetShapeHtml(kTextShape, kNewEditsText);
    if (reason_ != SaveFirstReason::kOpen) return;
    SetShapeText(kTitleShape, kOpenTitle);
    SetShapeHtml(kTextShape, kOpenText);
}

void NewRecordDialog::reject() { done(kAnswerCancel); }

void NewRecordDialog::onCommand(int id) {
    if (id == kNewRecordYesButton) done(kAnswerYes);
    if (id == kNewRecordNoButton) done(kAnswerNo);
    if (id == kNewRecordCancelButton) done(kAnswerCancel);
}

}  // namespace velmora
