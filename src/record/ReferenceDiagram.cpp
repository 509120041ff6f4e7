#include "record/ReferenceDiagram.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <string_view>

namespace velmora {

namespace {

// Kind words by kind number; 0 is also the word of every unknown kind.
constexpr std::array<std::string_view, 5> kKindWords = {"참고도", "장면도", "실전진행", "문제도",
                                                        "정답도"};

void RemoveAll(std::string& text, std::string_view what) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(what, from)) != std::string::npos; from = at + what.size())
        out.append(text, from, at - from);
    out.append(text, from, std::string::npos);
    text = std::move(out);
}

}  // namespace

std::string KindWord(int kind) {
    return std::string(kKindWords[kind >= 1 && kind <= 4 ? kind : 0]);
}

int KindFromWord(const std::string& word) {
    for (int kind = 1; kind <= 4; ++kind) {
        if (word.find(kKindWords[kind]) != std::string::npos) return kind;
    }
    return kDiagramReference;
}

std::string WithoutKindPrefixes(const std::string& text) {
    std::string rest = text;
    for (std::string_view word : kKindWords) RemoveAll(rest, std::string(word) + "-");
    return rest;
}

std::string DiagramComment(int kind, const std::string& text) {
    const std::string rest = WithoutKindPrefixes(text);
    if (rest.empty()) return {};
    return KindWord(kind) + "-" + rest;
}

std::string DiagramEntryLabel(const ReferenceDiagram& diagram, int position, bool nested) {
    // Appended piece by piece: GCC 12 at -O3 warns falsely of an overlap on "[" + string.
    std::string label = "[";
    label += std::to_string(diagram.base);
    label += "수 ";
    label += KindWord(diagram.kind);
    if (nested) {
        label += " ";
        label += std::to_string(diagram.branchMove);
        label += "수에서 갈림";
    }
    label += "] ";
    label += std::to_string(position);
    return label;
}

bool DiagramsEqual(const ReferenceDiagram& a, const ReferenceDiagram& b) {
    if (a.base != b.base || a.text != b.text || a.kind != b.kind || a.asRead != b.asRead)
        return false;
    // Sizes first: the lines of one branch share long prefixes.
    if (a.startList != b.startList || a.startProperties != b.startProperties ||
        a.moves.size() != b.moves.size())
        return false;
    return std::equal(a.moves.begin(), a.moves.end(), b.moves.begin(), b.moves.end(),
                      [](const auto& l, const auto& r) { return MoveRecordsEqual(l.second, r.second); });
}

std::size_t DiagramHash(const ReferenceDiagram& diagram) {
    std::size_t hash = 0;
    const auto mix = [&hash](std::size_t value) {
        hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
    };
    mix(static_cast<std::size_t>(diagram.base));
    mix(static_cast<std::size_t>(diagram.kind));
    mix(std::hash<std::string>{}(diagram.text));
    mix(diagram.moves.size());
    // Move numbers are not compared by DiagramsEqual, so they are left out here too.
    for (const auto& [n, move] : diagram.moves)
        mix(static_cast<std::size_t>(move.x * 64 * 4 + move.y * 4 + move.colour));
    return hash;
}

DiagramKey MakeDiagramKey(const LocalTime& t) {
    static unsigned long long counter = 0;
    char key[48];
    std::snprintf(key, sizeof key, "%02d%02d%02d%03d%010llu", t.hour, t.minute, t.second,
                  t.millisecond, counter++);
    return key;
}

DiagramKey MakeDiagramKey() { return MakeDiagramKey(CurrentLocalTime()); }

}  // namespace velmora
