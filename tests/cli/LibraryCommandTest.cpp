#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CliTestSupport.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

TEST(LibraryCommand, IndexesThenFindsByFiltersAndByPatternWithContinuations) {
    const fs::path dir = fs::temp_directory_path() / ("velmora-cli-library-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "games");
    const auto write = [&](const std::string& name, const std::string& text) { std::ofstream(dir / name) << text; };
    write("games/a.sgf", "(;PB[Lee Sedol]PW[Kim]DT[2004-03-01]RE[B+R]C[화점 정석];B[pd];W[qc];B[qd];W[pc])");
    // The same corner turned over and colours exchanged; a collection's second game.
    write("games/b.sgf", "(;PB[X]PW[Y];B[dd])(;PB[Park]PW[lee sedol]DT[2010]RE[W+2.5];W[dp];B[cq];W[dq];B[cp])");
    write("games/bad.sgf", "(;SZ[1:2])");
    write("pattern.sgf", "(;SZ[19]AB[pd]AW[qc]MA[ra][sb])");
    const std::string db = (dir / "library.db").string();

    test::CliRun run = test::Cli({"library", "index", (dir / "games").string(), "--db", db});
    EXPECT_EQ(run.status, kCliOk) << run.err;
    EXPECT_NE(run.err.find("3 files read (3 games), 0 unchanged, 0 removed, 1 unreadable"), std::string::npos) << run.err;
    const std::string a = (dir / "games/a.sgf").string();
    const std::string b = (dir / "games/b.sgf").string();

    run = test::Cli({"library", "find", "--db", db, "--player", "LEESEDOL", "--from", "2005"});
    EXPECT_EQ(run.out, b + "\t2\t0\t-\n");
    run = test::Cli({"library", "find", "--db", db, "--text", "정석", "--result", "B", "--json"});
    EXPECT_EQ(run.out, "{\"path\":\"" + a + "\",\"game\":1,\"move\":0,\"next\":\"-\"}\n");

    // In its place only a.sgf; with colours swapped b's second game too, at its own moves,
    // its continuation brought back into the pattern's corner and colours. The pattern is
    // symmetric: qd and its image pc are one continuation, named by the least.
    const std::vector<std::string> pattern = {"library", "find", "--db", db, "--pattern", (dir / "pattern.sgf").string(),
                                              "--area", "pa:sd"};
    run = test::Cli(pattern);
    EXPECT_EQ(run.out, a + "\t1\t2\tB[qd]\n\nB[pc]\t1\t1\n");
    std::vector<std::string> swapped = pattern;
    swapped.push_back("--swap-colours");
    run = test::Cli(swapped);
    EXPECT_EQ(run.out, a + "\t1\t2\tB[qd]\n" + b + "\t2\t2\tW[dq]\n\nB[pc]\t2\t2\n");
    swapped.push_back("--player");
    swapped.push_back("park");
    EXPECT_EQ(test::Cli(swapped).out, b + "\t2\t2\tW[dq]\n\nB[pc]\t1\t1\n");

    run = test::Cli({"library", "check", "--db", db});
    EXPECT_EQ(run.out.substr(0, run.out.find('\t', 11)), "unreadable\t" + (dir / "games/bad.sgf").string());
    EXPECT_EQ(test::Cli({"library", "find", "--db", db, "--area", "aa:bb"}).status, kCliUsage);
    EXPECT_EQ(test::Cli({"library", "find", "--db", db, "--from", "May"}).status, kCliUsage);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace velmora
