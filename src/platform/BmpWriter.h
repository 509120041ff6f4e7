#pragma once

#include <QImage>
#include <string>
#include <vector>

namespace velmora {

// The bytes of a 24-bit bottom-up BMP file of img (alpha ignored); empty for a null image.
std::vector<char> EncodeBmp24(const QImage& img);

// Writes img as a 24-bit BMP file at path (UTF-8); false when the file cannot be written.
bool WriteBmp24(const QImage& img, const std::string& path);

}  // namespace velmora
