#pragma once

#include <functional>
#include <string>
#include <vector>

#include "compose/PageComposer.h"

class QPagedPaintDevice;
class QPainter;

namespace velmora {

// One record of a book: the name it is listed under and its pages, as one print of it.
struct BookRecord {
    std::string name;     // the file's name
    PageRequest request;  // its settings, header texts and diagrams (size and output set later)
    int pages = 1;        // its printed pages
};

// Reads the first game of the record file at path as a book prints it: named by its file name,
// its header texts, its main line's length and its diagrams (the record as it ends); the
// settings and pages are for the caller to set → false, with the reader's message in why,
// when it cannot be read.
bool ReadBookRecord(const std::string& path, BookRecord& record, std::string& why);

// Records named on one contents page.
constexpr int kContentsLinesPerPage = 24;

// Pages of the contents for `records` records: at least one.
int ContentsPageCount(int records);
// The book's page (1-based, contents first) on which record `index` (0-based) starts.
int BookFirstPage(const std::vector<BookRecord>& records, int index);
// Pages of the whole book: its contents and every record's pages.
int BookPageCount(const std::vector<BookRecord>& records);

// Draws contents page `page` (1-based) of records onto painter in W × Hp units: a title, then
// for each record its number, file name, players and the page it starts on.
void ComposeContents(QPainter& painter, int W, int Hp, const std::vector<BookRecord>& records,
                     int page);

// Told before record `index` (0-based) is printed → false stops the book (cancelled).
using BookProgress = std::function<bool(int index)>;

// Prints the book on device as PrintPages prints one record (pages composed at half the
// device's size and drawn over the whole page): the contents, then every record's pages (a
// record printed with its commentary: the pages it fills at that size).
// A stop asked by progress leaves a printer's job aborted → kPageFailed.
PrintOutcome PrintBook(QPagedPaintDevice& device, const std::vector<BookRecord>& records,
                       const BookProgress& progress = {});

}  // namespace velmora
