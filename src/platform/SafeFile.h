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
// - why, when given, is told the reason of a failure in the user's words ("읽기 전용
//   파일입니다", "폴더가 없습니다", "디스크 공간이 부족합니다", …).
bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string* why = nullptr);

// Why a file could not be written at path by another writer (an image or PDF writer that
// does not say), judged from the file, its folder and the disk now, in the user's words.
std::string WriteFailureReason(const std::string& path);

}  // namespace velmora
