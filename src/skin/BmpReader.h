#pragma once

#include <cstddef>

#include "platform/Surface.h"

namespace velmora {

// Decodes the bytes of a BMP file (1, 4, 8, 16, 24 or 32 bits per pixel, uncompressed or
// bit-fields, bottom-up or top-down) into a 32-bit surface of the bitmap's size. The
// header size and pixel-data offset the file states are honoured. A null surface for
// anything short, broken, compressed or absurdly large; nothing is read outside data.
Surface DecodeBmp(const char* data, size_t size);

}  // namespace velmora
