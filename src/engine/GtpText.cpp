#include "engine/GtpText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <set>

#include "record/BoardLines.h"

namespace velmora {

namespace {

// Splits text at blanks.
std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

std::optional<double> Number(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool Same(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

}  // namespace

std::string GtpVertex(Position::Point point, int size) {
    if (point == Position::kNoPoint) return "pass";
    return std::string(1, ColumnLetter(Position::X(point), kMaxBoardSize)) +
           std::to_string(size + 1 - Position::Y(point));
}

std::optional<Position::Point> ParseGtpVertex(std::string_view text, int size) {
    if (Same(text, "pass")) return Position::kNoPoint;
    if (text.size() < 2) return std::nullopt;
    const char letter = static_cast<char>(Lower(text[0]) - 'a' + 'A');
    int column = 0;
    for (int c = 1; c <= kMaxBoardSize; ++c)
        if (ColumnLetter(c, kMaxBoardSize) == letter) column = c;
    int row = 0;
    const std::string_view digits = text.substr(1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), row);
    if (column == 0 || error != std::errc() || end != digits.data() + digits.size() ||
        !OnBoard(column, row, size))
        return std::nullopt;
    return Position::PointAt(column, size + 1 - row);
}

std::vector<Candidate> ParseAnalysisLine(std::string_view line, int size, WinrateScale scale) {
    // Keys whose values run on to the next key rather than being one word.
    static const std::set<std::string_view> kListKeys = {
        "pv", "pvVisits", "pvEdgeVisits", "movesOwnership", "movesOwnershipStdev"};
    // Keys that end the candidates: whole-board data after the last one.
    static const std::set<std::string_view> kTrailing = {"ownership", "ownershipStdev"};
    const std::vector<std::string_view> words = Words(line);
    std::vector<Candidate> candidates;
    const auto isKey = [](std::string_view w) {
        return w == "info" || kListKeys.count(w) || kTrailing.count(w) ||
               (!w.empty() && w[0] >= 'a' && w[0] <= 'z' && !ParseGtpVertex(w, kMaxBoardSize) &&
                !Number(w));
    };
    for (std::size_t i = 0; i < words.size();) {
        const std::string_view key = words[i++];
        if (kTrailing.count(key)) break;
        if (key == "info") {
            candidates.emplace_back();
            continue;
        }
        if (candidates.empty()) continue;
        Candidate& c = candidates.back();
        if (kListKeys.count(key)) {
            for (; i < words.size() && !isKey(words[i]); ++i)
                if (key == "pv")
                    if (const auto point = ParseGtpVertex(words[i], size)) c.line.push_back(*point);
            continue;
        }
        if (i >= words.size()) break;
        const std::string_view value = words[i++];
        if (key == "move") {
            const auto point = ParseGtpVertex(value, size);
            if (!point) {
                candidates.pop_back();
                break;
            }
            c.point = *point;
            continue;
        }
        const std::optional<double> number = Number(value);
        if (!number) continue;
        if (key == "visits") c.visits = static_cast<int>(*number);
        if (key == "order") c.order = static_cast<int>(*number);
        if (key == "scoreLead") c.scoreLead = *number;
        if (key == "winrate")
            c.winrate = scale == WinrateScale::kFraction ? *number * 100 : *number / 100;
    }
    return candidates;
}

std::optional<double> ParseGtpScore(std::string_view text) {
    const std::vector<std::string_view> words = Words(text);
    if (words.empty()) return std::nullopt;
    const std::string_view score = words.front();
    if (score == "0" || Same(score, "jigo") || Same(score, "draw")) return 0.0;
    if (score.size() < 3 || score[1] != '+') return std::nullopt;
    const std::optional<double> points = Number(score.substr(2));
    if (!points) return std::nullopt;
    if (Lower(score[0]) == 'b') return *points;
    if (Lower(score[0]) == 'w') return -*points;
    return std::nullopt;
}

std::string ScoreText(double blackLead) {
    const double rounded = std::round(std::fabs(blackLead) * 10) / 10;
    if (rounded == 0) return "0";
    char number[32];
    std::snprintf(number, sizeof number, "%g", rounded);
    return std::string(blackLead > 0 ? "B+" : "W+") + number;
}

std::optional<std::vector<std::string>> SplitShellWords(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\\') {
            if (++i < text.size() && text[i] != '\n') word += text[i];
        } else if (c == '\'') {
            const std::size_t close = text.find('\'', i + 1);
            if (close == std::string_view::npos) return std::nullopt;
            word += text.substr(i + 1, close - i - 1);
            i = close;
        } else if (c == '"') {
            for (++i;; ++i) {
                if (i >= text.size()) return std::nullopt;
                if (text[i] == '"') break;
                if (text[i] == '\\' && i + 1 < text.size() &&
                    std::string_view("\"\\$`").find(text[i + 1]) != std::string_view::npos)
                    ++i;
                word += text[i];
            }
        } else {
            word += c;
        }
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

}  // namespace velmora
