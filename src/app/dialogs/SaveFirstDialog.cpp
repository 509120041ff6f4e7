#include "app/dialogs/SaveFirstDialog.h"

#include "app/dialogs/DialogIds.h"
#include "platform/Prompter.h"

namespace velmora {
namespace {

constexpr int kTitleShape = 100;
constexpr int kTextShape = 200;

}  // namespace

SaveFirstDialog::SaveFirstDialog(const std::string& title, const std::string& markup, QWidget* parent)
    : SkinDialog(parent, "Skin\\Dialog\\새기보.xml"), title_(title), markup_(markup) {
    setWindowTitle(QString::fromStdString(title));
}

void SaveFirstDialog::OnSkinBuilt() {
    SetShapeText(kTitleShape, title_);
    SetShapeHtml(kTextShape, markup_);
}

void SaveFirstDialog::reject() { done(kAnswerCancel); }

void SaveFirstDialog::onCommand(int id) {
    if (id == kSaveFirstYesButton) done(kAnswerYes);
    if (id == kSaveFirstNoButton) done(kAnswerNo);
    if (id == kSaveFirstCancelButton) done(kAnswerCancel);
}

}  // namespace velmora
