#pragma once

#include <QSize>
#include <functional>
#include <string>

#include "compose/DiagramComposer.h"
#include "compose/PictureExport.h"

class QPainter;

namespace velmora {

// The vector formats a picture can be saved in, told by the file name's extension.
enum class VectorFormat { kNone, kSvg, kPdf };

// Whether text ends in suffix (lower case), ASCII letters compared in any case.
bool EndsWithNoCase(const std::string& text, const std::string& suffix);

// .svg → kSvg, .pdf → kPdf (in any case), anything else kNone.
VectorFormat VectorFormatOf(const std::string& path);

// Paints a size.width() × size.height() picture through paint and writes it to path as an SVG
// file or a one-page PDF of that size (a pixel a 96th of an inch) → false when nothing could be
// written.
bool WriteVectorPicture(const std::string& path, VectorFormat format, QSize size,
                        const std::string& title, const std::function<void(QPainter&)>& paint);

// Draws the diagram of request as ComposeDiagramImage would, into path as SVG or PDF (by its
// extension) → 1 written, 0 refused (the range message shown), −1 not written.
int WriteDiagramVector(const DiagramSource& source, const DiagramRequest& request,
                       const std::string& path);

// Draws `pages` pages of request as ExportPages does (1500 × 2130, picture pens), each into its
// own SVG or PDF file by firstPath's extension, named as the exported pictures are.
ExportResult ExportVectorPages(PageRequest request, int pages, const std::string& firstPath);

}  // namespace velmora
