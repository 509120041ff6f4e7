#pragma once

#include "skin/SkinDialog.h"

namespace velmora {

// What the unsaved record is about to give way to.
// kNewRecordEdits: a new record over a record without moves whose edits are unsaved.
enum class SaveFirstReason { kNewRecord, kNewRecordEdits, kOpen };

// The question before a new record, or another record opened, replaces unsaved work
// (Skin\Dialog\새기보.xml, worded for the reason): 108 answers 6 (save first), 109 answers 7
// (do not save), 104 and closing answer 2 (cancel).
class NewRecordDialog : public SkinDialog {
    Q_OBJECT
public:
    explicit NewRecordDialog(QWidget* parent = nullptr,
                             SaveFirstReason reason = SaveFirstReason::kNewRecord);
    void reject() override;

protected:
    void OnSkinBuilt() override;
    void onCommand(int id) override;

private:
    SaveFirstReason reason_;
};

}  // namespace velmora
