#pragma once

#include <string>

#include "skin/SkinDialog.h"

namespace velmora {

// The question before unsaved work gives way to a new record, another record or the end of the
// program (Skin\Dialog\새기보.xml), with its title (shape 100) and mark-up text (200) given:
// 108 예 answers 6 (save first), 109 아니오 answers 7 (let the work go), 104 취소, Escape and
// closing answer 2 (stay).
class SaveFirstDialog : public SkinDialog {
    Q_OBJECT
public:
    SaveFirstDialog(const std::string& title, const std::string& markup, QWidget* parent = nullptr);
    void reject() override;

protected:
    void OnSkinBuilt() override;
    void onCommand(int id) override;

private:
    std::string title_;
    std::string markup_;
};

}  // namespace velmora
