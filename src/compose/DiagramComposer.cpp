#include "compose/DiagramComposer.h"

#include <QCoreApplication>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <map>

#include "game/BoardLogic.h"
#include "platform/Fonts.h"
#include "platform/Prompter.h"
#include "record/BoardLines.h"
#include "record/RulesEngine.h"
#include "record/SgfHandicap.h"

namespace velmora {

namespace {

// Point-indexed tables hold the largest board.
constexpr int kLines = kMaxBoardSize;
// How small the list of moves may be drawn; no record comes near it.
constexpr double kSmallestListScale = 0.01;

// The handicap stones named by "komi/handicap": the single character after the first "/" read
// as a count; 2..9 give the handicap table's points of a board of size lines, anything else none.
std::vector<DiagramStone> HandicapFromText(const std::string& text, int size) {
    std::vector<DiagramStone> stones;
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos || slash + 1 >= text.size()) return stones;
    const unsigned char c = static_cast<unsigned char>(text[slash + 1]);
    if (!std::isdigit(c)) return stones;
    for (const GridPoint& p : HandicapTable(c - '0', size)) stones.push_back({p.x, p.y, kBlack});
    return stones;
}

std::string Caption(int from, int to) {
    char text[64];
    std::snprintf(text, sizeof text, "%d수 ~ %d수", from, to);
    return text;
}

// The labels group heads of a split diagram get, in order of appearance.
std::string HeadLabel(int index) {
    if (index < 26) return std::string(1, static_cast<char>('A' + index));
    if (index < 52) return std::string(1, static_cast<char>('a' + index - 26));
    return {};  // past z the head keeps its move number
}

std::string MarkText(const NaviStone& mark) {
    switch (mark.kind) {
        case kNaviLabelSyllable:
        case kNaviLabelCapital:
        case kNaviLabelSmall:
        case kNaviLabelDigit:
            return mark.text;
        case kNaviTriangle:
            return "△";
        case kNaviSquare:
            return "□";
        case kNaviCircle:
            return "○";
        case kNaviCross:
            return "X";
        default:
            return {};
    }
}

// The fonts of a diagram of cell unit G, all on the face "Arial" (height, average width,
// weight as the diagram describes them).
struct DiagramFonts {
    QFont units;     // move numbers 1–9, and the caption
    QFont tens;      // 10–99
    QFont hundreds;  // from 100
    QFont board;     // the default face while the board is drawn (marks)
    QFont list;      // the list below the board

    const QFont& ForMove(int move) const {
        return move >= 100 ? hundreds : move >= 10 ? tens : units;
    }
};

const DiagramFonts& FontsFor(int g) {
    // Sizing a font probes its metrics; a page composes several diagrams of one size. The
    // fonts belong to the application that made them (the command line may make several).
    static std::map<int, DiagramFonts> cache;
    if (cache.empty())
        if (QCoreApplication* app = QCoreApplication::instance())
            QObject::connect(app, &QObject::destroyed, [] { cache.clear(); });
    auto it = cache.find(g);
    if (it != cache.end()) return it->second;
    const int e = g / 8;
    const int s = g / 16;
    DiagramFonts f;
    f.units = CellSizedFont("Arial", 6 * e, static_cast<int>(3.5 * e), 400);
    f.tens = CellSizedFont("Arial", 5 * e, static_cast<int>(0.375 * g), 300);
    f.hundreds = CellSizedFont("Arial", 5 * e, static_cast<int>(0.25 * g), 100);
    f.board = CellSizedFont("Arial", 4 * e, 2 * e, 400);
    f.list = CellSizedFont("Arial", 9 * s, 3 * s, 100);
    return cache.emplace(g, f).first->second;
}

void DrawStone(QPainter& p, const QRect& square, int colour, int penWidth) {
    const QColor fill = colour == kBlack ? Qt::black : Qt::white;
    p.setPen(QPen(Qt::black, penWidth));
    p.setBrush(fill);
    // The outline stays inside the square, as a stone's does on the board.
    const qreal inset = penWidth / 2.0;
    p.drawEllipse(QRectF(square).adjusted(inset, inset, -inset, -inset));
}

void DrawCentred(QPainter& p, const QRect& box, const std::string& text, const QFont& font,
                 const QColor& colour, int align = Qt::AlignCenter) {
    if (text.empty()) return;
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, align | Qt::TextSingleLine | Qt::TextDontClip, QString::fromStdString(text));
}

QColor TextOn(int stone) {
    return stone == kBlack ? Qt::white : Qt::black;
}

}  // namespace

DiagramSource DiagramSourceFromBoard(const BoardLogic& board, const std::string& komiHandicap) {
    DiagramSource source;
    source.moves = board.Record().MainLineMoves();
    source.currentMove = board.DisplayedMove();
    const int base = board.DiagramBase();
    if (base >= 0)
        for (int n = base + 1; n <= board.CurrentMove(); ++n)
            if (const auto move = board.BoardMove(n)) source.diagramMoves.push_back(*move);
    source.marks = board.Marks();
    source.komiHandicap = komiHandicap;
    source.size = board.BoardSize();
    for (const SetupStone& s : board.Record().StartPosition())
        source.setupStones.push_back(DiagramStone{s.x, s.y, s.colour});
    source.openingComment = board.Record().OpeningCommentary();
    for (const auto& [key, diagram] : board.Record().StoredDiagramMap())
        source.references.push_back(diagram);
    return source;
}

bool DiagramCoordinatesByName(const std::string& name, DiagramCoordinates& coordinates) {
    if (name == "usual")
        coordinates = DiagramCoordinates::kUsual;
    else if (name == "classic")
        coordinates = DiagramCoordinates::kClassic;
    else
        return false;
    return true;
}

std::string DiagramPlan::ColumnLabel(int x) const { return velmora::ColumnLabel(coordinates, x, lines); }

std::string DiagramPlan::RowLabel(int y) const { return velmora::RowLabel(coordinates, y, lines); }

DiagramPlan PlanDiagram(const DiagramSource& source, const DiagramRequest& request) {
    DiagramPlan plan;
    const int kind = request.kind >= kComposeWhole && request.kind <= kComposeSplit ? request.kind
                                                                                    : kComposeWhole;
    const int b = request.first;
    if (kind == kComposeRange && (request.last < b || request.third < 0)) {
        plan.refused = true;
        return plan;
    }
    const int N = IsBoardSize(source.size) ? source.size : kDefaultBoardSize;
    const int W = std::max(request.width, N + 2);
    const int G = W / (N + 2);
    // The caption and the list keep the text size of a 19×19 diagram of this width.
    const int L = std::max(W / 21, 1);
    plan.width = W;
    plan.cell = G;
    plan.lines = N;
    plan.textUnit = L;
    plan.coordinates = request.coordinates;
    plan.boardCell = G;
    plan.boardOrigin = QPoint(0, G);
    if (plan.coordinates != DiagramCoordinates::kNone) {
        // A cell's band of labels on every side: the board with its labels fills the room
        // between the caption's line and the list, centred across the picture.
        const int g = std::max((N + 1) * G / (N + 2), 1);
        plan.boardCell = g;
        plan.boardOrigin = QPoint((W - (N + 2) * g) / 2 + g / 2, G + g / 2);
    }
    plan.setup = source.setupStones.empty() ? HandicapFromText(source.komiHandicap, N)
                                            : source.setupStones;
    const auto onBoard = [N](int x, int y) { return OnBoard(x, y, N); };

    const int total = static_cast<int>(source.moves.size());
    int last = total;
    // The diagram shows the position after move start, and numbers moves start+1..last.
    int start = 0;
    switch (kind) {
        case kComposeCurrent:
            last = std::min(source.currentMove, total);
            break;
        case kComposeRange:
            start = std::max(b, 1) - 1;
            last = std::min(request.last, total);
            break;
        case kComposeSplit:
            if (b >= total) return plan;  // past the end: the empty board alone
            start = std::max(b, 0);
            last = std::min(request.last, total);
            break;
        default:
            break;
    }
    // A whole-record diagram names its range from 0; a range or split names the moves it holds.
    const bool ranged = kind == kComposeRange || kind == kComposeSplit;
    // What the diagram's own move numbers are lowered by.
    const int shift = ranged && request.restartNumbers ? start : 0;
    if (!ranged)
        plan.caption = Caption(0, last);
    else if (start < last)
        plan.caption = Caption(start + 1, last);

    // The stones standing at the diagram's start, then its moves in order. The first stone of
    // each point is the one drawn: a move on a point already used in the diagram is listed.
    struct Played {
        int x, y, colour, move, shown;
    };
    std::vector<Played> played;
    std::array<std::array<int, kLines + 1>, kLines + 1> setupAt{};  // the set-up stone's colour
    std::array<std::array<int, kLines + 1>, kLines + 1> stoneAt;  // plan.stones index, −1 none
    for (auto& row : stoneAt) row.fill(-1);
    if (start > 0) {
        // The position standing after move start: captured stones are gone, set-up stones too
        // once they are taken.
        RulesEngine rules;
        rules.SetBoardSize(N);
        for (const DiagramStone& s : plan.setup)
            if (onBoard(s.x, s.y) && rules.Grid().Get(s.x, s.y) == kEmpty)
                rules.PutStone(s.x, s.y, s.colour);
        for (auto it = source.moves.lower_bound(1); it != source.moves.end() && it->first <= start;
             ++it) {
            const MoveRecord& m = it->second;
            rules.SetColourToPlay(m.colour == kWhite ? kWhite : kBlack);
            if (IsPassMove(m)) rules.Pass();
            if (!PutsStone(m) || !onBoard(m.x, m.y)) continue;
            if (IsLegalMove(rules.PlayMove(m.x, m.y))) rules.SetPointNumber(m.x, m.y, it->first);
        }
        std::vector<DiagramStone> standing;
        for (const DiagramStone& s : plan.setup) {
            if (!onBoard(s.x, s.y) || setupAt[s.x][s.y] != 0) continue;
            if (rules.Grid().Get(s.x, s.y) != s.colour || rules.Grid().Number(s.x, s.y) != 0)
                continue;  // taken (and perhaps played on again) before the start
            setupAt[s.x][s.y] = s.colour;
            standing.push_back(s);
            played.push_back({s.x, s.y, s.colour, 0, 0});
        }
        plan.setup = std::move(standing);
        std::vector<Played> moved;
        for (int x = 1; x <= N; ++x)
            for (int y = 1; y <= N; ++y)
                if (const int colour = rules.Grid().Get(x, y);
                    colour != kEmpty && rules.Grid().Number(x, y) > 0)
                    moved.push_back({x, y, colour, rules.Grid().Number(x, y), 0});
        std::sort(moved.begin(), moved.end(),
                  [](const Played& a, const Played& c) { return a.move < c.move; });
        for (const Played& p : moved) {
            stoneAt[p.x][p.y] = static_cast<int>(plan.stones.size());
            plan.stones.push_back({p.x, p.y, p.colour, p.move, ""});
            played.push_back(p);
        }
    } else {
        for (const DiagramStone& s : plan.setup) {
            if (!onBoard(s.x, s.y) || setupAt[s.x][s.y] != 0) continue;
            setupAt[s.x][s.y] = s.colour;
            played.push_back({s.x, s.y, s.colour, 0, 0});
        }
    }
    std::vector<int> passes;  // the diagram's passes, listed after the points
    for (auto it = source.moves.upper_bound(start); it != source.moves.end() && it->first <= last;
         ++it) {
        const int j = it->first;
        const MoveRecord& m = it->second;
        if (IsPassMove(m)) passes.push_back(j);
        if (!PutsStone(m) || !onBoard(m.x, m.y)) continue;
        played.push_back({m.x, m.y, m.colour, j, j});
        if (stoneAt[m.x][m.y] >= 0 || setupAt[m.x][m.y] != 0) continue;
        stoneAt[m.x][m.y] = static_cast<int>(plan.stones.size());
        plan.stones.push_back({m.x, m.y, m.colour, j - shift, std::to_string(j - shift)});
    }

    if (kind == kComposeCurrent) {
        // The shown reference diagram's stones, plain, over the record's.
        std::array<std::array<int, kLines + 1>, kLines + 1> topColour = setupAt;
        for (const PlannedStone& s : plan.stones) topColour[s.x][s.y] = s.colour;
        for (const MoveRecord& m : source.diagramMoves) {
            if (!PutsStone(m) || !onBoard(m.x, m.y)) continue;
            plan.stones.push_back({m.x, m.y, m.colour, 0, ""});
            topColour[m.x][m.y] = m.colour;
        }
        for (const NaviStone& mark : source.marks) {
            const int x = mark.x + 1;
            const int y = mark.y + 1;
            if (!onBoard(x, y)) continue;
            const int stone = mark.underlay == kWhite || mark.underlay == kBlack ? mark.underlay
                                                                                 : topColour[x][y];
            plan.marks.push_back({x, y, stone, MarkText(mark)});
        }
    }

    // The list of moves on used points: each point played more than once, with its moves.
    // Its pieces are laid out below, once their number is known.
    std::array<std::array<std::vector<int>, kLines + 1>, kLines + 1> atPoint;
    for (int i = 0; i < static_cast<int>(played.size()); ++i)
        atPoint[played[i].x][played[i].y].push_back(i);
    const int h = 3 * L / 4;
    struct Piece {
        int width, colour;
        std::string text;
        bool name;  // a point's name: a group begins here
    };
    std::vector<Piece> pieces;
    int labels = 0;
    for (const Played& first : played) {
        std::vector<int>& group = atPoint[first.x][first.y];
        if (group.size() < 2) {
            group.clear();  // listed (or nothing to list)
            continue;
        }
        char name[16];
        std::snprintf(name, sizeof name, "%c%d: ", ColumnLetter(first.x, N), first.y);
        // With coordinates around the board, points are named by those labels.
        const std::string named = plan.coordinates == DiagramCoordinates::kNone
                                      ? std::string(name)
                                      : plan.ColumnLabel(first.x) + plan.RowLabel(first.y) + ": ";
        pieces.push_back({3 * L / 2, 0, named, true});
        for (std::size_t k = 0; k < group.size(); ++k) {
            const Played& m = played[group[k]];
            std::string text = std::to_string(m.shown > 0 ? m.shown - shift : m.move);
            if (k == 0 && m.move == 0) {
                // A set-up stone has no number: a letter on it ties it to the list.
                text = HeadLabel(labels++);
                std::erase(plan.setup, DiagramStone{m.x, m.y, m.colour});
                plan.stones.push_back({m.x, m.y, m.colour, 0, text});
            } else if (ranged && k == 0 && m.shown == 0) {
                // A stone standing at the start of a range shows no number on the board: a
                // letter ties it to the list instead (past z, its move number on the board).
                if (std::string label = HeadLabel(labels++); !label.empty()) text = label;
                plan.stones[stoneAt[m.x][m.y]].text = text;
            }
            pieces.push_back({h, m.colour, text, false});
            if (k == 0) pieces.push_back({L / 2, -1, "▶", false});
        }
        group.clear();
    }
    if (!passes.empty()) {
        pieces.push_back({3 * L / 2, 0, "패스: ", true});
        for (int j : passes)
            pieces.push_back({h, source.moves.at(j).colour, std::to_string(j - shift), false});
    }

    // Lines of pieces from (L, (N+2)G), wrapped before the right margin; a point's name goes
    // to the next line with its moves when they would not all fit after it (a group longer
    // than a line breaks between its moves). A list longer than the room below the board is
    // drawn smaller (listScale) with more pieces to a line, so that every move stays in the
    // picture; a list that fits keeps its size.
    const int top = (N + 2) * G;
    const auto layOut = [&](double scale) {
        plan.list.clear();
        const double right = L + (W - 2 * L) / scale;  // the right margin, in list units
        int x = L;
        int y = top;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const Piece& piece = pieces[i];
            if (piece.name && x > L) {
                int end = x;
                for (std::size_t k = i; k < pieces.size() && (k == i || !pieces[k].name); ++k)
                    end += pieces[k].width;
                if (end + L >= right) {
                    y += h;
                    x = L;
                }
            }
            plan.list.push_back({QRect(x, y, piece.width, h), piece.colour, piece.text});
            x += piece.width;
            if (x + L >= right && !piece.name) {
                y += h;
                x = L;
            }
        }
        const int bottom = plan.list.empty() ? top : plan.list.back().box.bottom() + 1;
        return top + (bottom - top) * scale <= plan.Height();
    };
    plan.listScale = 1.0;
    while (!layOut(plan.listScale) && plan.listScale > kSmallestListScale)
        plan.listScale *= 0.95;
    return plan;
}

void PaintDiagram(QPainter& painter, const QRectF& target, const DiagramPlan& plan,
                  DiagramPens pens) {
    if (plan.refused || plan.width <= 0) return;
    const int W = plan.width;
    const int G = plan.cell;
    const int N = plan.lines;
    const int H = plan.Height();
    const bool print = pens == DiagramPens::Print;
    const bool page = pens == DiagramPens::ExportPage;
    const int unit = page && W >= 1001 ? W / 1000 : 1;
    const int gridPen = page ? unit : 1;
    const int borderPen = print ? 8 : page && W > 1000 ? 9 * unit : 3;
    const int stonePen = print || page ? 3 * unit : 1;
    // The board's own unit and origin: G and (0, G) unless coordinates take room around it.
    const int g = plan.boardCell > 0 ? plan.boardCell : G;
    const int ox = plan.boardCell > 0 ? plan.boardOrigin.x() : 0;
    const int oy = plan.boardCell > 0 ? plan.boardOrigin.y() : G;
    const auto square = [&](int x, int y) { return QRect(ox + x * g - g / 2, oy + y * g - g / 2, g, g); };
    const DiagramFonts& fonts = FontsFor(g);
    const DiagramFonts& textFonts = FontsFor(plan.textUnit);

    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / W, target.height() / H);
    painter.fillRect(QRect(0, 0, W, H), Qt::white);

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, gridPen));
    for (int i = 1; i <= N; ++i) {
        painter.drawLine(ox + i * g, oy + g, ox + i * g, oy + N * g);
        painter.drawLine(ox + g, oy + i * g, ox + N * g, oy + i * g);
    }
    painter.setPen(QPen(Qt::black, borderPen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(QRectF(ox + g, oy + g, (N - 1) * g, (N - 1) * g));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const qreal star = g / 10;
    for (const GridPoint& p : StarPoints(N))
        painter.drawEllipse(QPointF(ox + p.x * g, oy + p.y * g), star, star);

    if (plan.coordinates != DiagramCoordinates::kNone) {
        // Column letters above and below, row numbers left and right, a cell out from the edge.
        for (int k = 1; k <= N; ++k) {
            const std::string column = plan.ColumnLabel(k);
            const std::string row = plan.RowLabel(k);
            DrawCentred(painter, square(k, 0), column, fonts.board, Qt::black);
            DrawCentred(painter, square(k, N + 1), column, fonts.board, Qt::black);
            DrawCentred(painter, square(0, k), row, fonts.board, Qt::black);
            DrawCentred(painter, square(N + 1, k), row, fonts.board, Qt::black);
        }
    }

    for (const DiagramStone& s : plan.setup)
        if (OnBoard(s.x, s.y, N)) DrawStone(painter, square(s.x, s.y), s.colour, stonePen);

    if (!plan.caption.empty())
        DrawCentred(painter, QRect(G, 0, 6 * plan.textUnit, G), plan.caption, textFonts.units,
                    Qt::black, Qt::AlignLeft | Qt::AlignTop);

    for (const PlannedStone& s : plan.stones) {
        const QRect box = square(s.x, s.y);
        DrawStone(painter, box, s.colour, stonePen);
        DrawCentred(painter, box, s.text, fonts.ForMove(s.move), TextOn(s.colour));
    }

    for (const PlannedMark& m : plan.marks) {
        const QRect box = square(m.x, m.y);
        if (m.stone != 0) {
            DrawStone(painter, box, m.stone, stonePen);
        } else {
            // An empty point is cleared and its lines drawn again, so the mark reads clearly.
            painter.fillRect(box, Qt::white);
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.setPen(QPen(Qt::black, gridPen));
            const int cx = ox + m.x * g;
            const int cy = oy + m.y * g;
            painter.drawLine(std::max(cx - g / 2, ox + g), cy, std::min(cx + g / 2, ox + N * g), cy);
            painter.drawLine(cx, std::max(cy - g / 2, oy + g), cx,
                             std::min(cy + g / 2, oy + N * g));
            painter.setRenderHint(QPainter::Antialiasing, true);
        }
        DrawCentred(painter, box, m.text, fonts.board, TextOn(m.stone));
    }

    if (plan.listScale != 1.0) {
        // The list's pieces keep their sizes in list units; the whole list is drawn smaller.
        const int L = plan.textUnit;
        painter.translate(L, (N + 2) * G);
        painter.scale(plan.listScale, plan.listScale);
        painter.translate(-L, -(N + 2) * G);
    }
    for (const PlannedListItem& item : plan.list) {
        if (item.colour == kWhite || item.colour == kBlack) {
            DrawStone(painter, item.box, item.colour, stonePen);
            DrawCentred(painter, item.box, item.text, textFonts.list, TextOn(item.colour));
        } else {
            DrawCentred(painter, item.box, item.text, textFonts.list, Qt::black,
                        item.colour == 0 ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter);
        }
    }
    painter.restore();
}

int ComposeDiagram(QPainter& painter, const QRectF& target, const DiagramSource& source,
                   const DiagramRequest& request) {
    const DiagramPlan plan = PlanDiagram(source, request);
    if (plan.refused) {
        Prompter::Current().Popup(kDiagramRangeMessage, kButtonsOk);
        return 0;
    }
    PaintDiagram(painter, target, plan, request.pens);
    return plan.width;
}

QImage ComposeDiagramImage(const DiagramSource& source, const DiagramRequest& request) {
    const DiagramPlan plan = PlanDiagram(source, request);
    if (plan.refused) {
        Prompter::Current().Popup(kDiagramRangeMessage, kButtonsOk);
        return {};
    }
    QImage image(plan.width, plan.Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintDiagram(painter, QRectF(image.rect()), plan, request.pens);
    painter.end();
    return image;
}

}  // namespace velmora
