#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <filesystem>

#include "CliTestSupport.h"

namespace velmora {
namespace {

int Render(const std::vector<std::string>& args, std::string* err = nullptr) {
    const test::CliRun run = test::Cli(args);
    if (err) *err = run.err;
    return run.status;
}

const std::string kSample = std::string(VELMORA_TEST_DATA) + "/../../resources/samples/sample.sgf";

TEST(RenderCommand, DrawsTheBoardAtTheGivenSizeAndMove) {
    if (!QDir(VELMORA_BIN_DIR).exists("Resource.bk2")) GTEST_SKIP() << "Resource.bk2 not built yet";
    const std::string png =
        (std::filesystem::temp_directory_path() / "velmora-cli-render.png").string();
    std::filesystem::remove(png);
    std::string err;
    ASSERT_EQ(Render({"render", kSample, "--move", "3", "--size", "420x380", "--coords",
                      "--numbers", "2", "-o", png},
                     &err),
              kCliOk)
        << err;
    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(420, 380));
    // Move 3 is black at Q17 (column 16, row 17): cell 17 with coordinates, pad 4.
    const int cell = (380 - 44) / 19;
    const int x0 = (420 - (19 * cell + 8)) / 2 - 10;
    const int y0 = (380 - (19 * cell + 8)) / 2 - 10;
    const QRgb stone = image.pixel(x0 + 4 + 15 * cell + cell / 2 - 3,
                                   y0 + 4 + 16 * cell + cell / 2 + 2 * cell / 5);
    EXPECT_LT(qGray(stone), 90);
    std::filesystem::remove(png);
}

TEST(RenderCommand, RefusesBadOptions) {
    EXPECT_EQ(Render({"render", kSample}), kCliUsage);  // no -o
    EXPECT_EQ(Render({"render", kSample, "--size", "400", "-o", "x.png"}), kCliUsage);
    EXPECT_EQ(Render({"render", kSample, "--size", "0x400", "-o", "x.png"}), kCliUsage);
    EXPECT_EQ(Render({"render", kSample, "--size", "40x40x", "-o", "x.png"}), kCliUsage);
    EXPECT_EQ(Render({"render", kSample, "--numbers", "3", "-o", "x.png"}), kCliUsage);
    EXPECT_EQ(Render({"render", kSample, "--move", "9999", "-o", "x.png"}), kCliUsage);
    EXPECT_EQ(Render({"render", "/nonexistent.sgf", "-o", "x.png"}), kCliFailed);
}

}  // namespace
}  // namespace velmora
