#include "app/NewRecordDialog.h"

#include "platform/Prompter.h"

namespace velmora {

NewRecordDialog::NewRecordDialog(QWidget* parent) : SkinDialog(parent, "Skin\\Dialog\\새기보.xml") {}

void NewRecordDialog::reject() { done(kAnswerCancel); }

void NewRecordDialog::onCommand(int id) {
    if (id == 108) done(kAnswerYes);
    if (id == 109) done(kAnswerNo);
    if (id == 104) done(kAnswerCancel);
}

}  // namespace velmora
