#pragma once

namespace velmora {

// The application-wide "record modified" flag: set by edits on the board, cleared when a
// record is opened, read by the close commands.
bool RecordModified();
void SetRecordModified(bool modified);

}  // namespace velmora
