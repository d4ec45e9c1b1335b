// kestrune-tool bmp, run as the developer runs it.

#include "tests/renderer/resources/dib_builder.h"
#include "tests/renderer/resources/temp_files.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kestrune {
namespace {

using test::DibFields;
using test::TempFolder;

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
};

Result RunTool(const TempFolder& folder, const std::vector<std::string>& arguments) {
    test::ChildProcess::Options options;
    options.arguments = {"bmp"};
    options.arguments.insert(options.arguments.end(), arguments.begin(), arguments.end());
    options.outputPath = (folder.path() / "stdout.txt").string();
    options.errorPath = (folder.path() / "stderr.txt").string();
    Result result;
    result.exitCode = test::RunProgram(std::string(KESTRUNE_BIN_DIR) + "/kestrune-tool", options,
                                       std::chrono::seconds(60))
                          .value_or(-1);
    result.out = ReadText(options.outputPath);
    result.err = ReadText(options.errorPath);
    return result;
}

TEST(BmpCommand, PrintsTheSizeAndWritesThePictureTopRowFirst) {
    TempFolder folder;
    DibFields dib;
    dib.width = 2;
    dib.height = 2;
    // Stored bottom row first: (1,2,3) (4,5,6), then (7,8,9) (10,11,12) as
    // blue, green, red.
    dib.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    const std::string bmp = folder.Write("in.bmp", test::MakeDib(dib));
    const auto ppm = folder.path() / "out.ppm";

    const Result result = RunTool(folder, {bmp, ppm.string()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "2x2\n");
    EXPECT_EQ(result.err, "");
    const std::string expected = std::string("P6\n2 2\n255\n") +
                                 std::string({9, 8, 7, 12, 11, 10}) +
                                 std::string({3, 2, 1, 6, 5, 4});
    EXPECT_EQ(ReadText(ppm), expected);

    const Result sizeOnly = RunTool(folder, {bmp});
    EXPECT_EQ(sizeOnly.exitCode, 0);
    EXPECT_EQ(sizeOnly.out, "2x2\n");
}

TEST(BmpCommand, RefusalsPrintTheLoadersMessageOnStandardErrorAndFail) {
    TempFolder folder;
    DibFields dib;
    dib.headerSize = 124;
    dib.pixels = {0, 0, 0, 0};
    const std::string v5 = folder.Write("v5.bmp", test::MakeDib(dib));
    const Result refused = RunTool(folder, {v5});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "Unknown DIB file format.\n");

    const std::string empty = folder.Write("empty.bmp", {});
    const Result unmappable = RunTool(folder, {empty});
    EXPECT_EQ(unmappable.exitCode, 1);
    EXPECT_EQ(unmappable.err, "Failed to open DIB file " + empty + ".\n");

    const Result missing = RunTool(folder, {(folder.path() / "none.bmp").string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err, "");
}

} // namespace
} // namespace kestrune
