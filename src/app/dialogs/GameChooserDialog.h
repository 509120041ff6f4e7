#pragma once

#include <string>
#include <vector>

#include "skin/SkinDialog.h"

class QTreeWidget;

namespace velmora {

// The choice of one game of a file that holds several (Skin\Dialog\기보선택.xml): a list with
// a column each in the box 300, the first row chosen; 101 (열기) or a double-click ends it
// with kResultOk, 100 (취소), Escape and closing with kResultCancel.
class GameChooserDialog : public SkinDialog {
    Q_OBJECT
  public:
    GameChooserDialog(QWidget* parent, std::string caption, std::vector<std::string> columns,
                      std::vector<std::vector<std::string>> rows);

    // The row chosen in the list; −1 for none.
    int ChosenRow() const;
    // Chooses row in the list, as a click would.
    void ChooseRow(int row);
    // The list, once built; null before.
    QTreeWidget* List() const { return list_; }

  protected:
    void OnSkinBuilt() override;

  private:
    std::string caption_;
    std::vector<std::string> columns_;
    std::vector<std::vector<std::string>> rows_;
    QTreeWidget* list_ = nullptr;
};

// A list laid in a skinned dialog's box: the skin's font and its input and selection colours.
void StyleSkinList(QWidget& list);

// Runs the chooser over owner → the chosen row, or −1 when it was cancelled.
int RunGameChooser(const std::string& caption, const std::vector<std::string>& columns,
                   const std::vector<std::vector<std::string>>& rows, QWidget* owner);

}  // namespace velmora
