#pragma once

// Page counts, sizes and texts of PDF files through poppler's pdfinfo and pdftotext.

#include <QProcess>
#include <QRegularExpression>
#include <string>

namespace velmora::test {

// The "Pages:" of pdfinfo for path; -1 when pdfinfo cannot read it.
inline int PdfPageCount(const std::string& path) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {QString::fromStdString(path)});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return -1;
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                       .match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The "Page size:" of pdfinfo for path ("595.276 x 841.89 pts (A4)"); empty when unreadable.
inline std::string PdfPageSize(const std::string& path) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {QString::fromStdString(path)});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
    const auto m = QRegularExpression(QStringLiteral("Page size:\\s+(.*)"))
                       .match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).trimmed().toStdString() : std::string();
}

// The text of one page (from 1) of a PDF through pdftotext; empty when unreadable.
inline QString PdfPageText(const QString& path, int page) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {"-f", QString::number(page), "-l", QString::number(page), path, "-"});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace velmora::test
