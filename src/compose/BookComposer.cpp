#include "compose/BookComposer.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include "game/BoardLogic.h"
#include "game/SgfFile.h"
#include "platform/Fonts.h"
#include "record/InfoTexts.h"

namespace velmora {

bool ReadBookRecord(const std::string& path, BookRecord& record, std::string& why) {
    BoardLogic board;
    SgfFile file;
    file.SetBoard(&board);
    const SgfReadResult result = file.Open(path, 1);
    if (!result.ok) {
        why = result.message;
        return false;
    }
    // A text that ends inside a variation leaves that diagram open; a book prints the main line.
    board.SetBoardMode(kModeView);
    if (board.DiagramBase() >= 0) board.LeaveDiagram();
    record.name = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
    record.request = RecordPageRequest(board, file.Info());
    return true;
}

int ContentsPageCount(int records) {
    return records <= 0 ? 1 : (records + kContentsLinesPerPage - 1) / kContentsLinesPerPage;
}

int BookFirstPage(const std::vector<BookRecord>& records, int index) {
    int page = ContentsPageCount(static_cast<int>(records.size())) + 1;
    for (int i = 0; i < index && i < static_cast<int>(records.size()); ++i)
        page += records[i].pages;
    return page;
}

int BookPageCount(const std::vector<BookRecord>& records) {
    return BookFirstPage(records, static_cast<int>(records.size())) - 1;
}

void ComposeContents(QPainter& painter, int W, int Hp, const std::vector<BookRecord>& records,
                     int page) {
    const int G = W / 21;
    const int U = Hp / 10;
    const int line = (U * 8) / kContentsLinesPerPage;
    painter.save();
    painter.fillRect(0, 0, W, Hp, Qt::white);
    painter.setPen(Qt::black);
    painter.setFont(CellSizedFont("돋움체", G, G / 2, 700));
    painter.drawText(QRect(G, 0, W - 2 * G, U), Qt::AlignCenter | Qt::TextSingleLine,
                     QStringLiteral("차  례"));
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(G, U, W - G, U);

    const QFont font = CellSizedFont("돋움체", line * 3 / 5, line * 3 / 10);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    // Three columns: the number and the file's name, the players, the first page.
    const int nameLeft = G;
    const int playersLeft = W * 19 / 50;
    const int pageLeft = W - 3 * G;
    const int first = (page - 1) * kContentsLinesPerPage;
    const int count = static_cast<int>(records.size());
    for (int i = first; i < count && i < first + kContentsLinesPerPage; ++i) {
        const BookRecord& r = records[i];
        const int top = U * 3 / 2 + (i - first) * line;
        const auto cell = [&](int left, int right, const QString& text, int align) {
            const QRect box(left, top, right - left, line);
            painter.drawText(box, align | Qt::AlignVCenter | Qt::TextSingleLine,
                             metrics.elidedText(text, Qt::ElideMiddle, box.width()));
        };
        cell(nameLeft, playersLeft - G / 2,
             QString::number(i + 1) + QStringLiteral(". ") + QString::fromStdString(r.name),
             Qt::AlignLeft);
        const std::string& black = r.request.texts[kPrintBlackPlayer];
        const std::string& white = r.request.texts[kPrintWhitePlayer];
        cell(playersLeft, pageLeft - G / 2,
             QStringLiteral("흑 ") + QString::fromStdString(black.empty() ? "-" : black) +
                 QStringLiteral("  백 ") + QString::fromStdString(white.empty() ? "-" : white),
             Qt::AlignLeft);
        cell(pageLeft, W - G, QString::number(BookFirstPage(records, i)) + QStringLiteral("쪽"),
             Qt::AlignRight);
    }
    painter.restore();
}

PrintOutcome PrintBook(QPagedPaintDevice& device, const std::vector<BookRecord>& given,
                       const BookProgress& progress) {
    QPainter painter;
    if (!painter.begin(&device)) return PrintOutcome::kNoDevice;
    auto* printer = dynamic_cast<QPrinter*>(&device);
    const int R = device.width();
    const int S = device.height();
    const int W = R / 2;
    const int Hp = S / 2;
    if (W < 21 || Hp < 10) {
        painter.end();
        return PrintOutcome::kNoDevice;
    }
    // A record printed with its commentary fills as many pages as its flow needs at this size.
    std::vector<BookRecord> records = given;
    for (BookRecord& record : records) {
        if (!PrintsCommentary(record.request)) continue;
        record.request.width = W;
        record.request.height = Hp;
        record.request.output = PageOutput::kPrint;
        PlanCommentary(record.request);
        record.pages = PrintedPageCount(record.request);
    }
    bool started = false;
    // Starts the next page of the document (the first is open already) → false when it fails.
    const auto nextPage = [&] {
        if (started && !device.newPage()) return false;
        started = true;
        return true;
    };
    const auto fail = [&] {
        if (printer) printer->abort();
        painter.end();
        return PrintOutcome::kPageFailed;
    };
    const int contents = ContentsPageCount(static_cast<int>(records.size()));
    for (int page = 1; page <= contents; ++page) {
        if (!nextPage()) return fail();
        painter.save();
        painter.scale(double(R) / W, double(S) / Hp);
        ComposeContents(painter, W, Hp, records, page);
        painter.restore();
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (progress && !progress(static_cast<int>(i))) return fail();
        PageRequest request = records[i].request;
        request.width = W;
        request.height = Hp;
        request.output = PageOutput::kPrint;
        // Each record's pages are numbered as its own print numbers them.
        request.pages = records[i].pages;
        for (int page = 1; page <= records[i].pages; ++page) {
            if (!nextPage()) return fail();
            painter.save();
            painter.scale(double(R) / W, double(S) / Hp);
            ComposePage(painter, request, page);
            painter.restore();
        }
    }
    return painter.end() ? PrintOutcome::kPrinted : PrintOutcome::kPageFailed;
}

}  // namespace velmora
