#pragma once
// "trevanto-cli slice": opens a video (a file, a stream URL or the stream an
// ASX script lists), runs the shot engine or the shot
// sampler over it, unpaced, from the start (or start mark) to the end (or end
// mark) and prints the shots.
#include <optional>
#include <string>
#include <vector>

#include "cli/argument_parser.h"
#include "cli/cli_session.h"
#include "cli/output_options.h"
#include "shots/shot_slicer.h"

namespace trevanto::cli {

struct SliceOptions {
    std::string video;          // a path, a stream URL, or an ASX script's path or URL
    int32_t entry = 1;          // the script's stream to slice, from 1
    int32_t timeoutMs = 30000;  // for the script's download and the stream's answer
    SlicingMode mode = SlicingMode::Engine;
    float threshold = 15.0f;
    ShotDetector detector = ShotDetector::Spread;
    float sensitivity = kDefaultSensitivity;  // the content detector's
    int32_t rateOption = 3;
    float rateValue = 40.0f;
    int32_t startFrame = -1;   // -1: from the first frame
    int32_t endFrame = -1;     // -1: to the last frame
    std::string templatePath;  // empty: the built-in template
    bool timecodes = false;
    std::string statsFile;               // empty: no statistics written
    std::string fromStats;               // cut again from this statistics file, without a video
    std::vector<std::string> moreStats;  // the next shares' files, joined after it
    bool share = false;                  // --frames: start and end must lie on segment edges
    int32_t planShares = 0;              // --plan: print this many shares instead of slicing
    bool quiet = false;
    int32_t jobs = 0;  // workers decoding segments side by side; 0: the cores
    OutputOptions outputs;
};

const std::vector<OptionSpec>& SliceOptionSpecs();
std::string SliceHelp();
// Checks the options on their own (the video's length is checked later).
std::optional<SliceOptions> ParseSliceOptions(const ParsedArguments& arguments, std::string& error);
// The sampler's rate option from its number (0-3) or name; nothing when
// unknown.
std::optional<int32_t> ParseSamplerOption(const std::string& text);

int RunSlice(const SliceOptions& options, const CliStreams& streams, MediaGraphFactory factory);
// The shots of options.fromStats at options.threshold (or, for the content
// detector's scores, options.sensitivity), without a video.
int RunSliceFromStats(const SliceOptions& options, const CliStreams& streams);

}  // namespace trevanto::cli
