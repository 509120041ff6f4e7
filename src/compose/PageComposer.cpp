#include "compose/PageComposer.h"

#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <memory>

#include "compose/DiagramComposer.h"
#include "platform/Fonts.h"

namespace velmora {

int DiagramsPerPage(const PrintSettings& s) {
    return s.kind == 203 ? s.perPage : 1;
}

std::string SettingsError(const PrintSettings& s) {
    if (s.kind == 202 && (s.second < s.first || s.third < 0)) return kDiagramRangeMessage;
    if (s.kind != 203) return {};
    if (s.movesPerDiagram < 1) return "한 기보도의 수는 1 이상이어야 합니다.";
    if (s.perPage < 1) return "한 장에 넣을 기보도는 1개 이상이어야 합니다.";
    return {};
}

int PageCount(const PrintSettings& s, int totalMoves) {
    if (s.kind != 203 || totalMoves <= 0 || !SettingsError(s).empty()) return 1;
    const long long perPage = static_cast<long long>(s.perPage) * s.movesPerDiagram;
    const long long pages = (totalMoves + perPage - 1) / perPage;
    return pages < 1 ? 1 : static_cast<int>(pages);
}

DiagramValues DiagramValuesAt(const PrintSettings& s, int index, int page) {
    if (s.kind != 203) return {s.kind, s.first, s.second, s.third};
    // Past the end of any record a diagram is an empty board, so huge values are capped
    // instead of overflowing.
    constexpr long long kCap = 1 << 30;
    const long long first = std::min<long long>(
        kCap, static_cast<long long>(s.movesPerDiagram) * (index + 1LL * s.perPage * (page - 1)));
    const long long last = std::min<long long>(kCap, first + s.movesPerDiagram);
    return {203, static_cast<int>(first), static_cast<int>(last), 0};
}

QRect DiagramSlot(int W, int Hp, int perPage, int index, PageOutput output) {
    const int U = Hp / 10;
    const int topRow = U * 3 / 2;
    const int secondRow = output == PageOutput::kPicture ? U * 52 / 10 : U * 11 / 2;
    const int half = 2 * (W / 4);
    int x = 2 * (W / 20);
    int y = topRow;
    int s = W - 4 * (W / 20);
    if (perPage == 2) {
        x = W / 4;
        s = half;
        y = index % 2 == 0 ? topRow : secondRow;
    } else if (perPage == 4) {
        x = index % 2 == 0 ? 0 : half;
        s = half;
        y = index < 2 ? topRow : secondRow;
    }
    return {x, y, s, DiagramHeight(s, output)};
}

int DiagramHeight(int s, PageOutput output) {
    return s + (output == PageOutput::kPicture ? 4 : 3) * (s / 21);
}

DiagramPainter BoardDiagramPainter(const BoardLogic& board, const std::string& komiHandicap) {
    // The record is read once; every diagram of every page plans from the same copy.
    auto source =
        std::make_shared<const DiagramSource>(DiagramSourceFromBoard(board, komiHandicap));
    return [source](QPainter& painter, int width, const DiagramValues& v, PageOutput output) {
        DiagramRequest request;
        request.kind = v.kind;
        request.first = v.first;
        request.last = v.second;
        request.third = v.third;
        request.width = width;
        request.pens =
            output == PageOutput::kPicture ? DiagramPens::ExportPage : DiagramPens::Print;
        const QRectF target(0, 0, width, width + 3 * (width / 21));
        return ComposeDiagram(painter, target, *source, request) != 0;
    };
}

std::string FooterSlogan() {
    return "젤로네바둑과 함께 즐거운 바둑 공부를!  baduk.velmora.example";
}

void ComposeHeader(QPainter& painter, int W, int Hp, const PageTexts& texts) {
    const int G = W / 21;
    const int U = Hp / 10;
    const int h = (U * 3 / 2 - G) / 5;
    painter.save();
    painter.setClipRect(0, 0, W, U * 3 / 2);
    painter.fillRect(0, 0, W, U * 3 / 2, Qt::white);
    painter.setPen(QPen(Qt::black, 1));
    for (int k = 0; k <= 4; ++k) painter.drawLine(G, G + k * h, W - G, G + k * h);
    for (int x : {G, W / 2, W - G}) painter.drawLine(x, G, x, G + 4 * h);

    // A fixed-pitch face keeps the colons of the two columns under one another.
    painter.setFont(CellSizedFont("돋움체", 6 * (G / 15), 3 * (G / 15)));
    static const char* const kLabels[8] = {
        " 대 국 명 : ", " 대국장소 : ", " 대국날짜 : ", " 제한시간 : ",
        " 흑대국자 : ", " 백대국자 : ", " 덤/치수  : ", " 대국결과 : "};
    for (int i = 0; i < 8; ++i) {
        const int row = i % 4;
        const int left = i < 4 ? G : W / 2;
        const int right = i < 4 ? W / 2 : W - G;
        const QRect cell(left, G + row * h, right - left, h);
        painter.save();
        painter.setClipRect(cell, Qt::IntersectClip);
        painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         QString::fromStdString(kLabels[i] + texts[i]));
        painter.restore();
    }
    painter.restore();
}

void ComposeFooter(QPainter& painter, int W, int Hp, PageOutput output) {
    const int G = W / 21;
    const int U = Hp / 10;
    painter.save();
    painter.setClipRect(0, 0, W, U / 2);
    painter.fillRect(0, 0, W, U / 2, Qt::white);
    // The rule is centred on the block's top edge, so half of its width shows.
    painter.setPen(
        QPen(Qt::black, output == PageOutput::kPrint ? 15 : 5, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(G / 2, 0, W - G / 2, 0);
    painter.setPen(Qt::black);
    painter.setFont(CellSizedFont("돋움체", 6 * (G / 16), 3 * (G / 16)));
    painter.drawText(QRect(0, 0, W - G, G), Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                     QString::fromStdString(FooterSlogan()));
    painter.restore();
}

void ComposePage(QPainter& painter, const PageRequest& request, int page) {
    const int W = request.width;
    const int Hp = request.height;
    const int U = Hp / 10;
    painter.fillRect(0, 0, W, Hp, Qt::white);
    ComposeHeader(painter, W, Hp, request.texts);

    const int perPage = DiagramsPerPage(request.settings);
    for (int i = 0; i < perPage && request.diagram; ++i) {
        const QRect slot = DiagramSlot(W, Hp, perPage, i, request.output);
        const DiagramValues values = DiagramValuesAt(request.settings, i, page);
        painter.save();
        painter.translate(slot.topLeft());
        if (request.output == PageOutput::kPicture) {
            // Pictures draw the diagram at its slot width, pixel for pixel.
            painter.setClipRect(0, 0, slot.width(), slot.height());
            request.diagram(painter, slot.width(), values, request.output);
        } else {
            // Printing composes at page width and scales into the slot; the painter keeps
            // the scaled drawing in vectors.
            const int full = DiagramHeight(W, PageOutput::kPrint);
            painter.scale(double(slot.width()) / W, double(slot.height()) / full);
            painter.setClipRect(0, 0, W, full);
            request.diagram(painter, W, values, request.output);
        }
        painter.restore();
    }

    painter.save();
    painter.translate(0, Hp - U / 2);
    ComposeFooter(painter, W, Hp, request.output);
    painter.restore();
}

PrintOutcome PrintPages(QPagedPaintDevice& device, PageRequest request, int pages) {
    QPainter painter;
    if (!painter.begin(&device)) return PrintOutcome::kNoDevice;
    auto* printer = dynamic_cast<QPrinter*>(&device);
    const int R = device.width();
    const int S = device.height();
    request.width = R / 2;
    request.height = S / 2;
    request.output = PageOutput::kPrint;
    if (request.width < 21 || request.height < 10) {
        painter.end();
        return PrintOutcome::kNoDevice;
    }
    for (int page = 1; page <= pages; ++page) {
        if (page > 1 && !device.newPage()) {
            if (printer) printer->abort();
            painter.end();
            return PrintOutcome::kPageFailed;
        }
        painter.save();
        painter.scale(double(R) / request.width, double(S) / request.height);
        ComposePage(painter, request, page);
        painter.restore();
    }
    return painter.end() ? PrintOutcome::kPrinted : PrintOutcome::kPageFailed;
}

}  // namespace velmora
