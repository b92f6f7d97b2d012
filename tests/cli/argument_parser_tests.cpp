// The command line parser and the slice options, in-process.
#include <gtest/gtest.h>

#include "cli/argument_parser.h"
#include "cli/slice_command.h"

namespace trevanto::cli {
namespace {

std::optional<SliceOptions> Slice(const std::vector<std::string>& arguments, std::string& error) {
    const auto parsed = ParseArguments(arguments, SliceOptionSpecs(), error);
    if (!parsed)
        return std::nullopt;
    return ParseSliceOptions(*parsed, error);
}

TEST(ArgumentParser, OptionsTakeTheirValuesAndTheRestIsPositional) {
    const std::vector<OptionSpec> specs = {{"pair", 2, "A B", ""}, {"flag", 0, "", ""}};
    std::string error;
    const auto parsed =
        ParseArguments({"one", "--pair", "x", "--y", "--flag", "--", "--two"}, specs, error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(parsed->Value("pair", 0), "x");
    EXPECT_EQ(parsed->Value("pair", 1), "--y");
    EXPECT_TRUE(parsed->Has("flag"));
    EXPECT_EQ(parsed->Positionals(), (std::vector<std::string>{"one", "--two"}));

    EXPECT_FALSE(ParseArguments({"--pair", "x"}, specs, error));
    EXPECT_EQ(error, "option --pair needs A B");
    EXPECT_FALSE(ParseArguments({"--flag", "--flag"}, specs, error));
    EXPECT_FALSE(ParseArguments({"--other"}, specs, error));
    EXPECT_EQ(error, "unknown option --other");
}

TEST(ArgumentParser, NumbersMustBeWhole) {
    EXPECT_EQ(ParseInteger("120"), 120);
    EXPECT_FALSE(ParseInteger("12x"));
    EXPECT_FALSE(ParseInteger(""));
    EXPECT_FALSE(ParseInteger("99999999999"));
    EXPECT_EQ(ParseNumber("2.5"), 2.5);
    EXPECT_FALSE(ParseNumber("2.5s"));
    EXPECT_FALSE(ParseNumber("nan"));
}

TEST(SliceOptions, DefaultIsTheEngineOverTheWholeVideo) {
    std::string error;
    const auto options = Slice({"video.mpg"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->mode, SlicingMode::Engine);
    EXPECT_FLOAT_EQ(options->threshold, 15.0f);
    EXPECT_EQ(options->startFrame, -1);
    EXPECT_EQ(options->endFrame, -1);
    EXPECT_TRUE(options->templatePath.empty());
}

TEST(SliceOptions, SamplerOptionsByNameOrNumber) {
    std::string error;
    const auto seconds = Slice({"v.mpg", "--sampler", "seconds", "2.5"}, error);
    ASSERT_TRUE(seconds) << error;
    EXPECT_EQ(seconds->mode, SlicingMode::Sampler);
    EXPECT_EQ(seconds->rateOption, 2);
    EXPECT_FLOAT_EQ(seconds->rateValue, 2.5f);
    EXPECT_EQ(ParseSamplerOption("0"), 0);
    EXPECT_EQ(ParseSamplerOption("per-second"), 1);
    EXPECT_EQ(ParseSamplerOption("frames"), 3);
    EXPECT_FALSE(ParseSamplerOption("4"));
    // The Settings dialog's rules and messages; nothing is cast past 32 bits.
    EXPECT_FALSE(Slice({"v.mpg", "--sampler", "frames", "1e20"}, error));
    EXPECT_EQ(error, kValueTooLargeMessage);
    EXPECT_FALSE(Slice({"v.mpg", "--sampler", "shots", "0.5"}, error));
    EXPECT_EQ(error, kNegativeValueMessage);
    EXPECT_TRUE(Slice({"v.mpg", "--sampler", "seconds", "0"}, error));
}

TEST(SliceOptions, ConflictsAreRefused) {
    std::string error;
    EXPECT_FALSE(Slice({"v.mpg", "--sampler", "frames", "40", "--threshold", "20"}, error));
    EXPECT_FALSE(Slice({"v.mpg", "--start", "-3"}, error));
    EXPECT_FALSE(Slice({"v.mpg", "--start", "9", "--end", "8"}, error));
    EXPECT_EQ(error, "--end lies before --start");
    EXPECT_TRUE(Slice({"v.mpg", "--start", "9", "--end", "9"}, error));
    EXPECT_FALSE(Slice({}, error));
    EXPECT_EQ(error, "no video given");
}

}  // namespace
}  // namespace trevanto::cli
