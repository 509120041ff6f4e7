#pragma once

// Legal games for library tests and benchmarks: openings drawn from a few corner sequences
// (so that shapes recur as in real games), then random moves that do not fill their own eyes;
// a comment on about one move in ten, players from a short list, dates and results.

#include <cstdint>
#include <string>
#include <vector>

#include "record/Position.h"

namespace velmora::test {

class GameGenerator {
  public:
    explicit GameGenerator(std::uint64_t seed) : seed_(seed | 1) {}

    int Next(int bound) {
        seed_ ^= seed_ << 13;
        seed_ ^= seed_ >> 7;
        seed_ ^= seed_ << 17;
        return static_cast<int>(seed_ % static_cast<std::uint64_t>(bound));
    }

    // One game of about `moves` moves on a board of size lines, as an SGF text.
    std::string Game(int size = 19, int moves = 225) {
        static const char* const kPlayers[] = {"Lee Sedol", "이창호", "조훈현", "Cho Chikun", "박정환",
                                               "신진서", "Go Seigen", "김지석"};
        // Corner sequences in the upper-right corner of a 19-line board.
        static const std::vector<std::vector<const char*>> kOpenings = {
            {"pd", "qf", "nc", "rd", "qc", "qi"},
            {"qd", "oc", "pc", "od", "qf"},
            {"pd", "qc", "qd", "pc", "oc", "ob", "nb", "rd"},
            {"qc", "oc", "qe"},
            {"pd", "nc", "pf", "pb", "qc", "kc"},
        };
        Position position(size);
        PositionUndo undo;
        const int black = Next(8);
        const int white = (black + 1 + Next(7)) % 8;
        std::string text = "(;GM[1]FF[4]CA[UTF-8]SZ[" + std::to_string(size) + "]PB[" + kPlayers[black] +
                           "]PW[" + kPlayers[white] + "]EV[제" + std::to_string(1 + Next(30)) +
                           "기 생성배]DT[" + std::to_string(1950 + Next(75)) + "-" +
                           Two(1 + Next(12)) + "-" + Two(1 + Next(28)) + "]KM[6.5]RE[" +
                           (Next(2) ? "B+R" : "W+" + std::to_string(Next(20)) + ".5") + "]";
        std::vector<int> opening;
        if (size == 19) {
            for (int corner = 0; corner < 2; ++corner) {
                const auto& sequence = kOpenings[static_cast<std::size_t>(Next(5))];
                const int s = Next(8);
                for (std::size_t i = 0; i < sequence.size() && i < static_cast<std::size_t>(3 + Next(6)); ++i) {
                    int x = sequence[i][0] - 'a';
                    int y = sequence[i][1] - 'a';
                    if (s & 1) x = 18 - x;
                    if (s & 2) y = 18 - y;
                    if (s & 4) std::swap(x, y);
                    opening.push_back(Position::PointAt(x + 1, y + 1));
                }
            }
        }
        int colour = kBlack;
        std::size_t o = 0;
        for (int m = 0, tries = 0; m < moves && tries < moves * 20; ++tries) {
            const bool fromOpening = o < opening.size();
            const int p = fromOpening ? opening[o++] : Position::PointAt(1 + Next(size), 1 + Next(size));
            if (!fromOpening && OwnEye(position, p, colour)) continue;
            undo.Clear();
            if (position.Play(p, colour, undo) != PlayResult::kLegal) continue;
            text += colour == kBlack ? ";B[" : ";W[";
            text += static_cast<char>('a' + Position::X(p) - 1);
            text += static_cast<char>('a' + Position::Y(p) - 1);
            text += "]";
            if (Next(10) == 0) text += "C[" + std::to_string(m + 1) + "수: " + kComments[Next(5)] + "]";
            colour = colour == kBlack ? kWhite : kBlack;
            ++m;
        }
        return text + ")";
    }

  private:
    static constexpr const char* kComments[] = {"좋은 수입니다.", "이 수로는 화점 쪽이 나았다.",
                                                "Black's shape is thin here.", "정석대로 둔다.",
                                                "백의 패착."};
    static std::string Two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }
    static bool OwnEye(const Position& position, int p, int colour) {
        for (const int d : {1, -1, Position::kStride, -Position::kStride}) {
            const int q = p + d;
            if (position.Contains(q) && position.Colour(q) != colour) return false;
        }
        return true;
    }

    std::uint64_t seed_;
};

}  // namespace velmora::test
