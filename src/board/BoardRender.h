#pragma once

#include <QImage>
#include <string>

#include "game/BoardLogic.h"
#include "platform/Surface.h"

namespace velmora {

// How a board is rendered off-screen.
struct RenderOptions {
    int width = 800;
    int height = 800;
    Rgb background = 0x5C3E22;  // the colour around the board
};

// The picture logic's board control would show in a width × height client (its coordinates,
// numbering and marks as set on logic), with the board images from the resource lookup;
// a null image when the size is not positive or an image is missing.
QImage RenderBoardImage(const BoardLogic& logic, const RenderOptions& options);

// The background the skin gives board controls: the color attribute of the first "BadukPan"
// element of the window file skinFile, through the registered colours; fallback when the file
// or the element is missing.
Rgb SkinBoardBackground(const std::string& skinFile, Rgb fallback);

// RenderBoardImage written as a PNG file at path (UTF-8) → false when nothing could be drawn
// or the file could not be written.
bool RenderPositionPng(const BoardLogic& logic, const RenderOptions& options,
                       const std::string& path);

}  // namespace velmora
