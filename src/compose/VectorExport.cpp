#include "compose/VectorExport.h"

#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "platform/Prompter.h"

namespace velmora {
namespace {

// Vector pictures are laid out in pixels of a 96-dpi screen, as the PNG pictures are seen.
constexpr int kPixelsPerInch = 96;


// Writes bytes to path whole → false when the file cannot be written.
bool WriteFile(const std::string& path, const QByteArray& bytes) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const bool written = file.write(bytes) == bytes.size();
    return file.flush() && written;
}

}  // namespace

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size()) return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        char c = text[text.size() - suffix.size() + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[i]) return false;
    }
    return true;
}

VectorFormat VectorFormatOf(const std::string& path) {
    if (EndsWithNoCase(path, ".svg")) return VectorFormat::kSvg;
    if (EndsWithNoCase(path, ".pdf")) return VectorFormat::kPdf;
    return VectorFormat::kNone;
}

bool WriteVectorPicture(const std::string& path, VectorFormat format, QSize size,
                        const std::string& title, const std::function<void(QPainter&)>& paint) {
    if (format == VectorFormat::kNone || size.isEmpty()) return false;
    // Drawn into memory first, so that a file that cannot be written is told apart from a
    // drawing that failed, and nothing half-written is left behind.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == VectorFormat::kSvg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(kPixelsPerInch);
        svg.setTitle(QString::fromStdString(title));
        QPainter painter;
        if (!painter.begin(&svg)) return false;
        paint(painter);
        if (!painter.end()) return false;
    } else {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(kPixelsPerInch);
        const QSizeF points(size.width() * 72.0 / kPixelsPerInch,
                            size.height() * 72.0 / kPixelsPerInch);
        pdf.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point),
                                      QPageLayout::Portrait, QMarginsF()));
        pdf.setTitle(QString::fromStdString(title));
        pdf.setCreator(QStringLiteral("Velmora"));
        QPainter painter;
        if (!painter.begin(&pdf)) return false;
        // The page may come out a pixel off the size asked for (points are rounded).
        painter.scale(double(pdf.width()) / size.width(), double(pdf.height()) / size.height());
        paint(painter);
        if (!painter.end()) return false;
    }
    buffer.close();
    return !bytes.isEmpty() && WriteFile(path, bytes);
}

int WriteDiagramVector(const DiagramSource& source, const DiagramRequest& request,
                       const std::string& path) {
    const DiagramPlan plan = PlanDiagram(source, request);
    if (plan.refused) {
        Prompter::Current().Popup(kDiagramRangeMessage, kButtonsOk);
        return 0;
    }
    const QSize size(plan.width, plan.Height());
    const bool written = WriteVectorPicture(
        path, VectorFormatOf(path), size, plan.caption.empty() ? "기보도" : plan.caption,
        [&](QPainter& painter) { PaintDiagram(painter, QRectF(QPointF(), size), plan, request.pens); });
    return written ? 1 : -1;
}

ExportResult ExportVectorPages(PageRequest request, int pages, const std::string& firstPath) {
    const VectorFormat format = VectorFormatOf(firstPath);
    const QSize size(kExportPageWidth, kExportPageHeight);
    return ExportEachPage(request, pages, firstPath,
                          [&](const PageRequest& setUp, int page, const std::string& path) {
        const bool written = WriteVectorPicture(path, format, size, setUp.texts[0],
                                                [&](QPainter& painter) { ComposePage(painter, setUp, page); });
        return written ? std::string() : ExportWriteFailure(path);
    });
}

}  // namespace velmora
