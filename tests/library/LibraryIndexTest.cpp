#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "library/LibraryIndex.h"
#include "library/PatternSearch.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

class LibraryIndexTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("velmora-library-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "games/sub");
    }
    void TearDown() override { fs::remove_all(dir_); }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / "games" / name, std::ios::binary) << text;
    }
    std::vector<std::string> Found(const LibraryFilter& filter) {
        std::vector<std::string> found;
        for (const LibraryGame& g : index_.Find(filter))
            found.push_back(fs::path(g.path).filename().string() + "#" + std::to_string(g.game));
        return found;
    }

    fs::path dir_;
    LibraryIndex index_;
};

using Names = std::vector<std::string>;

TEST_F(LibraryIndexTest, ScansFiltersFindsDuplicatesAndRescansOnlyWhatChanged) {
    Write("one.sgf",
          "(;SZ[19]PB[Lee Sedol]BR[9p]PW[이창호]EV[제1회 명인전]RO[3]DT[2001-05-03,04]RE[B+3.5]"
          "KM[6.5]C[화점 정석입니다];B[pd]C[Black's shape];W[dd];B[pp])");
    // The same moves transposed: a duplicate under the board's symmetries.
    Write("sub/rotated.sgf", "(;SZ[19]PB[Someone]PW[Other];B[dp];W[dd];B[pp])");
    Write("collection.sgf",
          "(;SZ[9]PB[A]PW[B]RE[W+R]DT[1999];B[ee])\n(;SZ[9]PB[C]PW[Lee  sedol]DT[2003년 2월];B[cc])");
    Write("broken.sgf", "not a record");
    Write("big.SGF", "(;SZ[30];B[aa])");
    Write("notes.txt", "(;B[aa])");
    fs::copy_file(VELMORA_TEST_DATA "/sgf/cp949.sgf", dir_ / "games/sub/cp949.sgf");

    std::string why;
    ASSERT_TRUE(index_.Open((dir_ / "db/library.db").string(), why)) << why;
    EXPECT_FALSE(index_.AddFolder((dir_ / "none").string(), why));
    ASSERT_TRUE(index_.AddFolder((dir_ / "games").string(), why)) << why;
    LibraryScanReport report = index_.Scan();
    EXPECT_EQ(report.filesRead, 6);
    EXPECT_EQ(report.games, 5);
    EXPECT_EQ(report.unreadable, 2);
    const std::vector<UnreadableFile> unreadable = index_.Unreadable();
    ASSERT_EQ(unreadable.size(), 2u);
    EXPECT_NE(unreadable[0].why.find("30"), std::string::npos) << unreadable[0].why;
    EXPECT_EQ(unreadable[1].why, "SGF 기보가 없습니다.");

    // Player: either colour, case and spaces ignored; a collection's games by their place.
    EXPECT_EQ(Found({.player = "leesedol"}), (Names{"collection.sgf#2", "one.sgf#1"}));
    EXPECT_EQ(Found({.player = "이세돌"}), Names{"cp949.sgf#1"});  // "name:second:rank" in PB
    EXPECT_EQ(Found({.event = "명인"}), Names{"one.sgf#1"});
    EXPECT_EQ(Found({.from = "2001", .to = "2001-05"}), Names{"one.sgf#1"});
    EXPECT_EQ(Found({.from = "2001-05-04"}), Names{"collection.sgf#2"});
    EXPECT_EQ(Found({.to = "2000"}), Names{"collection.sgf#1"});
    EXPECT_EQ(Found({.winner = GameWinner::kWhite}), Names{"collection.sgf#1"});
    // Comment words: a substring each, all required; two hangul syllables too.
    EXPECT_EQ(Found({.text = "정석"}), Names{"one.sgf#1"});
    EXPECT_EQ(Found({.text = "SHAPE 화점 화"}), Names{"one.sgf#1"});
    EXPECT_EQ(Found({.text = "shape 없는말"}), Names{});
    EXPECT_EQ(Found({.text = "k's_s"}), Names{});  // LIKE's wildcards are letters here
    EXPECT_EQ(Found({.player = "sedol", .size = 9}), Names{"collection.sgf#2"});

    const std::vector<LibraryGame> all = index_.Find({});
    ASSERT_EQ(all.size(), 5u);
    const auto game = [&](const std::string& name) {
        for (const LibraryGame& g : all)
            if (fs::path(g.path).filename() == name) return g;
        return LibraryGame{};
    };
    EXPECT_EQ(game("rotated.sgf").duplicateOf, game("one.sgf").id);
    EXPECT_EQ(game("one.sgf").duplicateOf, 0);
    EXPECT_EQ(game("cp949.sgf").encoding, "CP949");
    EXPECT_EQ(game("one.sgf").blackRank, "9p");
    EXPECT_EQ(game("one.sgf").dateKey, "2001-05-03");
    EXPECT_EQ(game("one.sgf").moves, 3);

    // Nothing changed: nothing is read again.
    report = index_.Scan();
    EXPECT_EQ(report.filesRead, 0);
    EXPECT_EQ(report.filesUnchanged, 6);

    // One file changed, one gone, one new; a fresh object on the same file sees it all.
    Write("collection.sgf", "(;SZ[9]PB[A]PW[B]RE[W+R]DT[1999];B[ee])");
    fs::remove(dir_ / "games/sub/rotated.sgf");
    Write("sub/new.sgf", "(;SZ[13]PB[LEE SEDOL]PW[X];B[dd])");
    LibraryIndex reopened;
    ASSERT_TRUE(reopened.Open((dir_ / "db/library.db").string(), why)) << why;
    EXPECT_EQ(reopened.Folders(), std::vector<std::string>{(dir_ / "games").string()});
    report = reopened.Scan();
    EXPECT_EQ(report.filesRead, 2);
    EXPECT_EQ(report.filesRemoved, 1);
    EXPECT_EQ(report.filesUnchanged, 4);
    EXPECT_EQ(Found({.player = "leesedol"}), (Names{"one.sgf#1", "new.sgf#1"}));
    EXPECT_EQ(reopened.LoadPositions(19).GameCount(), 2u);
    EXPECT_EQ(reopened.LoadPositions(13).GameCount(), 1u);
}

}  // namespace
}  // namespace velmora
