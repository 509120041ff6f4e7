#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Decodes a record file's bytes to UTF-8, line ends made "\n", a byte-order mark dropped:
// UTF-8 and UTF-16 (LE/BE) by their byte-order marks, or UTF-16 by its zero bytes; else the
// encoding the CA property names; else UTF-8 when the bytes are valid UTF-8; else the
// encoding GuessLegacyEncoding picks. A CA naming an unknown encoding, or one the bytes are not
// in, is passed over; but in a file declared UTF-8 each byte of no valid sequence becomes
// U+FFFD, and notice (when given) receives a line for the user saying so. Bytes no encoding
// accepts become "?". encoding (when given) receives the iconv name of the encoding read
// ("UTF-8", "CP949", "UTF-16LE", …), or "" when no encoding accepted the bytes.
std::string DecodeRecordBytes(std::string_view bytes, std::string* notice = nullptr,
                              std::string* encoding = nullptr);

// The encoding of bytes that are not UTF-8, among CP949, GB18030, BIG5 (CP950), Shift_JIS
// (CP932) and EUC-JP, as an iconv name: another than CP949 only when the charset detector
// is clearly surer of it than of Korean and the bytes decode in it, or when they do not decode
// as CP949 at all.
std::string GuessLegacyEncoding(std::string_view bytes);

// s with its ASCII letters in upper case (charset names, identifiers and rank units compare so).
std::string AsciiUpper(std::string_view s);

}  // namespace velmora
