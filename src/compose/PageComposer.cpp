#include "compose/PageComposer.h"

#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <memory>

#include "compose/CommentaryComposer.h"
#include "compose/DiagramComposer.h"
#include "game/BoardLogic.h"
#include "platform/Fonts.h"
#include "record/InfoTexts.h"

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
    if (s.kind != 203)
        return {s.kind, s.first, s.second, s.third, s.coordinates, s.restartNumbers};
    // Past the end of any record a diagram is an empty board, so huge values are capped
    // instead of overflowing.
    constexpr long long kCap = 1 << 30;
    const long long first = std::min<long long>(
        kCap, static_cast<long long>(s.movesPerDiagram) * (index + 1LL * s.perPage * (page - 1)));
    const long long last = std::min<long long>(kCap, first + s.movesPerDiagram);
    return {203, static_cast<int>(first), static_cast<int>(last), 0, s.coordinates,
            s.restartNumbers};
}

namespace {

// The widest diagram whose height is at most h.
int WidthForHeight(int h, PageOutput output) {
    if (h <= 0) return 0;
    int s = h * 21 / (output == PageOutput::kPicture ? 25 : 24) + 2;
    while (s > 0 && DiagramHeight(s, output) > h) --s;
    return s;
}

}  // namespace

PageLayout LayOutPage(int W, int Hp, int perPage, PageOutput output) {
    PageLayout layout;
    const int U = Hp / 10;
    layout.header = QRect(0, 0, W, U * 3 / 2);
    layout.footer = QRect(0, Hp - U / 2, W, U / 2);
    const int n = std::clamp(perPage, 1, 16);
    const int top = layout.header.bottom() + 1;
    const int room = layout.footer.top() - top;
    // Room between diagrams, and above the footer's rule (half of it shows above the footer).
    const int gap = std::max(std::min(W, Hp) / 60, 1);
    // A single diagram keeps a tenth of the width free on either side.
    const int widest = n == 1 ? W - 4 * (W / 20) : W;
    int best = -1, columns = 1;
    // Upright pages try few columns first, landscape pages many: a grid tried later must give
    // clearly larger diagrams to be taken.
    const bool upright = W <= Hp;
    for (int k = 1; k <= n; ++k) {
        const int c = upright ? k : n + 1 - k;
        const int r = (n + c - 1) / c;
        if (c > 1 && (c - 1) * r >= n) continue;  // a column would stay empty
        const int byWidth = std::min(widest, (W - (c - 1) * gap) / c);
        const int byHeight = WidthForHeight((room - r * gap) / r, output);
        const int s = std::max(std::min(byWidth, byHeight), 0);
        if (s > best + best / 10) {
            best = s;
            columns = c;
        }
    }
    const int s = best;
    const int h = DiagramHeight(s, output);
    const int left = (W - columns * s - (columns - 1) * gap) / 2;
    for (int i = 0; i < n; ++i) {
        const int column = i % columns;
        const int row = i / columns;
        layout.diagrams.push_back(QRect(left + column * (s + gap), top + row * (h + gap), s, h));
    }
    return layout;
}

QRect DiagramSlot(int W, int Hp, int perPage, int index, PageOutput output) {
    const PageLayout layout = LayOutPage(W, Hp, perPage, output);
    return layout.diagrams[std::min<std::size_t>(std::max(index, 0), layout.diagrams.size() - 1)];
}

int DiagramHeight(int s, PageOutput output) {
    return s + (output == PageOutput::kPicture ? 4 : 3) * (s / 21);
}

int WidthForDiagramHeight(int h, PageOutput output) {
    return WidthForHeight(h, output);
}

namespace {

// The composer's request for a diagram of a page, width wide, with the pens of output.
DiagramRequest RequestOf(const DiagramValues& v, int width, PageOutput output) {
    DiagramRequest request;
    request.kind = v.kind;
    request.first = v.first;
    request.last = v.second;
    request.third = v.third;
    request.coordinates = v.coordinates;
    request.restartNumbers = v.restartNumbers;
    request.width = width;
    request.pens = output == PageOutput::kPicture ? DiagramPens::ExportPage : DiagramPens::Print;
    return request;
}

}  // namespace

std::shared_ptr<const DiagramSource> BoardPrintSource(const BoardLogic& board,
                                                      const std::string& komiHandicap) {
    return std::make_shared<const DiagramSource>(DiagramSourceFromBoard(board, komiHandicap));
}

PageRequest RecordPageRequest(const BoardLogic& board, const GameInfo& info) {
    PageRequest request;
    request.texts = MakePrintTexts(info);
    request.source = BoardPrintSource(board, request.texts[kPrintKomiHandicap]);
    request.diagram = SourceDiagramPainter(request.source);
    request.totalMoves = board.Record().MainLineLength();
    return request;
}

DiagramPainter BoardDiagramPainter(const BoardLogic& board, const std::string& komiHandicap) {
    // The record is read once; every diagram of every page plans from the same copy.
    return SourceDiagramPainter(BoardPrintSource(board, komiHandicap));
}

DiagramPainter SourceDiagramPainter(std::shared_ptr<const DiagramSource> source) {
    return [source](QPainter& painter, int width, const DiagramValues& v, PageOutput output) {
        const DiagramRequest request = RequestOf(v, width, output);
        const QRectF target(0, 0, width, width + 3 * (width / 21));
        return ComposeDiagram(painter, target, *source, request) != 0;
    };
}

std::string FooterSlogan() {
    return "젤로네바둑과 함께 즐거운 바둑 공부를!  baduk.velmora.example";
}

void ComposeHeader(QPainter& painter, int W, int Hp, const PageTexts& texts) {
    // The shorter side sets the unit, so that a landscape page's rows still hold their text.
    const int G = std::min(W, Hp) / 21;
    const int U = Hp / 10;
    const int h = (U * 3 / 2 - G) / 5;
    painter.save();
    painter.setClipRect(0, 0, W, U * 3 / 2);
    painter.fillRect(0, 0, W, U * 3 / 2, Qt::white);
    painter.setPen(QPen(Qt::black, 1));
    for (int k = 0; k <= 4; ++k) painter.drawLine(G, G + k * h, W - G, G + k * h);
    for (int x : {G, W / 2, W - G}) painter.drawLine(x, G, x, G + 4 * h);

    // A fixed-pitch face keeps the colons of the two columns under one another.
    // The text fits its row with room above and below (landscape rows are low).
    const int text = std::min(6 * (G / 15), 2 * h / 3);
    painter.setFont(CellSizedFont("돋움체", text, text / 2));
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

std::string PageNumberText(int page, int pages) {
    return std::to_string(page) + " / " + std::to_string(pages);
}

void ComposeFooter(QPainter& painter, int W, int Hp, PageOutput output, int page, int pages) {
    const int G = std::min(W, Hp) / 21;
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
    const QRect line(G, 0, W - 2 * G, std::min(G, U / 2));
    painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                     QString::fromStdString(FooterSlogan()));
    if (pages > 0)
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         QString::fromStdString(PageNumberText(page, pages)));
    painter.restore();
}

std::vector<DiagramValues> DiagramsOnPage(const PageRequest& request, int page) {
    std::vector<DiagramValues> shown;
    const int perPage = DiagramsPerPage(request.settings);
    for (int i = 0; i < perPage; ++i) {
        const DiagramValues values = DiagramValuesAt(request.settings, i, page);
        // Past the record's end a split diagram would be an empty board.
        if (values.kind == 203 && request.totalMoves >= 0 && values.first >= request.totalMoves &&
            !(page == 1 && i == 0))
            break;
        shown.push_back(values);
    }
    return shown;
}

static QTransform DiagramTransform(const PageRequest& request, const QRect& slot) {
    QTransform t = QTransform::fromTranslate(slot.left(), slot.top());
    if (request.output == PageOutput::kPrint) {
        const int W = request.width;
        t.scale(double(slot.width()) / W, double(slot.height()) / DiagramHeight(W, PageOutput::kPrint));
    }
    return t;
}

bool PrintsCommentary(const PageRequest& request) {
    return request.settings.commentary && request.source != nullptr;
}

void PlanCommentary(PageRequest& request) {
    request.commentaryPages.reset();
    if (PrintsCommentary(request))
        request.commentaryPages = std::make_shared<const std::vector<CommentaryPage>>(
            PlanCommentaryPages(request, *request.source));
}

int PrintedPageCount(const PageRequest& request) {
    if (!PrintsCommentary(request)) return PageCount(request.settings, request.totalMoves);
    if (request.commentaryPages) return std::max<int>(1, request.commentaryPages->size());
    return std::max<int>(1, PlanCommentaryPages(request, *request.source).size());
}

void DrawDiagramInSlot(QPainter& painter, const PageRequest& request, const QRect& slot,
                       const DiagramValues& values) {
    painter.save();
    painter.setTransform(DiagramTransform(request, slot), true);
    if (request.output == PageOutput::kPicture) {
        // Pictures draw the diagram at its slot width, pixel for pixel.
        painter.setClipRect(0, 0, slot.width(), slot.height());
        request.diagram(painter, slot.width(), values, request.output);
    } else {
        // Printing composes at page width and scales into the slot; the painter keeps
        // the scaled drawing in vectors.
        const int W = request.width;
        painter.setClipRect(0, 0, W, DiagramHeight(W, PageOutput::kPrint));
        request.diagram(painter, W, values, request.output);
    }
    painter.restore();
}

void ComposePage(QPainter& painter, const PageRequest& request, int page) {
    if (PrintsCommentary(request)) {
        ComposeCommentaryPage(painter, request, *request.source,
                              request.commentaryPages
                                  ? *request.commentaryPages
                                  : PlanCommentaryPages(request, *request.source),
                              page);
        return;
    }
    const int W = request.width;
    const int Hp = request.height;
    const PageLayout layout =
        LayOutPage(W, Hp, DiagramsPerPage(request.settings), request.output);
    painter.fillRect(0, 0, W, Hp, Qt::white);
    ComposeHeader(painter, W, Hp, request.texts);

    const std::vector<DiagramValues> shown =
        request.diagram ? DiagramsOnPage(request, page) : std::vector<DiagramValues>{};
    for (std::size_t i = 0; i < shown.size(); ++i)
        DrawDiagramInSlot(painter, request, layout.diagrams[i], shown[i]);

    painter.save();
    painter.translate(layout.footer.topLeft());
    ComposeFooter(painter, W, Hp, request.output, page, request.pages);
    painter.restore();
}

std::vector<ComposedBox> ComposedBoxes(const PageRequest& request, int page,
                                       const DiagramSource& source) {
    const PageLayout layout =
        LayOutPage(request.width, request.height, DiagramsPerPage(request.settings), request.output);
    std::vector<ComposedBox> boxes{{"header", layout.header}, {"footer", layout.footer}};
    if (request.settings.commentary) return CommentaryBoxes(request, source, page);
    const std::vector<DiagramValues> shown = DiagramsOnPage(request, page);
    for (std::size_t i = 0; i < shown.size(); ++i)
        AppendDiagramBoxes(boxes, request, layout.diagrams[i], shown[i], source,
                           static_cast<int>(i) + 1);
    return boxes;
}

void AppendDiagramBoxes(std::vector<ComposedBox>& boxes, const PageRequest& request,
                        const QRect& slot, const DiagramValues& values,
                        const DiagramSource& source, int index) {
    const DiagramRequest d = RequestOf(
        values, request.output == PageOutput::kPicture ? slot.width() : request.width,
        request.output);
    const DiagramPlan plan = PlanDiagram(source, d);
    if (plan.refused) return;
    const QTransform t = DiagramTransform(request, slot);
    // The plan's W × Height() picture fills the slot's width.
    const QRectF drawn(0, 0, d.width, d.width + 3 * (d.width / 21));
    const double fit = drawn.width() / plan.width;
    const auto place = [&](const QRectF& r) {
        return t.mapRect(QRectF(r.topLeft() * fit, r.size() * fit));
    };
    const int G = plan.cell;
    const int L = plan.textUnit;
    const std::string n = std::to_string(index);
    boxes.push_back({"diagram " + n, QRectF(slot)});
    if (!plan.caption.empty())
        boxes.push_back({"caption " + n, place(QRectF(G, 0, 6 * L, G))});
    boxes.push_back({"board " + n, place(plan.BoardBox())});
    QRectF list;
    for (const PlannedListItem& item : plan.list) list |= plan.ListBox(item);
    if (!list.isEmpty()) boxes.push_back({"list " + n, place(list)});
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
    PlanCommentary(request);
    if (PrintsCommentary(request)) pages = PrintedPageCount(request);
    request.pages = pages;
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

bool PaperSizeByName(const std::string& name, QPageSize& size) {
    const QString n = QString::fromStdString(name).toUpper();
    if (n == "A4")
        size = QPageSize(QPageSize::A4);
    else if (n == "LETTER")
        size = QPageSize(QPageSize::Letter);
    else if (n == "B5")
        size = QPageSize(QPageSize::JisB5);
    else
        return false;
    return true;
}

QPageLayout PrintPageLayout(const QPageSize& size, bool landscape) {
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(8, 8, 8, 8), QPageLayout::Millimeter);
}

}  // namespace velmora
