#include "game/RecordModified.h"

namespace velmora {

namespace {
bool modified = false;
}  // namespace

bool RecordModified() {
    return modified;
}

void SetRecordModified(bool value) {
    modified = value;
}

}  // namespace velmora
