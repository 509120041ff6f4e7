#include "library/GameDigest.h"

#include <algorithm>
#include <cstdlib>

#include "game/TreeCursor.h"
#include "record/BoardGrid.h"
#include "record/Position.h"
#include "record/RecordEncoding.h"

namespace velmora {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number at text[i] (digits, one "." with digits after it) → its length, 0 for none.
std::size_t NumberAt(std::string_view text, std::size_t i, double& value) {
    std::size_t end = i;
    while (end < text.size() && IsDigit(text[end])) ++end;
    if (end == i) return 0;
    if (end + 1 < text.size() && text[end] == '.' && IsDigit(text[end + 1])) {
        ++end;
        while (end < text.size() && IsDigit(text[end])) ++end;
    }
    value = std::strtod(std::string(text.substr(i, end - i)).c_str(), nullptr);
    return end - i;
}

// The first number in text, "집반" (a half point) counted.
bool FirstNumber(std::string_view text, double& value) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (const std::size_t n = NumberAt(text, i, value)) {
            if (text.substr(i + n).starts_with("집반")) value += 0.5;
            return true;
        }
    }
    return false;
}

// A value with its whitespace trimmed, first of property id at the root.
std::string RootText(const GameTree& tree, std::string_view id) {
    std::string_view v = tree.FirstValue(tree.Root(), id);
    while (!v.empty() && (v.front() == ' ' || v.front() == '\n' || v.front() == '\t')) v.remove_prefix(1);
    while (!v.empty() && (v.back() == ' ' || v.back() == '\n' || v.back() == '\t')) v.remove_suffix(1);
    return std::string(v);
}

// PB/PW with BR/WR; the program's older records wrote "name:second:rank" in PB alone.
void SplitPlayer(std::string value, std::string rank, std::string& name, std::string& outRank) {
    if (const std::size_t colon = value.find(':'); colon != std::string::npos && rank.empty()) {
        rank = value.substr(value.rfind(':') + 1);
        value.resize(colon);
    }
    name = std::move(value);
    outRank = std::move(rank);
}

std::uint64_t Mix(std::uint64_t h, std::uint64_t v) {
    h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
    return h * 0xff51afd7ed558ccdull;
}

std::uint64_t DuplicateKey(const std::vector<LibraryStep>& steps, int size) {
    std::uint64_t best = 0;
    bool stones = false;
    for (int s = 0; s < 8; ++s) {
        std::uint64_t h = Mix(0, static_cast<std::uint64_t>(size));
        for (const LibraryStep step : steps) {
            int point = StepPoint(step);
            if (point != kStepNoPoint) {
                int x = point % size;
                int y = point / size;
                ApplySymmetry(s, size, size, x, y);
                point = y * size + x;
                stones = true;
            }
            h = Mix(h, MakeStep(point, StepColour(step), step & (kStepMove | kStepRefused)));
        }
        if (s == 0 || h < best) best = h;
    }
    return stones ? (best ? best : 1) : 0;
}

}  // namespace

void ApplySymmetry(int s, int w, int h, int& x, int& y) {
    if (s & 1) x = w - 1 - x;
    if (s & 2) y = h - 1 - y;
    if (s & 4) std::swap(x, y);
}

void InvertSymmetry(int s, int w, int h, int& x, int& y) {
    if (s & 4) std::swap(x, y);
    if (s & 2) y = h - 1 - y;
    if (s & 1) x = w - 1 - x;
}

std::string PlayerKey(std::string_view name) {
    std::string key;
    for (const char c : name) {
        if (c == ' ' || c == '\t') continue;
        key += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return key;
}

std::string DateKey(std::string_view date) {
    int parts[3] = {0, 0, 0};
    int found = 0;
    for (std::size_t i = 0; i < date.size() && found < 3;) {
        if (!IsDigit(date[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < date.size() && IsDigit(date[end])) ++end;
        const std::size_t digits = end - i;
        const int value = digits <= 4 ? std::atoi(std::string(date.substr(i, digits)).c_str()) : -1;
        if (found == 0 && digits == 4) {
            parts[found++] = value;
        } else if (found > 0) {
            // Month and day; a number out of their range ends the date ("2001-05-03,04").
            if (value < 1 || value > (found == 1 ? 12 : 31)) break;
            parts[found++] = value;
        }
        i = end;
        if (found > 0 && i < date.size() && date[i] == ',') break;
    }
    if (found == 0) return {};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", parts[0], parts[1], parts[2]);
    return text;
}

void ParseResult(std::string_view result, GameWinner& winner, double& margin, bool& hasMargin) {
    winner = GameWinner::kUnknown;
    margin = 0;
    hasMargin = false;
    const std::string upper = AsciiUpper(result);
    std::string_view r = upper;
    while (!r.empty() && r.front() == ' ') r.remove_prefix(1);
    if (r == "0" || r.starts_with("DRAW") || r.starts_with("JIGO") || r.find("무승부") != r.npos ||
        r == "빅") {
        winner = GameWinner::kDraw;
        return;
    }
    if (r.size() >= 2 && (r[0] == 'B' || r[0] == 'W') && r[1] == '+') {
        winner = r[0] == 'B' ? GameWinner::kBlack : GameWinner::kWhite;
        hasMargin = NumberAt(r, 2, margin) > 0;
        return;
    }
    const std::size_t black = r.find("흑");
    const std::size_t white = r.find("백");
    if (r.find("승") == r.npos || (black == r.npos && white == r.npos)) return;
    winner = black != r.npos && (white == r.npos || black < white) ? GameWinner::kBlack
                                                                    : GameWinner::kWhite;
    if (r.find("불계") == r.npos && r.find("시간") == r.npos) hasMargin = FirstNumber(r, margin);
}

bool DigestGame(const GameTree& tree, GameDigest& d, std::string& why) {
    const NodeId root = tree.Root();
    d = GameDigest{};
    if (const std::string sz = RootText(tree, "SZ"); !sz.empty()) {
        const std::size_t colon = sz.find(':');
        const int w = std::atoi(sz.c_str());
        const int h = colon == std::string::npos ? w : std::atoi(sz.c_str() + colon + 1);
        if (w != h) {
            why = "바둑판이 정사각형이 아닙니다 (SZ[" + sz + "]).";
            return false;
        }
        if (!IsBoardSize(w)) {
            why = "바둑판 크기 " + sz + "줄은 읽을 수 없습니다 (2–25줄).";
            return false;
        }
        d.size = w;
    }
    SplitPlayer(RootText(tree, "PB"), RootText(tree, "BR"), d.black, d.blackRank);
    SplitPlayer(RootText(tree, "PW"), RootText(tree, "WR"), d.white, d.whiteRank);
    d.event = RootText(tree, "EV");
    if (d.event.empty()) d.event = RootText(tree, "GN");
    d.round = RootText(tree, "RO");
    d.date = RootText(tree, "DT");
    d.dateKey = DateKey(d.date);
    d.year = d.dateKey.empty() ? 0 : std::atoi(d.dateKey.c_str());
    d.result = RootText(tree, "RE");
    ParseResult(d.result, d.winner, d.margin, d.hasMargin);
    d.komi = std::strtod(RootText(tree, "KM").c_str(), nullptr);
    d.handicap = std::atoi(RootText(tree, "HA").c_str());

    // The main line, replayed: each node's changes as the position made them.
    Position position(d.size);
    PositionUndo undo;
    const auto index = [&](Position::Point p) {
        return (Position::Y(p) - 1) * d.size + Position::X(p) - 1;
    };
    for (NodeId n = root; n != kNoNode; n = tree.FirstChild(n)) {
        undo.Clear();
        const NodeMove move = ApplyNode(tree, n, position, undo);
        for (int i = 0; i < undo.Size(); ++i) {
            const Position::Point p = undo[i].point;
            const bool isMove = move.kind == NodeMove::Kind::kPlayed && p == move.point &&
                                undo[i].colour == 0 && position.Colour(p) == move.colour;
            // Captures and set-up stones leave their points as the node ends.
            d.steps.push_back(isMove ? MakeStep(index(p), move.colour, kStepMove)
                                     : MakeStep(index(p), position.Colour(p)));
        }
        if (move.kind == NodeMove::Kind::kPass)
            d.steps.push_back(MakeStep(kStepNoPoint, move.colour, kStepMove));
        if (move.kind == NodeMove::Kind::kRefused) {
            const bool onBoard = position.Contains(move.point);
            d.steps.push_back(MakeStep(onBoard ? index(move.point) : kStepNoPoint, move.colour,
                                       kStepMove | kStepRefused));
        }
        if (move.kind != NodeMove::Kind::kNone) ++d.moves;
    }
    // Every comment of the tree, in the arena's order (the order read: nothing is detached).
    for (NodeId n = 0; n < tree.NodeCount(); ++n) {
        for (const std::string_view c : tree.Values(n, "C")) {
            if (c.empty()) continue;
            if (!d.comments.empty()) d.comments += '\n';
            d.comments += c;
        }
    }
    d.duplicateKey = DuplicateKey(d.steps, d.size);
    return true;
}

}  // namespace velmora
