#include "record/InfoTexts.h"

#include <initializer_list>
#include <utility>

#include "record/SgfReader.h"

namespace velmora {
namespace {

// Each filled field followed by its unit; empty fields leave their unit out too.
std::string Joined(std::initializer_list<std::pair<const std::string&, const char*>> parts) {
    std::string out;
    for (const auto& [field, unit] : parts)
        if (!field.empty()) out += field + unit;
    return out;
}

std::optional<std::string> Player(const std::string& name, const std::string& rank) {
    if (name.empty()) return std::nullopt;
    if (rank.empty()) return name;  // no empty brackets for a player without a rank
    return name + "(" + rank + ")";
}

// The filled fields between separators: "2026-12" rather than "2026-12-", "" for none.
std::string Separated(std::initializer_list<const std::string*> fields, const char* separator) {
    std::string out;
    for (const std::string* field : fields) {
        if (field->empty()) continue;
        if (!out.empty()) out += separator;
        out += *field;
    }
    return out;
}

// "6.5/3점접바둑"; the komi alone when there is no handicap, "" when neither is known. The
// handicap keeps its slash, since the diagram's handicap stones are read from after it.
std::string KomiHandicap(const GameInfo& info) {
    if (info.handicapText.empty()) return info.komiText;
    return info.komiText + "/" + info.handicapText;
}

std::string MainTime(const GameInfo& info) {
    return Joined(
        {{info.mainTimeHours, "시간"}, {info.mainTimeMinutes, "분"}, {info.mainTimeSeconds, "초"}});
}

}  // namespace

std::string ShownGameName(const GameInfo& info) {
    if (info.event.empty() || info.event == info.gameName) return info.gameName;
    if (info.gameName.empty()) return info.event;
    return info.event + " " + info.gameName;
}

PrintTexts MakePrintTexts(const GameInfo& info) {
    PrintTexts t;
    t[kPrintGameName] = ShownGameName(info);
    t[kPrintPlace] = info.place;
    // Empty fields print nothing, not "시간분초", "--" or "()".
    t[kPrintDate] = Separated({&info.year, &info.month, &info.day}, "-");
    t[kPrintTimeLimit] = MainTime(info);
    t[kPrintBlackPlayer] = Player(info.blackName, info.blackRank).value_or(info.blackRank);
    t[kPrintWhitePlayer] = Player(info.whiteName, info.whiteRank).value_or(info.whiteRank);
    t[kPrintKomiHandicap] = KomiHandicap(info);
    t[kPrintResult] = info.result;
    return t;
}

ViewTexts MakeViewTexts(const GameInfo& info) {
    ViewTexts t;
    t.gameName = ShownGameName(info);
    t.black = Player(info.blackName, info.blackRank);
    t.white = Player(info.whiteName, info.whiteRank);
    t.date = GameDateText(info);
    t.place = info.place;
    t.mainTime = MainTime(info);
    t.overtime = Joined({{info.overtimeMinutes, "분"},
                         {info.overtimeSeconds, "초"},
                         {info.overtimeCountText, "회"}});
    t.komiHandicap = KomiHandicap(info);
    t.result = info.result;
    return t;
}

int HandicapFromChoice(const std::string& text) {
    if (text.find("호선") != std::string::npos) return 0;
    if (text.find("정선") != std::string::npos) return 1;
    int n = 0;
    for (size_t i = 0; i < text.size() && text[i] >= '0' && text[i] <= '9' && n < 1000; ++i)
        n = n * 10 + (text[i] - '0');
    return n;
}

}  // namespace velmora
