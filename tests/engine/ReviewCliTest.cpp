#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>

#include <gtest/gtest.h>

#include "engine/GameReview.h"
#include "record/SgfTree.h"

// velmora-cli review and score as a user runs them, with GNU Go, on a short 9×9 game whose
// move 15 (B J1) throws away a point it needed: the review's file is then read by GNU Go and by
// @sabaki/sgf, another program's reader.

namespace velmora {
namespace {

const QString kGame = VELMORA_TEST_DATA "/engine/game9.sgf";
const QString kGnuGo = "/usr/games/gnugo --mode gtp --level 1 --seed 1";

struct Ran {
    int status = -1;
    std::string out;
    std::string err;
};

Ran Cli(const QStringList& args) {
    QProcess cli;
    cli.start(VELMORA_BIN_DIR "/velmora-cli", args);
    cli.waitForFinished(120000);
    return {cli.exitCode(), cli.readAllStandardOutput().toStdString(), cli.readAllStandardError().toStdString()};
}

Ran Shell(const QString& command) {
    QProcess shell;
    shell.start("sh", {"-c", command});
    shell.waitForFinished(60000);
    return {shell.exitCode(), shell.readAllStandardOutput().toStdString(), shell.readAllStandardError().toStdString()};
}

std::string Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

class ReviewCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists("/usr/games/gnugo")) GTEST_SKIP() << "GNU Go is not installed";
    }
    // A script engine in dir: the shell text after the GTP loop's "case" head.
    QString ScriptEngine(const QString& name, const QString& cases) {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(("#!/bin/bash\nwhile read -r id cmd rest; do case \"$cmd\" in\n" + cases +
                    "\n*) printf '=%s\\n\\n' \"$id\" ;; esac; done\n").toUtf8());
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(ReviewCliTest, ReviewsAGameThatOtherProgramsReadAndGoesOnWhereItStopped) {
    const QString out = dir.filePath("reviewed.sgf");
    const Ran run = Cli({"review", kGame, "-o", out, "--engine", kGnuGo, "--jobs", "2"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("검토 43/43"), std::string::npos) << run.err;
    const std::string saved = Read(out);

    // Every main-line move judged, the main line as it was, one diagram beside move 15.
    const GameTree tree = ReadSgfTree(saved).tree;
    const GameTree original = ReadSgfTree(Read(kGame)).tree;
    NodeId n = tree.Root();
    NodeId o = original.Root();
    int moves = 0;
    std::vector<std::string> diagrams;
    for (; n != kNoNode && o != kNoNode; n = tree.FirstChild(n), o = original.FirstChild(o), ++moves) {
        EXPECT_TRUE(tree.Has(n, "SBKV") && tree.Has(n, "VMSL") && tree.Has(n, "VMEN")) << moves;
        EXPECT_EQ(tree.Values(n, "B"), original.Values(o, "B"));
        EXPECT_EQ(tree.Values(n, "W"), original.Values(o, "W"));
        for (NodeId c = tree.Child(n, 1); c != kNoNode; c = tree.NextSibling(c))
            diagrams.push_back(std::to_string(moves) + " " + std::string(tree.FirstValue(c, "C")) +
                               " " + std::string(tree.FirstValue(c, "VMRV")) + " " +
                               std::string(tree.FirstValue(tree.FirstChild(c), "B")));
    }
    EXPECT_TRUE(n == kNoNode && o == kNoNode);
    EXPECT_EQ(diagrams, std::vector<std::string>{"14 참고도-AI 추천 E4 · 약 4.6집 손해 1 ef"});

    // Other programs read it: GNU Go to its end, @sabaki/sgf with the diagram as a branch.
    const Ran gnugo = Shell(QString("printf 'loadsgf %1\\nlist_stones white\\n' | /usr/games/gnugo --mode gtp").arg(out));
    EXPECT_EQ(gnugo.out.find('?'), std::string::npos) << gnugo.out;
    const QString oracle = VELMORA_TEST_DATA "/../record/oracle/node_modules/@sabaki/sgf";
    if (!QDir(oracle).exists() && qgetenv("CI") == "true") ADD_FAILURE() << "@sabaki/sgf is not installed";
    const Ran sabaki = Shell(QString("node -e \"const s=require('%1');const t=s.parseFile('%2')[0];"
                                     "let n=t,b=0;while(n.children.length){b+=n.children.length-1;n=n.children[0]}"
                                     "console.log(b, n.data.VMEN[0])\"")
                                 .arg(oracle, out));
    if (QDir(oracle).exists()) {
        EXPECT_EQ(sabaki.out, "1 GNU Go 3.8\n") << sabaki.err;
    }

    // Again on the reviewed file: nothing is left to judge, so no engine is needed.
    const QString idle = dir.filePath("no-engine");
    const QString again = dir.filePath("again.sgf");
    const Ran resumed = Cli({"review", out, "-o", again, "--engine", idle});
    EXPECT_EQ(resumed.status, 0) << resumed.err;
    EXPECT_EQ(Read(again), saved);
}

// --replace takes away what a review made and keeps the user's diagrams; --max-diagrams 0
// makes none.
TEST_F(ReviewCliTest, ReplacingKeepsTheUsersDiagrams) {
    GameTree tree = ReadSgfTree(Read(kGame)).tree;
    const NodeId second = tree.FirstChild(tree.FirstChild(tree.Root()));
    for (const char* comment : {"참고도-내 생각", "참고도-AI 추천 A1"}) {
        const NodeId mine = tree.AddNode(second);
        tree.AddValue(mine, "C", comment);
        tree.AddValue(tree.AddNode(mine), "W", "aa");
    }
    tree.AddValue(tree.Child(second, 2), "VMRV", "1");
    const QString in = dir.filePath("mine.sgf");
    QFile file(in);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(WriteSgfTree(tree).c_str());
    file.close();
    const QString out = dir.filePath("replaced.sgf");
    const Ran run = Cli({"review", in, "-o", out, "--engine", kGnuGo, "--replace", "--max-diagrams", "0"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string saved = Read(out);
    EXPECT_NE(saved.find("(;C[참고도-내 생각];W[aa])"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("VMRV"), std::string::npos) << saved;
}

TEST_F(ReviewCliTest, FailuresAndUsageErrorsAreSaidAndWriteNothing) {
    const QString out = dir.filePath("never.sgf");
    const QString dying = ScriptEngine("dying.sh", "list_commands) printf '=%s reg_genmove\\nestimate_score\\n\\n' \"$id\" ;;\n"
                                                   "estimate_score) echo 'segmentation fault' >&2; exit 139 ;;");
    const Ran died = Cli({"review", kGame, "-o", out, "--engine", dying});
    EXPECT_EQ(died.status, 1);
    EXPECT_NE(died.err.find("velmora-cli: 엔진이 끝났습니다 (종료 코드 139): segmentation fault"), std::string::npos) << died.err;
    const Ran missing = Cli({"review", kGame, "-o", out, "--engine", "'/no such/engine' --gtp"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("엔진 프로그램 '/no such/engine'을(를) 찾을 수 없습니다"), std::string::npos) << missing.err;
    const Ran level = Cli({"review", kGame, "-o", out, "--engine", dying, "--visits", "100"});
    EXPECT_EQ(level.status, 1);
    EXPECT_NE(level.err.find("visits"), std::string::npos) << level.err;
    EXPECT_FALSE(QFile::exists(out));

    for (const QStringList& usage : {QStringList{"review", kGame}, {"review", kGame, "-o", out, "--jobs", "0"},
                                     {"review", kGame, "-o", out, "--level", "1", "--visits", "5"},
                                     {"review", kGame, "-o", out, "--engine", "gnugo 'open"},
                                     {"review", kGame, "-o", out, "--colour", "X"},
                                     {"score", kGame, "--rules", "aga"}})
        EXPECT_EQ(Cli(usage).status, 2) << usage.join(" ").toStdString();
}

// An engine that streams its analysis (as KataGo does) gives win rates and lines; here every
// position is 55% and 1.5 points for the colour to play, so every move loses 3 points.
TEST_F(ReviewCliTest, AnAnalysingEngineGivesWinRatesAndLines) {
    const QString kata = ScriptEngine(
        "kata.sh", "list_commands) printf '=%s kata-analyze\\nplay\\n\\n' \"$id\" ;;\n"
                   "kata-analyze) printf '=%s\\ninfo move D4 visits 300 winrate 0.55 scoreLead 1.5 order 0 pv D4 C3 E5\\n' \"$id\";"
                   " read -r next rest; printf '\\n=%s\\n\\n' \"$next\" ;;");
    const QString out = dir.filePath("kata.sgf");
    const Ran run = Cli({"review", kGame, "-o", out, "--engine", kata, "--threshold", "2", "--max-diagrams", "2", "--colour", "W"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string saved = Read(out);
    EXPECT_NE(saved.find(";W[de]SBKV[55.0]VMSL[1.5]VMBM[df]VMPV[df][cg][ee]"), std::string::npos) << saved;
    // White's first two moves, each beside its move.
    const std::string diagram = "(;C[참고도-AI 추천 D4 · 승률 55% → 45% · 약 3집 손해]VMRV[1];W[df];B[cg];W[ee])";
    EXPECT_NE(saved.find("VMBU[default](;W[de]"), std::string::npos);
    EXPECT_NE(saved.find("VMBU[default](;W[eg]"), std::string::npos);
    EXPECT_EQ(saved.find(diagram + ")" + diagram + ")"), saved.size() - 2 * diagram.size() - 2);
}

// The count agrees with GNU Go's own final score, by territory and by area.
TEST_F(ReviewCliTest, ScoreCountsWithTheEnginesDeadStones) {
    const Ran japanese = Cli({"score", kGame, "--engine", kGnuGo});
    ASSERT_EQ(japanese.status, 0) << japanese.err;
    EXPECT_EQ(japanese.out,
              "W+4.5\n흑: 집 25, 따낸 돌 2, 죽은 돌 1 (J1)\n백: 집 22, 따낸 돌 3, 죽은 돌 0\n");
    EXPECT_EQ(japanese.err, "");
    for (const QString rules : {"japanese", "chinese"}) {
        const Ran ours = Cli({"score", kGame, "--rules", rules});
        const Ran theirs = Shell(QString("printf 'loadsgf %1\\nfinal_score\\n' | /usr/games/gnugo --mode gtp %2")
                                     .arg(kGame, rules == "chinese" ? "--chinese-rules" : ""));
        EXPECT_NE(theirs.out.find("= " + ours.out.substr(0, ours.out.find('\n'))), std::string::npos)
            << rules.toStdString() << ours.out << theirs.out;
    }
}

}  // namespace
}  // namespace velmora
