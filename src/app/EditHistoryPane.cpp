#include "app/EditHistoryPane.h"

#include "app/MainLayout.h"

namespace velmora {

void EditHistoryPane::Layout(const QRect& mainClient) {
    setGeometry(MainLayout::Compute(mainClient, 0).editHistory);
}

}  // namespace velmora
