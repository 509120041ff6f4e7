#include "app/dialogs/MessagePopup.h"

#include <QKeyEvent>

#include "app/AppInfo.h"
#include "platform/Prompter.h"

namespace velmora {
namespace {

constexpr int kTextShape = 200;
enum PopupButton {
    kOk = 103,
    kCancel = 104,
    kOkAlone = 105,
    kYes = 108,
    kNo = 109,
    kYesOfThree = 110,
    kNoOfThree = 111,
    kCancelOfThree = 112,
};

}  // namespace

MessagePopup::MessagePopup(const std::string& markup, int buttonSet, QWidget* parent)
    : SkinDialog(parent, "Skin\\Dialog\\메시지팝업창.xml"), text_(markup), set_(NormalizeSet(buttonSet)) {
    setWindowTitle(QString::fromUtf8(kAppTitle));
}

int MessagePopup::NormalizeSet(int buttonSet) {
    return buttonSet == kButtonsYesNo || buttonSet == kButtonsOkCancel || buttonSet == kButtonsYesNoCancel
               ? buttonSet
               : kButtonsOk;
}

int MessagePopup::Answer(int buttonSet, bool okKind) {
    const bool yesNo = NormalizeSet(buttonSet) == kButtonsYesNo;
    if (okKind) return yesNo || NormalizeSet(buttonSet) == kButtonsYesNoCancel ? kAnswerYes : kAnswerOk;
    return yesNo ? kAnswerNo : kAnswerCancel;
}

void MessagePopup::OnSkinBuilt() {
    for (int id : {kOkAlone, kOk, kCancel, kYes, kNo, kYesOfThree, kNoOfThree, kCancelOfThree})
        ShowControl(id, false);
    if (set_ == kButtonsYesNoCancel) {
        for (int id : {kYesOfThree, kNoOfThree, kCancelOfThree}) ShowControl(id, true);
    } else if (set_ == kButtonsYesNo) {
        ShowControl(kYes, true);
        ShowControl(kNo, true);
    } else if (set_ == kButtonsOkCancel) {
        ShowControl(kOk, true);
        ShowControl(kCancel, true);
    } else {
        ShowControl(kOkAlone, true);
    }
    // The text goes to the shape as it is: its own mark-up sets fonts and colours.
    SetShapeHtml(kTextShape, text_);
}

void MessagePopup::onCommand(int id) {
    if (id == kOk || id == kOkAlone || id == kYes || id == kYesOfThree) done(Answer(set_, true));
    if (id == kCancel || id == kNo) done(Answer(set_, false));
    if (id == kNoOfThree) done(kAnswerNo);
    if (id == kCancelOfThree) done(kAnswerCancel);
}

// A notice is read and let go with Enter. A question is not: a stray Enter must not say yes to
// a save or to a move that discards the later ones.
void MessagePopup::keyPressEvent(QKeyEvent* e) {
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (set_ == kButtonsOk) done(kAnswerOk);
        return;
    }
    SkinDialog::keyPressEvent(e);
}

// Escape or closing the window dismisses the question: neither Yes nor No, so a Yes/No caller
// can tell "leave things as they are" from a deliberate No.
void MessagePopup::reject() { done(kAnswerCancel); }

int ShowMessagePopup(const std::string& text, int buttonSet) {
    return Prompter::Current().Popup(text, buttonSet);
}

int RunMessagePopup(const std::string& text, int buttonSet, QWidget* parent) {
    MessagePopup popup(text, buttonSet, parent);
    const int answer = popup.ExecCentredOver(parent);
    // A dialog ended by the window system is dismissed, as with Escape.
    if (answer == kAnswerOk || answer == kAnswerCancel || answer == kAnswerYes || answer == kAnswerNo)
        return answer;
    return kAnswerCancel;
}

}  // namespace velmora
