#include "record/RecordNotifier.h"

#include <cstdio>
#include <utility>

namespace velmora {

namespace {

RecordNotifyHandler& Handler() {
    static RecordNotifyHandler handler;
    return handler;
}

}  // namespace

void SetRecordNotifyHandler(RecordNotifyHandler h) { Handler() = std::move(h); }

void NotifyRecord(const std::string& text) {
    if (Handler()) {
        Handler()(text);
    } else {
        std::fprintf(stderr, "velmora: %s\n", text.c_str());
    }
}

}  // namespace velmora
