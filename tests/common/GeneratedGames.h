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
        // Two hundred players: a family name and a given name.
        static const char* const kFamily[] = {"이", "김", "박", "최", "조", "신", "강", "윤", "Go ", "Cho "};
        static const char* const kGiven[] = {"창호", "세돌", "훈현", "정환", "진서", "지석", "명훈", "수진",
                                             "영", "민준", "서연", "Seigen", "Chikun", "하늘", "보배",
                                             "동훈", "은", "태현", "Sedol", "Lian"};
        const auto player = [&] { return std::string(kFamily[Next(10)]) + kGiven[Next(20)]; };
        const std::string black = player();
        std::string white = player();
        while (white == black) white = player();
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
        std::string text = "(;GM[1]FF[4]CA[UTF-8]SZ[" + std::to_string(size) + "]PB[" + black +
                           "]PW[" + white + "]EV[제" + std::to_string(1 + Next(30)) +
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
            // A phrase and a word of two syllables among four hundred.
            if (Next(10) == 0)
                text += "C[" + std::to_string(m + 1) + "수: " + kComments[Next(5)] + " " +
                        kSyllables[Next(20)] + kSyllables[Next(20)] + "]";
            colour = colour == kBlack ? kWhite : kBlack;
            ++m;
        }
        return text + ")";
    }

  private:
    static constexpr const char* kComments[] = {"좋은 수입니다.", "이 수로는 화점 쪽이 나았다.",
                                                "Black's shape is thin here.", "정석대로 둔다.",
                                                "백의 패착."};
    static constexpr const char* kSyllables[] = {"가", "나", "다", "라", "마", "바", "사", "아", "자", "차",
                                                 "카", "타", "파", "하", "거", "너", "더", "러", "머", "버"};
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
