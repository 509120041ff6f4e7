#pragma once

#include "skin/SkinDialog.h"

namespace velmora {

// The question before a new record replaces one in progress (Skin\Dialog\새기보.xml):
// 108 answers 6 (save first), 109 answers 7 (do not save), 104 and closing answer 2 (cancel).
class NewRecordDialog : public SkinDialog {
    Q_OBJECT
public:
    explicit NewRecordDialog(QWidget* parent = nullptr);
    void reject() override;

protected:
    void onCommand(int id) override;
};

}  // namespace velmora
