// kestrune-tool bmp, run as the developer runs it.

#include "tests/renderer/resources/dib_builder.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/tool_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrune {
namespace {

using test::DibFields;
using test::ReadBytes;
using test::TempFolder;
using test::ToolRun;

ToolRun RunBmp(const std::vector<std::string>& arguments) {
    std::vector<std::string> words = {"bmp"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return test::RunKestruneTool(words);
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
    const std::string ppm = folder.File("out.ppm");

    const ToolRun result = RunBmp({bmp, ppm});
    EXPECT_EQ(result.exitCode, 0) << result.error;
    EXPECT_EQ(result.output, "2x2\n");
    EXPECT_EQ(result.error, "");
    const std::string expected = std::string("P6\n2 2\n255\n") +
                                 std::string({9, 8, 7, 12, 11, 10}) +
                                 std::string({3, 2, 1, 6, 5, 4});
    EXPECT_EQ(ReadBytes(ppm), expected);

    const ToolRun sizeOnly = RunBmp({bmp});
    EXPECT_EQ(sizeOnly.exitCode, 0);
    EXPECT_EQ(sizeOnly.output, "2x2\n");
}

TEST(BmpCommand, RefusalsPrintTheLoadersMessageOnStandardErrorAndFail) {
    TempFolder folder;
    DibFields dib;
    dib.headerSize = 124;
    dib.pixels = {0, 0, 0, 0};
    const std::string v5 = folder.Write("v5.bmp", test::MakeDib(dib));
    const ToolRun refused = RunBmp({v5});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.output, "");
    EXPECT_EQ(refused.error, "Unknown DIB file format.\n");

    const std::string empty = folder.Write("empty.bmp", "");
    const ToolRun unmappable = RunBmp({empty});
    EXPECT_EQ(unmappable.exitCode, 1);
    EXPECT_EQ(unmappable.error, "Failed to open DIB file " + empty + ".\n");

    const ToolRun missing = RunBmp({folder.File("none.bmp")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.output, "");
    EXPECT_NE(missing.error, "");
}

} // namespace
} // namespace kestrune
