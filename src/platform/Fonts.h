#pragma once

#include <QFont>
#include <string>

namespace velmora {

// Registers, once, the faces that stand in for the Windows fonts the skin names:
// 굴림/굴림체/돋움/돋움체 → NanumGothic (Coding for the fixed faces), Arial → Liberation Sans.
void RegisterFontSubstitutions();

// A font of face (UTF-8), pixel height and weight (100..900 as in skin files).
QFont MakeFont(const std::string& face, int pixelHeight, int weight = 400, bool italic = false,
               bool underline = false);

// A font described the way the program's drawing describes its own: the height of its
// character cell (ascent + descent) and its average character width (0 keeps the face's),
// in pixels. Qt sizes fonts by the em, so both go through the face's metrics.
QFont CellSizedFont(const std::string& face, int cellHeight, int averageWidth, int weight = 400);

}  // namespace velmora
