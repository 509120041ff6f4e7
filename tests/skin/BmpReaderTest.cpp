#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/BmpWriter.h"
#include "skin/BmpReader.h"

namespace velmora {
namespace {

struct BmpFields {
    int width = 0, height = 0;  // negative height: top-down
    int bits = 24;
    uint32_t headerSize = 40;
    uint32_t compression = 0;
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    std::vector<uint32_t> masks;    // written after a 40-byte header for bit-fields
    int gap = 0;                    // bytes between the colour table and the pixels
    std::vector<std::string> rows;  // raw row bytes, in file order, padded by the helper
};

void Put(std::string& s, size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string MakeBmp(const BmpFields& b) {
    std::string out(14 + b.headerSize, '\0');
    out[0] = 'B', out[1] = 'M';
    Put(out, 14, b.headerSize, 4);
    Put(out, 18, static_cast<uint32_t>(b.width), 4);
    Put(out, 22, static_cast<uint32_t>(b.height), 4);
    Put(out, 26, 1, 2);
    Put(out, 28, static_cast<uint32_t>(b.bits), 2);
    Put(out, 30, b.compression, 4);
    Put(out, 46, static_cast<uint32_t>(b.palette.size()), 4);
    for (size_t i = 0; i < b.masks.size(); ++i) {
        if (b.headerSize > 40) {
            Put(out, 54 + 4 * i, b.masks[i], 4);
        } else {
            out.append(4, '\0');
            Put(out, out.size() - 4, b.masks[i], 4);
        }
    }
    for (uint32_t c : b.palette) {
        out.append(4, '\0');
        Put(out, out.size() - 4, c, 4);
    }
    out.append(static_cast<size_t>(b.gap), '\x55');
    Put(out, 10, static_cast<uint32_t>(out.size()), 4);
    const size_t stride = ((static_cast<size_t>(b.width) * b.bits + 31) / 32) * 4;
    for (const std::string& row : b.rows) out += row + std::string(stride - row.size(), '\0');
    Put(out, 2, static_cast<uint32_t>(out.size()), 4);
    return out;
}

Surface Decode(const std::string& s) { return DecodeBmp(s.data(), s.size()); }

TEST(BmpReader, TwentyFourBitsRoundTripThroughTheWriter) {
    QImage img(5, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) img.setPixel(x, y, qRgb(x * 50, y * 100, 7));
    const std::vector<char> bytes = EncodeBmp24(img);
    const Surface s = DecodeBmp(bytes.data(), bytes.size());
    ASSERT_EQ(s.width(), 5);
    ASSERT_EQ(s.height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(s.Pixel(x, y), (img.pixel(x, y) & 0xFFFFFFu)) << x << "," << y;
}

TEST(BmpReader, PalettedDepthsBottomUpAndTopDown) {
    // 1 bit: row "10100000" → colours 1,0,1 (bottom-up: the first file row is the bottom).
    BmpFields one{3, 2, 1, 40, 0, {0x000000, 0xFFFFFF}, {}, 0, {"\xA0", "\x40"}};
    Surface s = Decode(MakeBmp(one));
    ASSERT_EQ(s.width(), 3);
    EXPECT_EQ(s.Pixel(0, 1), 0xFFFFFFu);
    EXPECT_EQ(s.Pixel(1, 1), 0u);
    EXPECT_EQ(s.Pixel(2, 1), 0xFFFFFFu);
    EXPECT_EQ(s.Pixel(1, 0), 0xFFFFFFu);

    BmpFields four{3, -1, 4, 40, 0, {0x112233, 0x445566, 0x778899}, {}, 0, {"\x12\x00"}};
    s = Decode(MakeBmp(four));
    EXPECT_EQ(s.Pixel(0, 0), 0x445566u);
    EXPECT_EQ(s.Pixel(1, 0), 0x778899u);
    EXPECT_EQ(s.Pixel(2, 0), 0x112233u);

    BmpFields eight{2, -2, 8, 40, 0, {0xFF0000, 0x00FF00, 0x0000FF}, {}, 0, {std::string("\x00\x01", 2), std::string("\x02\x00", 2)}};
    s = Decode(MakeBmp(eight));
    EXPECT_EQ(s.Pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(s.Pixel(1, 0), 0x00FF00u);
    EXPECT_EQ(s.Pixel(0, 1), 0x0000FFu);
}

TEST(BmpReader, SixteenAndThirtyTwoBitsWithAndWithoutMasks) {
    // 5-5-5: pure red 0x7C00, and 5-6-5 bit-fields: pure green 0x07E0.
    BmpFields rgb555{1, 1, 16, 40, 0, {}, {}, 0, {std::string("\x00\x7C", 2)}};
    EXPECT_EQ(Decode(MakeBmp(rgb555)).Pixel(0, 0), 0xFF0000u);
    BmpFields rgb565{1, 1, 16, 40, 3, {}, {0xF800, 0x07E0, 0x001F}, 0, {std::string("\xE0\x07", 2)}};
    EXPECT_EQ(Decode(MakeBmp(rgb565)).Pixel(0, 0), 0x00FF00u);
    BmpFields plain32{1, 1, 32, 40, 0, {}, {}, 0, {std::string("\x30\x20\x10\x00", 4)}};
    EXPECT_EQ(Decode(MakeBmp(plain32)).Pixel(0, 0), 0x102030u);
    // A 32-bit wide mask scales without wrapping: all ones is full, the top bit half.
    BmpFields wide{2, 1, 32, 40, 3, {}, {0xFFFFFFFF, 0, 0}, 0,
                 {std::string("\xFF\xFF\xFF\xFF\x00\x00\x00\x80", 8)}};
    const Surface w = Decode(MakeBmp(wide));
    EXPECT_EQ(w.Pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(w.Pixel(1, 0), 0x800000u);
}

TEST(BmpReader, HonoursALargerHeaderAndThePixelOffset) {
    // A 108-byte header holding its masks, and eight filler bytes before the pixels.
    BmpFields v4{2, 1, 32, 108, 3, {}, {0x0000FF00, 0x00FF0000, 0xFF000000}, 8,
               {std::string("\x00\x11\x22\x33\x00\x44\x55\x66", 8)}};
    const Surface s = Decode(MakeBmp(v4));
    ASSERT_FALSE(s.isNull());
    EXPECT_EQ(s.Pixel(0, 0), 0x112233u);
    EXPECT_EQ(s.Pixel(1, 0), 0x445566u);
}

TEST(BmpReader, ShortOrBrokenFilesGiveNoBitmap) {
    BmpFields good{3, 2, 24, 40, 0, {}, {}, 0, {"\x01\x02\x03\x04\x05\x06\x07\x08\x09", "abcdefghi"}};
    const std::string bytes = MakeBmp(good);
    ASSERT_FALSE(Decode(bytes).isNull());
    // Only the padding after the last row may be missing.
    EXPECT_FALSE(Decode(bytes.substr(0, bytes.size() - 3)).isNull());
    EXPECT_TRUE(Decode(bytes.substr(0, bytes.size() - 4)).isNull());
    for (size_t n : {0, 2, 14, 30, 53}) EXPECT_TRUE(Decode(bytes.substr(0, n)).isNull()) << n;
    std::string notBm = bytes;
    notBm[0] = 'X';
    EXPECT_TRUE(Decode(notBm).isNull());
    std::string farOffset = bytes;
    Put(farOffset, 10, 0x7FFFFFF0, 4);
    EXPECT_TRUE(Decode(farOffset).isNull());
    std::string hugeHeader = bytes;
    Put(hugeHeader, 14, 0xFFFFFFF0, 4);
    EXPECT_TRUE(Decode(hugeHeader).isNull());
    std::string hugeSize = bytes;
    Put(hugeSize, 18, 0x7FFFFFFF, 4);
    EXPECT_TRUE(Decode(hugeSize).isNull());
    std::string rle = bytes;
    Put(rle, 30, 1, 4);
    EXPECT_TRUE(Decode(rle).isNull());
}

}  // namespace
}  // namespace velmora
