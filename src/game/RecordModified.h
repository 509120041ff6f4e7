#pragma once

#include <functional>

namespace velmora {

// The application-wide "record modified" flag: set by edits on the board, cleared when a
// record is opened, read by the close commands.
bool RecordModified();
void SetRecordModified(bool modified);
// Calls observer with the new value whenever the flag changes (empty: nobody is told).
void SetRecordModifiedObserver(std::function<void(bool)> observer);

}  // namespace velmora
