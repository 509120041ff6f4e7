#include "game/RecordModified.h"

namespace velmora {

namespace {
bool modified = false;
std::function<void(bool)> observer;
}  // namespace

bool RecordModified() {
    return modified;
}

void SetRecordModified(bool value) {
    if (modified == value) return;
    modified = value;
    if (observer) observer(value);
}

void SetRecordModifiedObserver(std::function<void(bool)> f) {
    observer = std::move(f);
}

}  // namespace velmora
