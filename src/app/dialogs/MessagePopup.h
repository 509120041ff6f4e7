#pragma once

#include <string>

#include "skin/SkinDialog.h"

class QWidget;

namespace velmora {

// The program's question and notice box (Skin\Dialog\메시지팝업창.xml): mark-up text in shape
// 200 and one of four button sets. Buttons 103/105/108/110 give the OK kind of answer, 104/109
// the cancel kind (No in the Yes/No set); in the Yes/No/Cancel set 111 answers No and 112
// Cancel. Escape or closing the window answers Cancel (2) in every set. Enter closes a notice
// (OK alone) with OK; a question waits for a button.
class MessagePopup : public SkinDialog {
    Q_OBJECT
public:
    MessagePopup(const std::string& markup, int buttonSet, QWidget* parent = nullptr);

    // The set in use: 4 (Yes/No), 3 (Yes/No/Cancel), 1 (OK/Cancel), any other value becomes 0 (OK).
    int ButtonSet() const { return set_; }
    const std::string& Text() const { return text_; }

    // The set a caller's value stands for.
    static int NormalizeSet(int buttonSet);
    // The answer of a button kind in a set: OK kind 6 (sets 3, 4) or 1; cancel kind 7 (set 4)
    // or 2.
    static int Answer(int buttonSet, bool okKind);

    void reject() override;

protected:
    void OnSkinBuilt() override;
    void onCommand(int id) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    std::string text_;
    int set_;
};

// The program's question or notice: shows text with the button set through the current
// Prompter (whose pop-up is the MessagePopup) → 1 OK, 2 Cancel (also: dismissed), 6 Yes or 7 No.
int ShowMessagePopup(const std::string& text, int buttonSet);

// Runs a MessagePopup modally over parent → its answer.
int RunMessagePopup(const std::string& text, int buttonSet, QWidget* parent);

}  // namespace velmora
