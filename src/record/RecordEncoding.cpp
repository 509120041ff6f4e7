#include "record/RecordEncoding.h"

#include <unicode/ucsdet.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "platform/TextCodec.h"

namespace velmora {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string NormaliseLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    // The runs between carriage returns are copied whole: a record is a megabyte at times.
    std::size_t from = 0;
    for (std::size_t cr = text.find('\r'); cr != std::string_view::npos; cr = text.find('\r', from)) {
        out.append(text, from, cr - from);
        out += '\n';
        from = cr + 1 < text.size() && text[cr + 1] == '\n' ? cr + 2 : cr + 1;
    }
    out.append(text, from);
    return out;
}

// The CA value of the raw bytes (the first "CA[" that starts a property), or "".
std::string CharsetOf(std::string_view bytes) {
    for (std::size_t at = bytes.find("CA["); at != std::string_view::npos;
         at = bytes.find("CA[", at + 1)) {
        if (at > 0 && bytes[at - 1] >= 'A' && bytes[at - 1] <= 'Z') continue;
        const std::size_t end = bytes.find(']', at + 3);
        if (end == std::string_view::npos) return {};
        std::string name;
        for (char c : bytes.substr(at + 3, end - at - 3))
            if (!IsSpace(c)) name += c;
        return name;
    }
    return {};
}

// The iconv names to try for a charset name, widest first: files declared in a national
// standard are often written in its Windows superset.
std::vector<std::string> IconvNames(const std::string& charset) {
    const std::string name = AsciiUpper(charset);
    if (name == "EUC-KR" || name == "EUCKR" || name == "KS_C_5601-1987" || name == "KSC5601" ||
        name == "UHC" || name == "CP949")
        return {"CP949"};
    if (name == "GB2312" || name == "GBK" || name == "CP936" || name == "EUC-CN" ||
        name == "GB18030")
        return {"GB18030"};
    if (name == "BIG5" || name == "BIG-5" || name == "CP950") return {"CP950", "BIG5-HKSCS"};
    if (name == "SHIFT_JIS" || name == "SHIFT-JIS" || name == "SJIS" || name == "MS_KANJI" ||
        name == "CP932" || name == "WINDOWS-31J")
        return {"CP932", "SHIFT_JIS"};
    if (name == "UTF8") return {"UTF-8"};
    return {charset};
}

std::optional<std::string> DecodeAs(std::string_view bytes, const std::string& charset) {
    for (const std::string& name : IconvNames(charset))
        if (std::optional<std::string> text = DecodeText(bytes, name)) return text;
    return std::nullopt;
}

// "UTF-16LE"/"UTF-16BE" when the bytes carry a UTF-16 byte-order mark or the zero bytes of
// mostly-ASCII UTF-16 text; "" otherwise.
std::string Utf16Of(std::string_view bytes) {
    if (bytes.size() < 2) return {};
    if (bytes[0] == '\xFF' && bytes[1] == '\xFE') return "UTF-16LE";
    if (bytes[0] == '\xFE' && bytes[1] == '\xFF') return "UTF-16BE";
    const std::size_t n = std::min<std::size_t>(bytes.size() & ~std::size_t{1}, 512);
    std::size_t even = 0;
    std::size_t odd = 0;
    for (std::size_t i = 0; i < n; i += 2) {
        even += bytes[i] == '\0';
        odd += bytes[i + 1] == '\0';
    }
    // A record is mostly brackets and letters: one byte of most pairs is zero. (The other byte
    // of a pair can be zero too, as in U+AC00 "가".)
    if (odd * 2 > n / 2 && even * 4 < odd) return "UTF-16LE";
    if (even * 2 > n / 2 && odd * 4 < even) return "UTF-16BE";
    return {};
}

// CP949 line by line, so one broken byte costs only its line's Korean text.
std::string DecodeLossy(std::string_view bytes) {
    std::string out;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        end = end == std::string_view::npos ? bytes.size() : end + 1;
        const std::string_view line = bytes.substr(start, end - start);
        if (std::optional<std::string> decoded = DecodeText(line, "CP949")) {
            out += *decoded;
        } else {
            for (char c : line) out += static_cast<unsigned char>(c) < 0x80 ? c : '?';
        }
        start = end;
    }
    return out;
}

// The length of the valid UTF-8 sequence at the start of bytes, 0 when there is none (a stray
// continuation byte, an overlong form, a surrogate, a value past U+10FFFF, a cut sequence).
std::size_t Utf8SequenceLength(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (bytes.size() < length) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

// bytes declared UTF-8, each byte of no valid sequence made U+FFFD.
std::string Utf8WithReplacements(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        if (const std::size_t n = Utf8SequenceLength(bytes.substr(i))) {
            out.append(bytes, i, n);
            i += n;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

struct Candidate {
    const char* detected;  // ICU's name
    const char* charset;   // what DecodeAs is given
    int confidence = 0;
};

}  // namespace

std::string GuessLegacyEncoding(std::string_view bytes) {
    Candidate candidates[] = {{"EUC-KR", "CP949"},
                              {"GB18030", "GB18030"},
                              {"Big5", "BIG5"},
                              {"Shift_JIS", "SHIFT_JIS"},
                              {"EUC-JP", "EUC-JP"}};
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCharsetDetector, decltype(&ucsdet_close)> detector(ucsdet_open(&status),
                                                                        ucsdet_close);
    if (U_SUCCESS(status)) {
        ucsdet_setText(detector.get(), bytes.data(), static_cast<int32_t>(bytes.size()), &status);
        int32_t count = 0;
        const UCharsetMatch** matches = ucsdet_detectAll(detector.get(), &count, &status);
        for (int32_t i = 0; U_SUCCESS(status) && i < count; ++i) {
            const std::string_view name = ucsdet_getName(matches[i], &status);
            for (Candidate& c : candidates)
                if (name == c.detected && c.confidence == 0)
                    c.confidence = ucsdet_getConfidence(matches[i], &status);
        }
    }
    // Best first; Korean wins every tie.
    std::stable_sort(
        std::begin(candidates), std::end(candidates),
        [](const Candidate& a, const Candidate& b) { return a.confidence > b.confidence; });
    const bool korean = DecodeText(bytes, "CP949").has_value();
    int euckr = 0;
    for (const Candidate& c : candidates)
        if (std::string_view(c.charset) == "CP949") euckr = c.confidence;
    for (const Candidate& c : candidates) {
        if (std::string_view(c.charset) == "CP949") {
            if (korean) return "CP949";
            continue;
        }
        // Short texts give every detector a low score: then Korean stays.
        const bool sure = c.confidence >= 50 && c.confidence > euckr;
        if ((sure || !korean) && DecodeAs(bytes, c.charset)) return c.charset;
    }
    return "CP949";
}

std::string DecodeRecordBytes(std::string_view bytes, std::string* notice, std::string* encoding) {
    std::optional<std::string> text;
    std::string used;
    if (const std::string utf16 = Utf16Of(bytes); !utf16.empty()) {
        text = DecodeText(bytes, utf16);
        used = utf16;
    }
    if (!text) {
        const std::string charset = CharsetOf(bytes);
        // A file that says it is UTF-8 is, but for its broken bytes: guessing another
        // encoding for all of it would garble every text that was right. (iconv lets some
        // invalid sequences through, so it is not asked.)
        if (!charset.empty() && AsciiUpper(IconvNames(charset).front()) == "UTF-8") {
            text = Utf8WithReplacements(bytes);
            used = "UTF-8";
            if (notice && *text != bytes)
                *notice = "UTF-8로 쓰였다는 이 파일에 UTF-8이 아닌 바이트가 있어, 그 자리를 "
                          "U+FFFD(�)로 바꾸어 읽었습니다.";
        } else if (!charset.empty()) {
            text = DecodeAs(bytes, charset);
            used = AsciiUpper(IconvNames(charset).front());
        }
    }
    if (!text && IsValidUtf8(bytes)) {
        text = std::string(bytes);
        used = "UTF-8";
    }
    if (!text) {
        used = GuessLegacyEncoding(bytes);
        text = DecodeAs(bytes, used);
    }
    if (!text) {
        text = DecodeLossy(bytes);
        used.clear();
    }
    if (encoding) *encoding = used;
    std::string_view view = *text;
    if (view.substr(0, kUtf8Bom.size()) == kUtf8Bom) view.remove_prefix(kUtf8Bom.size());
    return NormaliseLineEnds(view);
}

std::string AsciiUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

}  // namespace velmora
