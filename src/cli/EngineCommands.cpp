#include "cli/EngineCommands.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <charconv>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

#include "cli/RecordTools.h"
#include "engine/Counting.h"
#include "engine/GameReview.h"
#include "engine/GtpEngine.h"
#include "game/TreeCursor.h"
#include "platform/SafeFile.h"
#include "record/RecordEncoding.h"
#include "record/SgfTree.h"

namespace velmora {

namespace {

const char* const kDefaultEngine = "/usr/games/gnugo --mode gtp";

// The engines talk through the event loop: one is made when the caller runs none.
std::unique_ptr<QCoreApplication> EnsureCoreApplication() {
    if (QCoreApplication::instance()) return nullptr;
    static int argc = 1;
    static char name[] = "velmora-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QCoreApplication>(argc, argv);
}

std::optional<double> ParseNumber(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// A record file's game as a tree, with the text around it for writing it back.
struct LoadedTree {
    std::string text;  // UTF-8
    SgfTreeRead read;
};

std::optional<LoadedTree> LoadTree(const std::string& path, int game, std::ostream& err) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        err << "velmora-cli: cannot read " << path << "\n";
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    LoadedTree loaded;
    loaded.text = DecodeRecordBytes(bytes.str());
    loaded.read = ReadSgfTree(loaded.text, game);
    if (loaded.read.games == 0) {
        err << "velmora-cli: " << path << " holds no SGF record\n";
        return std::nullopt;
    }
    if (game < 1 || game > loaded.read.games) {
        err << "velmora-cli: " << path << " has no game " << game << " (it holds "
            << loaded.read.games << ")\n";
        return std::nullopt;
    }
    if (!RecordBoardSize(loaded.read.tree)) {
        err << "velmora-cli: " << path << ": the board is not square or not of 2 to 25 lines\n";
        return std::nullopt;
    }
    return loaded;
}

// The engine's words from --engine, or a usage error.
std::string EngineWords(const std::string& value, std::vector<std::string>& words) {
    const auto split = SplitShellWords(value);
    if (!split) return "--engine has a quote that is not closed";
    if (split->empty()) return "--engine needs a command";
    words = *split;
    return {};
}

}  // namespace

int RunReviewCommand(const std::vector<std::string>& args, std::ostream& /*out*/, std::ostream& err) {
    std::vector<std::string> files;
    std::vector<std::string> engine = *SplitShellWords(kDefaultEngine);
    std::string output;
    ReviewOptions options;
    int game = 1;
    int budgets = 0;
    const auto whole = [](const std::string& a, const std::string& v, int least, int& to) -> std::string {
        const std::optional<int> n = ParseWholeNumber(v);
        if (!n || *n < least) return a + " needs a whole number of at least " + std::to_string(least) + ", not " + v;
        to = *n;
        return {};
    };
    const std::string why = WalkCliArguments(
        args, {"-o", "--engine", "--jobs", "--level", "--visits", "--seconds", "--threshold", "--colour", "--max-diagrams"},
        {"--replace"}, files,
        [&](const std::string& a, const std::string& v) -> std::string {
            if (a == "-o") output = v;
            if (a == "--engine") return EngineWords(v, engine);
            if (a == "--jobs") return whole(a, v, 1, options.jobs);
            if (a == "--max-diagrams") return whole(a, v, 0, options.maxDiagrams);
            if (a == "--replace") options.replace = true;
            if (a == "--colour") {
                if (v != "B" && v != "W" && v != "b" && v != "w") return "--colour needs B or W, not " + v;
                options.colour = v == "B" || v == "b" ? kBlack : kWhite;
            }
            if (a == "--threshold") {
                const bool percent = !v.empty() && v.back() == '%';
                const auto n = ParseNumber(percent ? v.substr(0, v.size() - 1) : v);
                if (!n || *n < 0) return "--threshold needs points (3) or a win rate (10%), not " + v;
                (percent ? options.thresholdWinrate : options.thresholdPoints) = *n;
            }
            if (a == "--level" || a == "--visits" || a == "--seconds") {
                if (++budgets > 1) return "give one of --level, --visits and --seconds";
                const auto n = ParseNumber(v);
                const bool wholeNumber = n && *n == static_cast<int>(*n);
                if (!n || *n < (a == "--level" ? 0 : 0.001) || (a != "--seconds" && !wholeNumber))
                    return a + (a == "--seconds" ? " needs a number of seconds above 0" : " needs a whole number") +
                           ", not " + v;
                options.budget.kind = a == "--level"    ? EngineBudget::Kind::kLevel
                                      : a == "--visits" ? EngineBudget::Kind::kVisits
                                                        : EngineBudget::Kind::kSeconds;
                options.budget.value = *n;
            }
            return {};
        },
        game);
    if (!why.empty()) return CliUsage(err, why);
    if (output.empty()) return CliUsage(err, "review needs -o OUT.sgf");

    std::optional<LoadedTree> loaded = LoadTree(files.front(), game, err);
    if (!loaded) return kCliFailed;
    GameTree& tree = loaded->read.tree;
    const std::unique_ptr<QCoreApplication> app = EnsureCoreApplication();
    GameReview review(tree, engine, options);
    QEventLoop loop;
    bool ended = false;
    QString failure;
    QObject::connect(&review, &GameReview::Progress, [&](int judged, int total) {
        err << "velmora-cli: 검토 " << judged << "/" << total << "\n" << std::flush;
    });
    QObject::connect(&review, &GameReview::Warning,
                     [&](const QString& text) { err << "velmora-cli: " << text.toStdString() << "\n"; });
    QObject::connect(&review, &GameReview::Finished, [&] {
        ended = true;
        loop.quit();
    });
    QObject::connect(&review, &GameReview::Failed, [&](const QString& text) {
        ended = true;
        failure = text;
        loop.quit();
    });
    review.Start();
    if (!ended) loop.exec();
    if (!failure.isEmpty()) {
        err << "velmora-cli: " << failure.toStdString() << "\n";
        return kCliFailed;
    }
    // The text is UTF-8 now, whatever it was read from.
    if (tree.Has(tree.Root(), "CA")) tree.SetProperty(tree.Root(), "CA", {"UTF-8"});
    const std::string& text = loaded->text;
    const std::size_t end = loaded->read.end == std::string::npos ? text.size() : loaded->read.end;
    const std::string written =
        text.substr(0, loaded->read.begin) + WriteSgfTree(tree) + text.substr(end) +
        (loaded->read.end == std::string::npos ? "\n" : "");
    std::string cannot;
    if (!WriteFileSafely(output, written, &cannot)) {
        err << "velmora-cli: cannot write " << output << ": " << cannot << "\n";
        return kCliFailed;
    }
    err << "velmora-cli: 참고도 " << review.DiagramsAdded() << "개를 더했습니다\n";
    return kCliOk;
}

int RunScoreCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> files;
    std::vector<std::string> engineWords = *SplitShellWords(kDefaultEngine);
    std::optional<CountingRules> rules;
    int game = 1;
    const std::string why = WalkCliArguments(
        args, {"--rules", "--engine"}, {}, files,
        [&](const std::string& a, const std::string& v) -> std::string {
            if (a == "--engine") return EngineWords(v, engineWords);
            if (v == "korean") rules = CountingRules::kKorean;
            else if (v == "japanese") rules = CountingRules::kJapanese;
            else if (v == "chinese") rules = CountingRules::kChinese;
            else return "--rules needs korean, japanese or chinese, not " + v;
            return {};
        },
        game);
    if (!why.empty()) return CliUsage(err, why);
    std::optional<LoadedTree> loaded = LoadTree(files.front(), game, err);
    if (!loaded) return kCliFailed;
    const GameTree& tree = loaded->read.tree;
    const NodeId last = tree.LineEnd(tree.Root());
    EnginePosition position = EnginePositionAt(tree, last);
    if (!rules)
        rules = position.rules == "chinese"  ? CountingRules::kChinese
                : position.rules == "japanese" ? CountingRules::kJapanese
                                               : CountingRules::kKorean;
    position.rules.clear();  // the count is ours: only the dead stones are asked
    TreeCursor cursor(tree, position.size);
    cursor.GoTo(last);

    const std::unique_ptr<QCoreApplication> app = EnsureCoreApplication();
    GtpEngine engine(engineWords);
    QString failure = StartEngine(engine);
    EngineBoard board;
    board.warn = [&](const QString& text) { err << "velmora-cli: " << text.toStdString() << "\n"; };
    std::vector<Position::Point> dead;
    if (failure.isEmpty()) {
        QEventLoop loop;
        board.Bring(engine, position, [&](const QString& w) {
            failure = w;
            loop.quit();
        });
        loop.exec();
    }
    if (failure.isEmpty()) {
        const GtpReply reply = CallEngine(engine, "final_status_list dead");
        if (!reply.Ok())
            failure = reply.status == GtpStatus::kStopped
                          ? QString("엔진이 멈췄습니다")
                          : "엔진이 죽은 돌을 알려 주지 않습니다 (" + QString::fromStdString(reply.text) + ")";
        std::istringstream words(reply.text);
        for (std::string word; words >> word;)
            if (const auto p = ParseGtpVertex(word, position.size); p && *p != Position::kNoPoint) dead.push_back(*p);
    }
    engine.Stop();
    if (!failure.isEmpty()) {
        err << "velmora-cli: " << failure.toStdString() << "\n";
        return kCliFailed;
    }
    const GameCount count = CountGame(cursor.Board(), dead, position.komi, *rules);
    out << ScoreText(count.blackLead) << "\n";
    for (const int colour : {kBlack, kWhite}) {
        out << (colour == kBlack ? "흑" : "백") << ": 집 " << count.territory[colour];
        if (*rules == CountingRules::kChinese) out << ", 살아 있는 돌 " << count.stones[colour];
        out << ", 따낸 돌 " << count.captures[colour] << ", 죽은 돌 " << count.dead[colour].size();
        for (std::size_t i = 0; i < count.dead[colour].size(); ++i)
            out << (i ? " " : " (") << GtpVertex(count.dead[colour][i], position.size)
                << (i + 1 == count.dead[colour].size() ? ")" : "");
        out << "\n";
    }
    return kCliOk;
}

std::string EngineCommandsHelp() {
    return "  velmora-cli review FILE -o OUT.sgf [--engine \"COMMAND ARGS…\"] [--jobs N] [--level N | "
           "--visits N | --seconds S] [--threshold POINTS|PERCENT%] [--colour B|W] [--max-diagrams N] "
           "[--replace]\n"
           "      reviews the main line with a GTP engine (default: GNU Go at its default level, "
           "\"/usr/games/gnugo --mode gtp\"; the command split as a shell splits words, quotes "
           "respected) and writes the record to OUT.sgf: each move judged within the budget (GNU "
           "Go's level, or visits or seconds a move for engines that stream an analysis) gets SBKV "
           "(Black's win rate in percent; estimated from the score for engines that give none), "
           "VMSL (Black's score lead), VMBM and VMPV (the engine's move and line for the colour to "
           "play), VMEN (the engine) and VMBU (the budget); each move losing more than the threshold "
           "(3 points, or 10% of win rate for engines without a score) gets a reference diagram "
           "beside it, C[참고도-AI 추천 R14 · 승률 52% → 31% · 약 4.5집 손해] VMRV[1] and the "
           "engine's line; --colour only that colour's moves; --max-diagrams the review's diagrams "
           "at most (20), biggest losses first; --jobs engine processes at once (1). Moves judged "
           "before are kept and skipped, so a review goes on where it stopped; --replace removes the "
           "diagrams an earlier review made (VMRV) and judges every move again. Progress on "
           "standard error; exit 1 naming the reason when the engine fails (nothing written)\n"
           "  velmora-cli score FILE [--rules korean|japanese|chinese] [--engine \"COMMAND ARGS…\"]\n"
           "      counts the end of the main line with the engine's dead stones (final_status_list): "
           "the result in RE form (B+3.5) on the first line, then each side's territory, captures "
           "(dead stones included) and dead stones; territory and captures under Korean and "
           "Japanese rules, area under Chinese (default: the record's RU, else Korean); komi from KM\n";
}

}  // namespace velmora
