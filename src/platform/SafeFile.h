#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Writes bytes as the whole content of the file at path (its name as the system's bytes) so
// that a failure never leaves a half-written file → false, with the file as it was, when it
// cannot be written.
// - The bytes go to a temporary file of a short name in the file's folder, flushed to the disk,
//   then renamed over the file, and the folder is flushed too, so the new name survives a
//   power cut.
// - A file whose mode has no write bit is read-only: it is refused, as root too.
// - A symbolic link stays a link: its target is written.
// - The file keeps its permissions, owner and group (as far as the user may set them).
// - In a folder where no new file can be made, a file that may be written is written in
//   place, and given back its old content when that write fails.
bool WriteFileSafely(const std::string& path, std::string_view bytes);

}  // namespace velmora
