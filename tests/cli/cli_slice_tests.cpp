// trevanto-cli slice run as a program on the generated clips.
#include <gtest/gtest.h>

#include <regex>

#include "cli_process.h"

namespace trevanto {
namespace {

using test::RunCli;

std::string Mpeg2() {
    return test::MediaPath("clip_mpeg2.mpg");  // 150 frames, cuts at 30, 70, 110
}

TEST(CliSlice, EnginePrintsOneLinePerShot) {
    const auto result = RunCli({"slice", Mpeg2()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "1\t0\t29\tshot 0001 ( 0 - 29 )\n"
              "2\t30\t69\tshot 0002 ( 30 - 69 )\n"
              "3\t70\t109\tshot 0003 ( 70 - 109 )\n"
              "4\t110\t149\tshot 0004 ( 110 - 149 )\n");
    EXPECT_EQ(result.err, "");  // not a terminal: no progress line
}

TEST(CliSlice, SamplerEveryFortyFrames) {
    const auto result = RunCli({"slice", Mpeg2(), "--sampler", "frames", "40", "--quiet"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "1\t0\t39\tshot 0001 ( 0 - 39 )\n"
              "2\t40\t79\tshot 0002 ( 40 - 79 )\n"
              "3\t80\t119\tshot 0003 ( 80 - 119 )\n"
              "4\t120\t149\tshot 0004 ( 120 - 149 )\n");
    // Packed B-frames in AVI: numbered from the first picture to the last.
    const auto packed = RunCli(
        {"slice", test::MediaPath("clip_xvid_packed.avi"), "--sampler", "3", "100", "--quiet"});
    EXPECT_EQ(packed.out,
              "1\t0\t99\tshot 0001 ( 0 - 99 )\n"
              "2\t100\t199\tshot 0002 ( 100 - 199 )\n");
}

TEST(CliSlice, MarksBoundTheRunAndTimecodesCaptionIt) {
    const auto result = RunCli({"slice", Mpeg2(), "--engine", "--threshold", "15", "--start", "40",
                                "--end", "100", "--timecodes"});
    EXPECT_EQ(result.status, 0) << result.err;
    const std::regex line(R"((\d+)\t(\d+)\t(\d+)\t\d\d:\d\d:\d\d:\d{4} - \d\d:\d\d:\d\d:\d{4}\n)");
    std::vector<std::string> ranges;
    for (auto it = std::sregex_iterator(result.out.begin(), result.out.end(), line);
         it != std::sregex_iterator(); ++it) {
        ranges.push_back((*it)[2].str() + "-" + (*it)[3].str());
    }
    EXPECT_EQ(ranges, (std::vector<std::string>{"40-69", "70-100"})) << result.out;
}

TEST(CliSlice, HighThresholdFindsNoCut) {
    const auto result = RunCli({"slice", Mpeg2(), "--threshold", "1000"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "1\t0\t149\tshot 0001 ( 0 - 149 )\n");
}

TEST(CliSlice, UnplayableVideosFailWithTheirMessage) {
    test::TempFolder folder;
    const auto missing = RunCli({"slice", folder.File("missing.mpg")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("Sorry, I do not know how to play this file."), std::string::npos);

    const auto quicktime = RunCli({"slice", folder.File("holiday.MOV")});
    EXPECT_EQ(quicktime.status, 1);
    EXPECT_NE(quicktime.err.find("Apple Quicktime format is not supported."), std::string::npos);

    const auto badTemplate = RunCli({"slice", Mpeg2(), "--template", folder.File("none.bmp")});
    EXPECT_EQ(badTemplate.status, 1);
    EXPECT_NE(badTemplate.err.find("cannot load"), std::string::npos);
}

TEST(CliSlice, BadArgumentsExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"slice"},
        {"cut", Mpeg2()},
        {"slice", Mpeg2(), "--frobnicate"},
        {"slice", Mpeg2(), "--sampler", "often", "3"},
        {"slice", Mpeg2(), "--sampler", "frames", "0"},
        {"slice", Mpeg2(), "--sampler", "frames"},
        {"slice", Mpeg2(), "--sampler", "frames", "40", "--engine"},
        {"slice", Mpeg2(), "--threshold", "-1"},
        {"slice", Mpeg2(), "--start", "12x"},
        {"slice", Mpeg2(), "--start", "50", "--end", "10"},
        {"slice", Mpeg2(), "--end", "150"},  // past the last frame
        {"slice", Mpeg2(), Mpeg2()},
    };
    for (const auto& arguments : cases) {
        const auto result = RunCli(arguments);
        std::string shown;
        for (const auto& argument : arguments)
            shown += argument + " ";
        EXPECT_EQ(result.status, 2) << shown;
        EXPECT_EQ(result.out, "") << shown;
        EXPECT_FALSE(result.err.empty()) << shown;
    }
}

TEST(CliSlice, HelpExplainsEveryOption) {
    const auto result = RunCli({"slice", "--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(RunCli({"--help"}).status, 0);
    EXPECT_EQ(RunCli({"help", "slice"}).out, result.out);
    // The version of the About box ("Version 2.1"), from the project.
    EXPECT_EQ(RunCli({"--version"}).out, "trevanto-cli 2.1\n");
}

}  // namespace
}  // namespace trevanto
