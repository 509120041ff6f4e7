#pragma once

#include <functional>
#include <string>

namespace velmora {

// The record reports its low-level failures, saying why ("참고도를 저장하지 못했습니다: 메모리가
// 부족합니다."), here rather than showing a box itself, so it stays free of any window code.
// The application routes them to a plain message box; tests capture them.
using RecordNotifyHandler = std::function<void(const std::string& text)>;

// Installs h as the handler; an empty h restores the default (one line on stderr).
void SetRecordNotifyHandler(RecordNotifyHandler h);

// Hands text to the current handler.
void NotifyRecord(const std::string& text);

}  // namespace velmora
