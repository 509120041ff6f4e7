#include "engine/GtpEngine.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace velmora {
namespace {

// An engine in a few lines of shell: it answers every command, streams kata-analyze until the
// next command, and misbehaves on request: "hang" never answers, "die" writes on standard
// error and exits with status 3, "garbage" writes what is no GTP answer.
constexpr const char* kScript = R"(#!/bin/bash
while read -r id cmd rest; do
  case "$cmd" in
    list_commands) printf '=%s name\nkata-analyze\nplay\n\n' "$id" ;;
    name) printf '=%s 시험 엔진\n\n' "$id" ;;
    kata-analyze)
      printf '=%s\ninfo move D4 visits 10 winrate 0.6 scoreLead 2.5 order 0 pv D4 C3\n' "$id"
      read -r next nextcmd
      printf '\n=%s\n\n' "$next" ;;
    play) printf '?%s illegal move\n\n' "$id" ;;
    hang) exec sleep 30 ;;
    die) echo "out of memory" >&2; exit 3 ;;
    garbage) echo "Welcome to my engine" ;;
    *) printf '=%s\n\n' "$id" ;;
  esac
done
)";

class GtpEngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        script = dir.filePath("engine.sh");
        QFile file(script);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kScript);
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        engine = std::make_unique<GtpEngine>(std::vector<std::string>{script.toStdString()});
        QObject::connect(engine.get(), &GtpEngine::Failed, [this](const QString& w) { failures << w; });
        ASSERT_EQ(StartEngine(*engine), "");
    }

    QTemporaryDir dir;
    QString script;
    std::unique_ptr<GtpEngine> engine;
    QStringList failures;
};

TEST_F(GtpEngineTest, AnswersRefusalsAndAStreamInOrder) {
    EXPECT_EQ(engine->Name(), "시험 엔진");
    EXPECT_TRUE(engine->Knows("kata-analyze"));
    EXPECT_FALSE(engine->Knows("genmove"));
    const GtpReply refused = CallEngine(*engine, "play b Z99");
    EXPECT_EQ(refused.status, GtpStatus::kRefused);
    EXPECT_EQ(refused.text, "illegal move");

    std::vector<Candidate> seen;
    bool ended = false;
    engine->Analyse("kata-analyze b 10", 19, WinrateScale::kFraction,
                    [&](const std::vector<Candidate>& c) {
                        seen = c;
                        engine->StopAnalysis();
                    },
                    [&](const GtpReply& r) { ended = r.Ok(); });
    // Written behind the stream: answered once the stream has ended.
    EXPECT_TRUE(CallEngine(*engine, "clear_board").Ok());
    EXPECT_TRUE(ended);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_DOUBLE_EQ(seen[0].winrate, 60);
    EXPECT_TRUE(failures.isEmpty()) << failures.join("; ").toStdString();
}

// Each way an engine fails is said once, in words, every command waiting is given up, and the
// engine starts again afterwards.
TEST_F(GtpEngineTest, StalledDeadOrBabblingEnginesAreReportedAndRestart) {
    const std::vector<std::pair<std::string, QString>> cases = {
        {"hang", "엔진이 0.3초 동안 답하지 않습니다 (명령 'hang')"},
        {"die", "엔진이 끝났습니다 (종료 코드 3): out of memory"},
        {"garbage", "엔진이 GTP 답이 아닌 것을 보냈습니다: 'Welcome to my engine'"},
    };
    for (const auto& [command, why] : cases) {
        failures.clear();
        bool waitingGivenUp = false;
        engine->Send(command, {}, 300);
        engine->Send("name", [&](const GtpReply& r) { waitingGivenUp = r.status == GtpStatus::kStopped; });
        QEventLoop loop;
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        QObject::connect(engine.get(), &GtpEngine::Failed, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_EQ(failures, QStringList{why}) << command;
        EXPECT_TRUE(waitingGivenUp) << command;
        EXPECT_EQ(CallEngine(*engine, "name").status, GtpStatus::kStopped);
        ASSERT_EQ(StartEngine(*engine), "") << command;
        EXPECT_TRUE(CallEngine(*engine, "name").Ok()) << command;
    }
}

TEST_F(GtpEngineTest, AnEngineThatCannotStartIsNamedWithItsReason) {
    QFile plain(dir.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    for (const auto& [program, why] : std::vector<std::pair<QString, QString>>{
             {dir.filePath("missing"), "엔진 프로그램 '" + dir.filePath("missing") + "'을(를) 찾을 수 없습니다"},
             {"no-such-engine-here", "엔진 프로그램 'no-such-engine-here'을(를) 찾을 수 없습니다"},
             {dir.filePath("plain"), "엔진 프로그램 '" + dir.filePath("plain") + "'에 실행 권한이 없습니다"},
             {dir.path(), "엔진 프로그램 '" + dir.path() + "'은(는) 폴더입니다"}}) {
        GtpEngine broken({program.toStdString()});
        EXPECT_EQ(StartEngine(broken), why);
    }
}

}  // namespace
}  // namespace velmora
