#pragma once

#include <string>
#include <vector>

namespace velmora {

// The rank text of rank number n: 28 → "프로", 19..27 → "1단".."9단", otherwise (19 − n)"급".
std::string RankText(int n);

// The ranks offered for choice, n = 27 down to 1: "9단" … "1단", then "1급" … "18급".
std::vector<std::string> RankChoices();

}  // namespace velmora
