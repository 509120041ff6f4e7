#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "CliTestSupport.h"

namespace velmora {
namespace {

struct ProcessRun {
    int status = -1;
    std::string output;  // standard output and standard error together
};

// Runs a shell command line → its exit status and everything it wrote.
ProcessRun Shell(const std::string& command) {
    ProcessRun run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

const std::string kCli = std::string(VELMORA_BIN_DIR) + "/velmora-cli";
const std::string kSample = std::string(VELMORA_TEST_DATA) + "/../../resources/samples/sample.sgf";

TEST(CliProcess, RecordToolsLoadNoQtLibrary) {
    // The dynamic loader names every library it maps; none of Qt's may be among them.
    const ProcessRun run = Shell("LD_DEBUG=libs '" + kCli + "' board '" + kSample + "'");
    EXPECT_EQ(run.status, kCliOk) << run.output;
    EXPECT_EQ(run.output.find("libQt6"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(test::Cli({"board", kSample}).out), std::string::npos) << run.output;

    const std::string db = (std::filesystem::temp_directory_path() / "velmora-cli-process.db").string();
    const ProcessRun library = Shell("LD_DEBUG=libs '" + kCli + "' library find --db '" + db + "'");
    EXPECT_EQ(library.status, kCliOk) << library.output;
    EXPECT_EQ(library.output.find("libQt6"), std::string::npos) << library.output;
    std::filesystem::remove(db);
}

TEST(CliProcess, DrawingIsHandedOverWithItsStatusAndMessages) {
    const ProcessRun usage = Shell("'" + kCli + "' render '" + kSample + "'");
    EXPECT_EQ(usage.status, kCliUsage);
    EXPECT_EQ(usage.output, "velmora-cli: render needs -o OUT.png (velmora-cli --help)\n");

    if (!std::filesystem::exists(std::string(VELMORA_BIN_DIR) + "/Resource.bk2"))
        GTEST_SKIP() << "Resource.bk2 not built yet";
    const std::string png =
        (std::filesystem::temp_directory_path() / "velmora-cli-process.png").string();
    std::filesystem::remove(png);
    const ProcessRun drawn =
        Shell("'" + kCli + "' render '" + kSample + "' --size 200x200 -o '" + png + "'");
    EXPECT_EQ(drawn.status, kCliOk) << drawn.output;
    EXPECT_GT(std::filesystem::file_size(png), 0u);
    std::filesystem::remove(png);
}

}  // namespace
}  // namespace velmora
