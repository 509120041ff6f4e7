#pragma once

#include <functional>
#include <string>
#include <vector>

#include "compose/PageComposer.h"

namespace velmora {

// Size of an exported page in pixels.
constexpr int kExportPageWidth = 1500;
constexpr int kExportPageHeight = 2130;

// The path of the first exported page for the chosen path: its file name t becomes
// "젤로네바둑YYYYMMDD_t" with the local date, in the same folder.
std::string ExportFirstPath(const std::string& chosen, int year, int month, int day);
// The path of the page after path: `letter` (UTF-8) goes before the file name's extension, or
// at its end without one, so game.BMP → gamea.BMP → gameab.BMP and game → gamea.
std::string NextExportPath(const std::string& path, const std::string& letter);
// The next export letter of this run: "a", "b", … (printable characters only), never reset.
std::string TakeExportLetter();
// Starts the run's export letters again at "a" (tests).
void ResetExportLetters();

// What an export did: pages written (with their paths), or the message of the failure that
// stopped it (pages already written stay).
struct ExportResult {
    std::vector<std::string> written;
    std::string error;
    bool ok() const { return error.empty(); }
};

// Draws `pages` pages of request (its size, output and page count are set here; with
// commentary, the pages it fills) at 1500 × 2130 and writes each as a BMP file, the first at firstPath and the others under
// NextExportPath.
ExportResult ExportPages(PageRequest request, int pages, const std::string& firstPath);

// The page loop of every export: request set up as ExportPages sets it, then write(request,
// page, path) for each page in turn, its path named as ExportPages names them → "" when the
// page was written, else the failure's message, which stops the export.
using PageWriter =
    std::function<std::string(const PageRequest& request, int page, const std::string& path)>;
ExportResult ExportEachPage(PageRequest request, int pages, const std::string& firstPath,
                            const PageWriter& write);
// The message of a page that could not be written at path: why, then the path on a line of
// its own.
std::string ExportWriteFailure(const std::string& path);

}  // namespace velmora
