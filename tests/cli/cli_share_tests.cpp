// One long video sliced in shares, as on several machines, and joined from
// the shares' statistics.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli_process.h"

namespace trevanto {
namespace {

using test::ReadWholeFile;
using test::RunCli;

// 750 frames: three segments of a run.
const std::string kLong = test::MediaPath("bench_mpeg2.mpg");

TEST(CliShares, SharesJoinIntoTheShotsAndStatisticsOfOneRun) {
    const test::TempFolder folder;
    const auto whole = RunCli({"slice", kLong, "--stats", folder.File("whole.csv")});
    ASSERT_EQ(whole.status, 0) << whole.err;
    const auto plan = RunCli({"slice", kLong, "--plan", "3"});
    ASSERT_EQ(plan.out, "0-249\n250-499\n500-749\n") << plan.err;
    std::vector<std::string> parts;
    std::istringstream shares(plan.out);
    for (std::string share; std::getline(shares, share);) {
        parts.push_back(folder.File("part" + std::to_string(parts.size()) + ".csv"));
        const auto node = RunCli({"slice", kLong, "--frames", share, "--stats", parts.back()});
        ASSERT_EQ(node.status, 0) << share << ": " << node.err;
    }
    const auto joined = RunCli({"slice", "--from-stats", parts[0], parts[1], parts[2], "--stats",
                                folder.File("joined.csv")});
    EXPECT_EQ(joined.out, whole.out) << joined.err;
    EXPECT_EQ(ReadWholeFile(folder.File("joined.csv")), ReadWholeFile(folder.File("whole.csv")));

    const std::string content = folder.File("content.csv");
    ASSERT_EQ(RunCli({"slice", kLong, "--detector", "content", "--stats", content}).status, 0);
    const struct {
        std::vector<std::string> arguments;
        int status;
        const char* says;
    } refusals[] = {
        {{"--from-stats", parts[0], parts[2]}, 1, "ended at frame 250 (frames are missing)"},
        {{"--from-stats", parts[1], parts[0]}, 1, "ended at frame 500 (the shares overlap)"},
        {{"--from-stats", parts[0], content}, 1, "holds another detector's scores"},
        {{kLong, "--frames", "10-249"}, 2, "segment edges"},
    };
    for (const auto& [arguments, status, says] : refusals) {
        std::vector<std::string> command = {"slice"};
        command.insert(command.end(), arguments.begin(), arguments.end());
        const auto refused = RunCli(command);
        EXPECT_EQ(refused.status, status) << says;
        EXPECT_NE(refused.err.find(says), std::string::npos) << refused.err;
    }
}

// The content detector scores a frame by the frames around it: each share
// reads on into the next, whose first scores the join takes from it.
TEST(CliShares, ContentSharesJoinIntoTheShotsAndStatisticsOfOneRun) {
    const test::TempFolder folder;
    const auto whole =
        RunCli({"slice", kLong, "--detector", "content", "--stats", folder.File("whole.csv")});
    ASSERT_EQ(whole.status, 0) << whole.err;
    const std::vector<std::string> rows[] = {{"0-249", "250-499", "500-749"}, {"0-499", "500-749"}};
    std::vector<std::string> threeParts;
    for (const auto& shares : rows) {
        std::vector<std::string> command = {"slice", "--from-stats"};
        for (const std::string& share : shares) {
            command.push_back(folder.File("part" + share + ".csv"));
            if (std::filesystem::exists(command.back()))
                continue;  // sliced for a row before
            const auto node = RunCli({"slice", kLong, "--detector", "content", "--frames", share,
                                      "--stats", command.back()});
            ASSERT_EQ(node.status, 0) << share << ": " << node.err;
        }
        if (threeParts.empty())
            threeParts.assign(command.begin() + 2, command.end());
        command.insert(command.end(), {"--stats", folder.File("joined.csv")});
        const auto joined = RunCli(command);
        EXPECT_EQ(joined.out, whole.out) << shares.size() << " shares: " << joined.err;
        EXPECT_EQ(ReadWholeFile(folder.File("joined.csv")),
                  ReadWholeFile(folder.File("whole.csv")));
    }
    const std::pair<std::vector<std::string>, const char*> refusals[] = {
        {{threeParts[0], threeParts[2]}, "ended at frame 250 (frames are missing)"},
        {{threeParts[1], threeParts[0]}, "ended at frame 500 (the shares overlap)"},
    };
    for (const auto& [parts, says] : refusals) {
        const auto refused = RunCli({"slice", "--from-stats", parts[0], parts[1]});
        EXPECT_EQ(refused.status, 1) << says;
        EXPECT_NE(refused.err.find(says), std::string::npos) << refused.err;
    }
}

}  // namespace
}  // namespace trevanto
