#include "skin/BmpReader.h"

#include <cstdint>

namespace velmora {
namespace {

uint32_t U16(const unsigned char* p) { return p[0] | (p[1] << 8); }
uint32_t U32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Extracts the channel under mask from v, scaled to 0..255.
unsigned Channel(uint32_t v, uint32_t mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const uint64_t m = mask >> shift;
    // In 64 bits: a mask wider than 24 bits times 255 does not fit in 32.
    return static_cast<unsigned>(((static_cast<uint64_t>((v & mask) >> shift)) * 255 + m / 2) / m);
}

constexpr uint32_t kBiRgb = 0, kBiBitFields = 3, kBiAlphaBitFields = 6;
constexpr int64_t kMaxPixels = 64LL * 1024 * 1024;

}  // namespace

Surface DecodeBmp(const char* bytes, size_t size) {
    const auto* d = reinterpret_cast<const unsigned char*>(bytes);
    if (!d || size < 14 + 40 || d[0] != 'B' || d[1] != 'M') return Surface();
    const uint32_t dataOffset = U32(d + 10);
    const uint32_t headerSize = U32(d + 14);
    if (headerSize < 40 || 14 + static_cast<uint64_t>(headerSize) > size) return Surface();
    const int32_t width = static_cast<int32_t>(U32(d + 18));
    const int32_t rawHeight = static_cast<int32_t>(U32(d + 22));
    const uint32_t bits = U16(d + 28);
    const uint32_t compression = U32(d + 30);
    const uint32_t usedColours = U32(d + 46);
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) return Surface();
    const bool topDown = rawHeight < 0;
    const int32_t height = topDown ? -rawHeight : rawHeight;
    if (static_cast<int64_t>(width) * height > kMaxPixels) return Surface();

    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bits == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    size_t tableAt = 14 + headerSize;
    if (compression == kBiBitFields || compression == kBiAlphaBitFields) {
        if (bits != 16 && bits != 32) return Surface();
        // A 40-byte header is followed by the masks; larger headers hold them inside.
        const size_t at = 14 + 40;
        if (at + 12 > size) return Surface();
        for (int i = 0; i < 3; ++i) masks[i] = U32(d + at + 4 * i);
        if (headerSize == 40) tableAt += compression == kBiAlphaBitFields ? 16 : 12;
    } else if (compression != kBiRgb) {
        return Surface();
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return Surface();

    uint32_t paletteSize = 0;
    if (bits <= 8) {
        const uint32_t full = 1u << bits;
        paletteSize = (usedColours == 0 || usedColours > full) ? full : usedColours;
    }
    QRgb palette[256] = {};
    for (uint32_t i = 0; i < paletteSize; ++i) {
        const size_t at = tableAt + 4 * i;
        if (at + 4 > size) break;  // a short table leaves the rest black
        palette[i] = qRgb(d[at + 2], d[at + 1], d[at]);
    }

    const uint64_t stride = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
    // A zero offset is taken as "right after the colour table".
    const uint64_t pixelsAt = dataOffset ? dataOffset : tableAt + 4ull * paletteSize;
    if (pixelsAt > size) return Surface();
    // Every row must be there; only the padding after the last row may be missing.
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * bits + 7) / 8;
    if (size - pixelsAt < stride * (height - 1) + rowBytes) return Surface();

    Surface out(width, height);
    QImage& img = out.image();
    for (int32_t row = 0; row < height; ++row) {
        const unsigned char* s = d + pixelsAt + static_cast<uint64_t>(row) * stride;
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(topDown ? row : height - 1 - row));
        for (int32_t x = 0; x < width; ++x) {
            switch (bits) {
                case 1: line[x] = palette[(s[x >> 3] >> (7 - (x & 7))) & 1]; break;
                case 4: line[x] = palette[(s[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF]; break;
                case 8: line[x] = palette[s[x]]; break;
                case 16: {
                    const uint32_t v = U16(s + 2 * x);
                    line[x] = qRgb(Channel(v, masks[0]), Channel(v, masks[1]), Channel(v, masks[2]));
                    break;
                }
                case 24: line[x] = qRgb(s[3 * x + 2], s[3 * x + 1], s[3 * x]); break;
                case 32: {
                    const uint32_t v = U32(s + 4 * x);
                    line[x] = qRgb(Channel(v, masks[0]), Channel(v, masks[1]), Channel(v, masks[2]));
                    break;
                }
            }
        }
    }
    return out;
}

}  // namespace velmora
