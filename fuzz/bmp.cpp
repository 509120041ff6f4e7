// Feeds arbitrary bytes to the BMP decoder and touches every pixel of what it returns.
#include <cstddef>
#include <cstdint>

#include "skin/BmpReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const velmora::Surface s = velmora::DecodeBmp(reinterpret_cast<const char*>(data), size);
    if (s.isNull()) return 0;
    unsigned sum = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) sum += s.Pixel(x, y);
    return sum == 1 ? 0 : 0;
}
