#include "platform/RankText.h"

namespace velmora {

std::string RankText(int n) {
    if (n == 28) return "프로";
    if (n >= 19 && n <= 27) return std::to_string(n - 18) + "단";
    return std::to_string(19 - n) + "급";
}

std::vector<std::string> RankChoices() {
    std::vector<std::string> ranks;
    for (int n = 27; n >= 1; --n) ranks.push_back(RankText(n));
    return ranks;
}

}  // namespace velmora
