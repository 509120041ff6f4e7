#include "platform/BmpWriter.h"

#include <fstream>

namespace velmora {
namespace {

void Put16(std::vector<char>& out, size_t at, unsigned v) {
    out[at] = static_cast<char>(v & 0xFF);
    out[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::vector<char>& out, size_t at, unsigned v) {
    Put16(out, at, v & 0xFFFF);
    Put16(out, at + 2, v >> 16);
}

}  // namespace

std::vector<char> EncodeBmp24(const QImage& img) {
    if (img.isNull()) return {};
    const QImage src = img.convertToFormat(QImage::Format_RGB32);
    const int w = src.width(), h = src.height();
    const unsigned stride = (static_cast<unsigned>(w) * 3 + 3) & ~3u;
    const unsigned dataSize = stride * static_cast<unsigned>(h);
    std::vector<char> out(54 + dataSize, 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, static_cast<unsigned>(out.size()));
    Put32(out, 10, 54);
    Put32(out, 14, 40);
    Put32(out, 18, static_cast<unsigned>(w));
    Put32(out, 22, static_cast<unsigned>(h));
    Put16(out, 26, 1);
    Put16(out, 28, 24);
    Put32(out, 34, dataSize);
    Put32(out, 38, 2835);  // 72 dpi
    Put32(out, 42, 2835);
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(src.constScanLine(h - 1 - y));
        char* row = out.data() + 54 + static_cast<size_t>(y) * stride;
        for (int x = 0; x < w; ++x) {
            row[x * 3] = static_cast<char>(qBlue(line[x]));
            row[x * 3 + 1] = static_cast<char>(qGreen(line[x]));
            row[x * 3 + 2] = static_cast<char>(qRed(line[x]));
        }
    }
    return out;
}

bool WriteBmp24(const QImage& img, const std::string& path) {
    const std::vector<char> bytes = EncodeBmp24(img);
    if (bytes.empty()) return false;
    std::ofstream f(path, std::ios::binary);
    if (!f) return false;
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

}  // namespace velmora
