#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "skin/ScrollArea.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinWindow.h"

namespace velmora {

class PaneStack;

// The view pane's list of reference diagrams: a sheet built from Skin\Dialog\ReferenceCtrl.xml
// holding a scrolled PaneStack, one pane per diagram (a header with its caption over its text).
class ReferenceList : public SkinWindow {
    Q_OBJECT
  public:
    explicit ReferenceList(QWidget* parent);
    // Builds the sheet from its skin file → false when the file gave nothing.
    bool Create();

    // Removes every pane.
    void Clear();
    // Appends a closed pane with caption on its header and text below it → its index; the
    // open pane closes unless keepOpen.
    int Add(const std::string& caption, const std::string& text, bool keepOpen = false);
    // Appends closed panes of (caption, text) in order, placing the list once at the end.
    void AddAll(const std::vector<std::pair<std::string, std::string>>& panes);
    // Called (from the event loop, after the click is over) with the index of the pane just
    // opened, or −1 when the last open one was closed.
    void SetOpenedHandler(std::function<void(int)> handler) { opened_ = std::move(handler); }

    PaneStack& Stack() const { return *stack_; }

  protected:
    bool onMessage(int message, std::intptr_t wParam, std::intptr_t lParam) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    // The scrolled extent follows the stack's height.
    void UpdateContent();
    int Append(const std::string& caption, const std::string& text, bool keepOpen);

    PaneStack* stack_;
    ScrollArea scroll_;
    SkinBitmap strip_;
    std::function<void(int)> opened_;
};

}  // namespace velmora
