#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// Conversions between UTF-8 (the program's inner text) and the legacy encodings of record
// files, through iconv. Encoding names are iconv's ("CP949", "EUC-KR", "GB18030", "BIG5",
// "SHIFT_JIS", "UTF-8", …); letter case does not matter.

// bytes in `encoding` → UTF-8; nullopt when the encoding is unknown or the bytes are invalid.
std::optional<std::string> DecodeText(std::string_view bytes, std::string_view encoding);
// UTF-8 → `encoding`; nullopt when some character cannot be represented (or the name is unknown).
std::optional<std::string> EncodeText(std::string_view utf8, std::string_view encoding);
// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);
// Number of characters (code points) in a UTF-8 text.
std::size_t Utf8Length(std::string_view utf8);

}  // namespace velmora
