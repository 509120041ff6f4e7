#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "record/RecordEncoding.h"

// Other programs' readers judge what a save writes: velmora-cli converts every fixture and
// sample, GNU Go and sgf2dg must load each saved file, and @sabaki/sgf must see the same tree in
// the saved file as in the one that was opened (scripts/install-deps installs them). A reader
// that is missing skips its test on a developer's machine; under CI (CI=true) it fails the
// run, so a machine that lost one cannot pass without it.

namespace velmora {
namespace {

namespace fs = std::filesystem;

const fs::path kData = VELMORA_TEST_DATA;
const fs::path kOracle = kData.parent_path() / "record" / "oracle";
const fs::path kGnuGo = "/usr/games/gnugo";
const fs::path kSgf2dg = "/usr/bin/sgf2dg";

bool UnderCi() {
    const char* ci = std::getenv("CI");
    return ci && std::string(ci) == "true";
}

#define ORACLE_MISSING(message)                 \
    do {                                        \
        if (UnderCi()) GTEST_FAIL() << message; \
        GTEST_SKIP() << message;                \
    } while (0)

std::string Quoted(const fs::path& path) {
    std::string out = "'";
    for (char c : path.string()) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs command in a shell → its standard output and error; status gets the exit status.
std::string Shell(const std::string& command, int& status) {
    std::string out;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) {
        status = -1;
        return out;
    }
    char buffer[4096];
    while (const std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    const int raw = pclose(pipe);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
}

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

struct Converted {
    fs::path source;
    fs::path input;   // the source decoded to UTF-8, as this program reads it
    fs::path output;  // what velmora-cli convert saved
};

// The board size a saved file names (SZ), 19 without one.
int SavedSize(const fs::path& path) {
    const std::string text = Bytes(path);
    const std::size_t at = text.find("SZ[");
    return at == std::string::npos ? 19 : std::atoi(text.c_str() + at + 3);
}

// Every record of the fixtures and the samples, converted once for all tests here.
class OtherReaders : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        const fs::path cli = fs::path(VELMORA_BIN_DIR) / "velmora-cli";
        if (!fs::exists(cli)) {
            problem_ = "velmora-cli is not built: " + cli.string();
            return;
        }
        // A folder of this process's own: CTest runs each test as a process, side by side.
        dir_ = fs::temp_directory_path() / ("velmora-other-readers-" + std::to_string(getpid()));
        const fs::path& dir = dir_;
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::vector<fs::path> sources;
        for (const fs::path& root :
             {kData, kData.parent_path().parent_path() / "resources/samples"})
            for (const auto& entry : fs::recursive_directory_iterator(root))
                if (entry.path().extension() == ".sgf" || entry.path().extension() == ".sgfx")
                    sources.push_back(entry.path());
        std::sort(sources.begin(), sources.end());
        for (const fs::path& source : sources) {
            const std::string name =
                std::to_string(converted_.size()) + "-" + source.filename().string();
            Converted c{source, dir / (name + ".in"), dir / name};
            std::ofstream(c.input, std::ios::binary) << DecodeRecordBytes(Bytes(source));
            int status = 0;
            const std::string extended = source.extension() == ".sgfx" ? " --extended" : "";
            const std::string said = Shell(
                Quoted(cli) + " convert " + Quoted(source) + " -o " + Quoted(c.output) + extended,
                status);
            if (status == 0) {
                converted_.push_back(c);
            } else {
                refused_ += source.string() + ": " + said;
            }
        }
    }

    // The converted files stay for a look when a test failed.
    static void TearDownTestSuite() {
        if (!dir_.empty() && !testing::UnitTest::GetInstance()->current_test_suite()->Failed())
            fs::remove_all(dir_);
    }

    static inline fs::path dir_;
    static inline std::string problem_;
    static inline std::vector<Converted> converted_;
    static inline std::string refused_;
};

// GNU Go refuses what is not FF[4]; sgf2dg is a third parser, laxer, that must take it too.
TEST_F(OtherReaders, GnuGoAndSgf2dgLoadEverySavedRecord) {
    ASSERT_TRUE(problem_.empty()) << problem_;
    if (!fs::exists(kGnuGo))
        ORACLE_MISSING("GNU Go is not installed (" << kGnuGo << "): run scripts/install-deps");
    // Only a record of a board larger than 25 lines is refused, by design.
    EXPECT_EQ(refused_.find(".sgf:"), refused_.rfind(".sgf:")) << refused_;
    EXPECT_GE(converted_.size(), 60u);
    for (const Converted& c : converted_) {
        int status = 0;
        const int n = SavedSize(c.output);
        if (n <= 19) {  // GNU Go plays up to 19 lines
            const std::string said = Shell("printf 'loadsgf %s\\nquit\\n' " + Quoted(c.output) +
                                               " | " + Quoted(kGnuGo) + " --mode gtp",
                                           status);
            // A move the board cannot play is kept where it stood: GNU Go warns of it and loads.
            std::size_t answer = 0;
            while (said.compare(answer, 8, "WARNING:") == 0 || said.compare(answer, 5, "Move ") == 0) {
                answer = said.find('\n', answer);
                if (answer == std::string::npos) {
                    answer = said.size();
                    break;
                }
                ++answer;
            }
            EXPECT_EQ(said.substr(answer, 1), "=")
                << c.source << " saved as " << c.output << ":\n" << said;
        }
        // sgf2dg stops at a board whose star points it does not know: odd sizes 5 to 21 alone.
        if (!fs::exists(kSgf2dg) || n < 5 || n > 21 || n % 2 == 0) continue;
        const std::string converted =
            Shell(Quoted(kSgf2dg) + " -converter ASCII -o " + Quoted(c.output.string() + ".txt") +
                      " " + Quoted(c.output),
                  status);
        EXPECT_EQ(status, 0) << c.source << " saved as " << c.output << ":\n" << converted;
    }
    if (!fs::exists(kSgf2dg)) ORACLE_MISSING("sgf2dg is not installed: run scripts/install-deps");
}

// Every board size GNU Go plays on: the position it reaches by loading the saved record is the
// one this program shows at the end of the main line.
TEST_F(OtherReaders, GnuGoReachesThePositionOfEverySizeSaved) {
    ASSERT_TRUE(problem_.empty()) << problem_;
    if (!fs::exists(kGnuGo)) ORACLE_MISSING("GNU Go is not installed: run scripts/install-deps");
    const fs::path cli = fs::path(VELMORA_BIN_DIR) / "velmora-cli";
    int checked = 0;
    for (const Converted& c : converted_) {
        const int n = SavedSize(c.output);
        if (c.source.parent_path().filename() != "sizes" || n > 19) continue;
        int status = 0;
        const std::string shown = Shell(Quoted(cli) + " board " + Quoted(c.output), status);
        ASSERT_EQ(status, 0) << shown;
        const std::string said =
            Shell("printf 'loadsgf %s\\nlist_stones black\\nlist_stones white\\nquit\\n' " +
                      Quoted(c.output) + " | " + Quoted(kGnuGo) + " --mode gtp",
                  status);
        std::vector<std::string> rows(n, std::string(n, '.'));
        std::istringstream answers(said);
        std::string line;
        int list = 0;  // 1 black, 2 white
        while (std::getline(answers, line)) {
            if (line.rfind("=", 0) != 0) continue;
            std::istringstream vertices(line.substr(1));
            std::string v;
            while (vertices >> v) {
                if (list == 0 || v.size() < 2) continue;
                const int column = v[0] - 'A' - (v[0] > 'I' ? 1 : 0);  // GTP skips I
                rows[n - std::atoi(v.c_str() + 1)][column] = list == 1 ? 'X' : 'O';
            }
            ++list;
        }
        std::string expected;
        for (const std::string& row : rows) expected += row + "\n";
        EXPECT_EQ(shown, expected) << c.source << ":\n" << said;
        ++checked;
    }
    EXPECT_GE(checked, 6);
}

TEST_F(OtherReaders, SabakiSeesTheOpenedTreeInTheSavedOne) {
    ASSERT_TRUE(problem_.empty()) << problem_;
    int status = 0;
    Shell("node --version", status);
    if (status != 0) ORACLE_MISSING("node is not installed: run scripts/install-deps");
    if (!fs::exists(kOracle / "node_modules/@sabaki/sgf"))
        ORACLE_MISSING("@sabaki/sgf is not installed in " << kOracle << ": run scripts/install-deps");
    if (!fs::exists(kGnuGo))
        ORACLE_MISSING("GNU Go, which tells the older layout, is not installed");
    for (const Converted& c : converted_) {
        // Files of the older layout (a diagram inserted into the main line) are no FF[4]: the
        // reader sees them wrong, so there is no tree to compare with.
        if (Shell("printf 'loadsgf %s\\nquit\\n' " + Quoted(c.input) + " | " + Quoted(kGnuGo) +
                      " --mode gtp",
                  status)
                .find("expected") != std::string::npos)
            continue;
        const std::string said = Shell("node " + Quoted(kOracle / "compare.js") + " " +
                                           Quoted(c.input) + " " + Quoted(c.output),
                                       status);
        // A file the reader refuses as it was opened has no tree to compare; what we saved of
        // it must still be read.
        if (status == 2 && said.find(c.input.string()) != std::string::npos) {
            Shell("node " + Quoted(kOracle / "compare.js") + " " + Quoted(c.output) + " " +
                      Quoted(c.output),
                  status);
        }
        EXPECT_EQ(status, 0) << c.source << " saved as " << c.output << ":\n" << said;
    }
}

// Diagrams stored at the last move are no continuation of the game for any reader.
TEST_F(OtherReaders, DiagramsAtTheLastMoveLeaveTheGameEndingThere) {
    ASSERT_TRUE(problem_.empty()) << problem_;
    if (!fs::exists(kGnuGo)) ORACLE_MISSING("GNU Go is not installed: run scripts/install-deps");
    if (!fs::exists(kOracle / "node_modules/@sabaki/sgf"))
        ORACLE_MISSING("@sabaki/sgf is not installed in " << kOracle << ": run scripts/install-deps");
    const fs::path input = dir_ / "last-move.sgf";
    const fs::path saved = dir_ / "last-move-saved.sgf";
    std::ofstream(input) << "(;GM[1]FF[4]CA[UTF-8]SZ[9]AP[Velmora:1.0];B[cc];W[gg]"
                            "(;C[참고도-다른 수];B[gc];W[cg])(;C[장면도-둘째];B[ee]))";
    const fs::path cli = fs::path(VELMORA_BIN_DIR) / "velmora-cli";
    int status = 0;
    Shell(Quoted(cli) + " convert " + Quoted(input) + " -o " + Quoted(saved), status);
    ASSERT_EQ(status, 0);
    const std::string info = Shell(Quoted(cli) + " info " + Quoted(saved), status);
    EXPECT_NE(info.find("moves: 2\ndiagrams: 2\n"), std::string::npos) << info;
    // GNU Go stands at the end with black to play; @sabaki/sgf's main line has the two moves.
    const std::string gnugo = Shell("printf 'loadsgf %s\\nlist_stones black\\nquit\\n' " + Quoted(saved) +
                                        " | " + Quoted(kGnuGo) + " --mode gtp",
                                    status);
    EXPECT_NE(gnugo.find("= black\n\n= C7\n"), std::string::npos) << gnugo;
    const std::string moves = Shell(
        "cd " + Quoted(kOracle) + " && node -e \"const t=require('@sabaki/sgf').parse(require('fs')"
        ".readFileSync(process.argv[1],'utf8'))[0];let n=t,m=0;while(n){if(n.data.B||n.data.W)m++;"
        "n=n.children[0]}console.log(m)\" " + Quoted(saved),
        status);
    EXPECT_EQ(moves, "2\n");
}

}  // namespace
}  // namespace velmora
