#include "compose/PictureExport.h"

#include <QImage>
#include <QPainter>
#include <cstdio>
#include <fstream>

#include "platform/BmpWriter.h"
#include "platform/SafeFile.h"

namespace velmora {
namespace {

char32_t g_nextLetter = U'a';

std::string Utf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// Where the letter goes in path: before the file name's extension, or at its end.
std::size_t LetterPosition(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot <= nameStart) return path.size();
    return dot;
}

}  // namespace

std::string ExportFirstPath(const std::string& chosen, int year, int month, int day) {
    const std::size_t slash = chosen.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    char date[32];
    std::snprintf(date, sizeof date, "%d%02d%02d_", year, month, day);
    return chosen.substr(0, nameStart) + "젤로네바둑" + date + chosen.substr(nameStart);
}

std::string NextExportPath(const std::string& path, const std::string& letter) {
    std::string next = path;
    next.insert(LetterPosition(path), letter);
    return next;
}

std::string TakeExportLetter() {
    const std::string letter = Utf8(g_nextLetter);
    ++g_nextLetter;
    // Control characters have no place in a file name.
    if (g_nextLetter == 0x7F) g_nextLetter = 0xA1;
    return letter;
}

void ResetExportLetters() {
    g_nextLetter = U'a';
}

ExportResult ExportEachPage(PageRequest request, int pages, const std::string& firstPath,
                            const PageWriter& write) {
    ExportResult result;
    request.width = kExportPageWidth;
    request.height = kExportPageHeight;
    request.output = PageOutput::kPicture;
    PlanCommentary(request);
    if (PrintsCommentary(request)) pages = PrintedPageCount(request);
    request.pages = pages;
    std::string path = firstPath;
    for (int page = 1; page <= pages; ++page) {
        result.error = write(request, page, path);
        if (!result.error.empty()) return result;
        result.written.push_back(path);
        path = NextExportPath(path, TakeExportLetter());
    }
    return result;
}

ExportResult ExportPages(PageRequest request, int pages, const std::string& firstPath) {
    QImage surface(kExportPageWidth, kExportPageHeight, QImage::Format_RGB32);
    if (surface.isNull()) return ExportResult{{}, "그림을 그릴 바탕을 만들지 못했습니다: 메모리가 부족합니다."};
    return ExportEachPage(request, pages, firstPath,
                          [&](const PageRequest& setUp, int page, const std::string& path) {
        {
            QPainter painter(&surface);
            ComposePage(painter, setUp, page);
        }
        const std::vector<char> bytes = EncodeBmp24(surface);
        if (bytes.empty()) return std::string("그림을 BMP로 만들지 못했습니다: 메모리가 부족합니다.");
        std::ofstream file(path, std::ios::binary);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        file.close();
        return file ? std::string() : ExportWriteFailure(path);
    });
}

std::string ExportWriteFailure(const std::string& path) {
    return "그림 파일을 저장하지 못했습니다: " + WriteFailureReason(path) + ".\n" + path;
}

}  // namespace velmora
