#include "cli/slice_command.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/messages/document_messages.h"
#include "app/messages/settings_messages.h"
#include "cli/batch_child.h"
#include "cli/online_source.h"
#include "cli/share_plan.h"
#include "common/paths.h"
#include "common/text_format.h"
#include "export/score_stats.h"
#include "export/text_file.h"

namespace trevanto::cli {

const std::vector<OptionSpec>& SliceOptionSpecs() {
    static const std::vector<OptionSpec> specs = {
        {"engine", 0, "", "cut where the picture changes (the default)"},
        {"threshold", 1, "T",
         "the engine's threshold above 0, 15 by default; raise it for fewer shots (needs --engine "
         "or no --sampler)"},
        {"detector", 1, "NAME",
         "the engine's detector: spread (the change of the channels' spread, the default) or "
         "content (the change of layout and colours, which sees cuts between dim shots and "
         "passes over flashes and steady motion)"},
        {"sensitivity", 1, "S",
         "the content detector's sensitivity above 0 and below 100, 50 by default; raise it "
         "for more shots (needs --detector content)"},
        {"sampler", 2, "OPTION VALUE",
         "cut at a fixed step instead; OPTION is shots (VALUE shots overall), per-second "
         "(VALUE shots per second), seconds (one shot every VALUE seconds) or frames (one "
         "shot every VALUE frames), or its number 0-3"},
        {"entry", 1, "N",
         "of an ASX script (.asx, .wvx), slice the N-th stream (the first by default)"},
        {"timeout", 1, "SECONDS",
         "give up a script's download, or a stream that sends less than 1 KB a second while it "
         "opens, after SECONDS (30 by default)"},
        {"start", 1, "FRAME", "start mark: slice from this frame on"},
        {"end", 1, "FRAME", "end mark: slice up to and including this frame"},
        {"frames", 1, "A-B",
         "slice frames A to B, one machine's share of a long video, cut where --plan cuts "
         "(the content detector reads 5 frames on, for the next share's first scores)"},
        {"plan", 1, "N",
         "print N shares of the video as A-B lines, cut at the edges of its segments, "
         "instead of slicing it"},
        {"template", 1, "BMP", "shot bitmap template (100 x 80) for the thumbnails"},
        {"timecodes", 0, "", "captions show start and end timecodes"},
        {"stats", 1, "FILE.csv", "write the engine's score of every analysed frame (below)"},
        {"from-stats", 1, "FILE.csv",
         "cut again from a statistics file at --threshold instead of slicing a video; more "
         "files after it are the next shares, joined in frame order"},
        {"jobs", 1, "N",
         "slice with N workers decoding segments side by side (the cores by default); the "
         "shots and every output are the same for any N"},
        {"quiet", 0, "", "no progress line on a terminal"},
        {"help", 0, "", "show this help"},
    };
    // The outputs go before --quiet and --help.
    static const std::vector<OptionSpec> withOutputs = [] {
        std::vector<OptionSpec> all = specs;
        const auto& outputs = OutputOptionSpecs();
        all.insert(all.end() - 2, outputs.begin(), outputs.end());
        return all;
    }();
    return withOutputs;
}

std::string SliceHelp() {
    return "usage: trevanto-cli slice VIDEO [--engine [--threshold T]] [--sampler OPTION VALUE]\n"
           "                          [--detector content [--sensitivity S]]\n"
           "                          [--entry N] [--timeout SECONDS]\n"
           "                          [--start FRAME] [--end FRAME] [--template BMP]\n"
           "                          [--timecodes] [--stats FILE.csv] [--save FILE.hpv]\n"
           "                          [--csv FILE] [--edl FILE]\n"
           "                          [--jpeg [--target PATH]] [--publish TARGET]\n"
           "                          [--shot-size WxH --stretch] [publishing options]\n"
           "                          [--quiet]\n"
           "       trevanto-cli slice VIDEO --plan N\n"
           "       trevanto-cli slice VIDEO --frames A-B --stats PART.csv [--jobs N]\n"
           "       trevanto-cli slice --from-stats FILE.csv [PART.csv...]\n"
           "                          [--threshold T | --sensitivity S] [--stats FILE.csv]\n"
           "\n"
           "Cuts VIDEO into shots and prints one line per shot on standard output:\n"
           "number, start frame, end frame and caption, separated by tabs. Frames count\n"
           "from 0. Messages and the progress line go to standard error.\n"
           "\n"
           "VIDEO may be a file, an http, https, mms, rtsp or rtmp stream URL, or an ASX stream\n"
           "script (a file or URL ending in .asx or .wvx, or served as one). A script's\n"
           "streams are listed on standard error and the one --entry names is sliced.\n"
           "\n"
           "Statistics (--stats, engine only): a header row \"frame,timecode,score,cut\"\n"
           "then one row per analysed frame: its number, its timecode hh:mm:ss:mmmm,\n"
           "the engine's score (the change of the channels' spread; a cut needs more\n"
           "than the threshold) and 1 where a shot ended before the frame, else 0. The\n"
           "last row is the frame after the end, which closes the last shot. The content\n"
           "detector's file heads its score column \"content score\" (0 to 100).\n"
           "--from-stats cuts again from such a file at --threshold and lists the\n"
           "shots as a run would, without the video (--stats writes them again, cut\n"
           "at the new threshold).\n"
           "\n"
           "One long video on several machines: --plan N prints N shares as A-B lines,\n"
           "cut at the edges of the segments a run decodes apart; each machine slices\n"
           "one share with --frames A-B --stats PART.csv, and --from-stats with the\n"
           "parts in frame order joins them into the shots and statistics of a single\n"
           "run. Each part ends with the frame the next one starts at (the content\n"
           "detector's with the 5 frames from it, whose rows give the next part's first\n"
           "scores); parts with a gap or an overlap between them, or of other detectors,\n"
           "are refused.\n"
           "\n" +
           OutputHelp() +
           "\n"
           "options:\n" +
           FormatOptionHelp(SliceOptionSpecs()) +
           "\n"
           "exit status: 0 done, 1 the video cannot be sliced (unreadable, refused\n"
           "format, not seekable), 2 bad arguments.\n";
}

std::optional<int32_t> ParseSamplerOption(const std::string& text) {
    static const char* const kNames[] = {"shots", "per-second", "seconds", "frames"};
    for (int32_t option = 0; option < 4; ++option) {
        if (text == kNames[option] || text == std::to_string(option))
            return option;
    }
    return std::nullopt;
}

namespace {

std::optional<int32_t> ParseFrame(const ParsedArguments& arguments, const std::string& name,
                                  std::string& error) {
    const auto frame = ParseInteger(arguments.Value(name));
    if (!frame || *frame < 0) {
        error =
            "--" + name + " needs a frame number of 0 or more, not '" + arguments.Value(name) + "'";
        return std::nullopt;
    }
    return *frame;
}

std::optional<float> ParseThreshold(const ParsedArguments& arguments, std::string& error) {
    if (!arguments.Has("threshold"))
        return 15.0f;
    // The Settings dialog keeps the threshold in force for one it does not
    // take; a script is told instead.
    const std::string text = arguments.Value("threshold");
    const auto threshold = ParseNumber(text) ? ReadThreshold(text) : std::nullopt;
    if (!threshold)
        error = "--threshold needs a number above 0, not '" + text + "'";
    return threshold;
}

std::optional<float> ParseSensitivity(const ParsedArguments& arguments, std::string& error) {
    if (!arguments.Has("sensitivity"))
        return kDefaultSensitivity;
    const std::string text = arguments.Value("sensitivity");
    const auto sensitivity = ParseNumber(text) ? ReadSensitivity(text) : std::nullopt;
    if (!sensitivity)
        error = "--sensitivity needs a number above 0 and below 100, not '" + text + "'";
    return sensitivity;
}

// --detector and --sensitivity into `options`; false with `error` when refused.
bool ParseDetector(const ParsedArguments& arguments, SliceOptions& options, std::string& error) {
    if (arguments.Has("detector")) {
        const auto detector = DetectorNamed(arguments.Value("detector"));
        if (!detector) {
            error = "--detector is spread or content, not '" + arguments.Value("detector") + "'";
            return false;
        }
        options.detector = *detector;
    }
    const bool content = options.detector == ShotDetector::Content;
    if (arguments.Has("sensitivity") && !content) {
        error = "--sensitivity needs --detector content";
        return false;
    }
    if (arguments.Has("threshold") && content) {
        error = "--threshold is the spread detector's; the content detector takes --sensitivity";
        return false;
    }
    const auto sensitivity = ParseSensitivity(arguments, error);
    if (!sensitivity)
        return false;
    options.sensitivity = *sensitivity;
    return true;
}

// --frames A-B: one machine's share, within the segment edges (checked
// once the video is open).
bool ParseShare(const ParsedArguments& arguments, SliceOptions& options, std::string& error) {
    const std::string text = arguments.Value("frames");
    const size_t dash = text.find('-');
    const auto first = ParseInteger(text.substr(0, dash));
    const auto last = dash == text.npos ? std::nullopt : ParseInteger(text.substr(dash + 1));
    if (!first || !last || *first < 0 || *last < *first ||
        text.find_first_not_of("0123456789-") != text.npos) {
        error = "--frames needs A-B, frame numbers with A at most B, not '" + text + "'";
        return false;
    }
    if (arguments.Has("start") || arguments.Has("end") || options.mode != SlicingMode::Engine) {
        error = "--frames takes the shot engine, without --start, --end or --sampler";
        return false;
    }
    options.startFrame = static_cast<int32_t>(*first);
    options.endFrame = static_cast<int32_t>(*last);
    options.share = true;
    return true;
}

// Cutting again from statistics: no video, so only the threshold counts.
std::optional<SliceOptions> ParseFromStatsOptions(const ParsedArguments& arguments,
                                                  std::string& error) {
    for (const auto& option : SliceOptionSpecs()) {
        if (arguments.Has(option.name) && option.name != "from-stats" &&
            option.name != "threshold" && option.name != "sensitivity" && option.name != "engine" &&
            option.name != "quiet" && option.name != "stats") {
            error = "--from-stats cannot go with --" + option.name;
            return std::nullopt;
        }
    }
    SliceOptions options;
    options.fromStats = arguments.Value("from-stats");
    // The words after it: the next shares' statistics.
    options.moreStats = arguments.Positionals();
    options.statsFile = arguments.Value("stats");
    const auto threshold = ParseThreshold(arguments, error);
    if (!threshold)
        return std::nullopt;
    options.threshold = *threshold;
    // The file names its detector: each takes its own value.
    const auto sensitivity = ParseSensitivity(arguments, error);
    if (!sensitivity)
        return std::nullopt;
    options.sensitivity = *sensitivity;
    return options;
}

}  // namespace

std::optional<SliceOptions> ParseSliceOptions(const ParsedArguments& arguments,
                                              std::string& error) {
    SliceOptions options;
    if (arguments.Has("from-stats"))
        return ParseFromStatsOptions(arguments, error);
    if (arguments.Positionals().size() != 1) {
        error = arguments.Positionals().empty() ? "no video given" : "more than one video given";
        return std::nullopt;
    }
    options.video = arguments.Positionals()[0];
    if (arguments.Has("sampler")) {
        if (arguments.Has("engine") || arguments.Has("threshold") || arguments.Has("detector") ||
            arguments.Has("sensitivity")) {
            error = "--sampler cannot go with --engine, --threshold, --detector or --sensitivity";
            return std::nullopt;
        }
        const auto option = ParseSamplerOption(arguments.Value("sampler", 0));
        const std::string text = arguments.Value("sampler", 1);
        if (!option) {
            error = "unknown sampler option '" + arguments.Value("sampler", 0) + "'";
            return std::nullopt;
        }
        // A plain decimal number: the Settings dialog would read "1e20" as 1.
        if (!ParseNumber(text) || text.find_first_not_of("+-.0123456789") != std::string::npos) {
            error = "the sampler needs a number, not '" + text + "'";
            return std::nullopt;
        }
        // Read and checked as the Settings dialog does, with its message.
        const SamplerValueReading reading = ReadSamplerValue(*option, text);
        if (reading.check != SamplerValueCheck::Accepted) {
            error = message::SamplerValueMessage(reading.check);
            return std::nullopt;
        }
        options.mode = SlicingMode::Sampler;
        options.rateOption = *option;
        options.rateValue = reading.value;
    }
    const auto threshold = ParseThreshold(arguments, error);
    if (!threshold || !ParseDetector(arguments, options, error))
        return std::nullopt;
    options.threshold = *threshold;
    if (arguments.Has("entry")) {
        const auto entry = ParseInteger(arguments.Value("entry"));
        if (!entry || *entry < 1) {
            error = "--entry needs a stream number of 1 or more, not '" + arguments.Value("entry") +
                    "'";
            return std::nullopt;
        }
        options.entry = *entry;
    }
    if (arguments.Has("timeout")) {
        const auto seconds = ParseNumber(arguments.Value("timeout"));
        if (!seconds || !(*seconds > 0.0) || *seconds > 3600.0) {
            error = "--timeout needs seconds between 0 and 3600, not '" +
                    arguments.Value("timeout") + "'";
            return std::nullopt;
        }
        options.timeoutMs = std::max(1, static_cast<int32_t>(*seconds * 1000.0));
    }
    if (arguments.Has("start")) {
        const auto frame = ParseFrame(arguments, "start", error);
        if (!frame)
            return std::nullopt;
        options.startFrame = *frame;
    }
    if (arguments.Has("end")) {
        const auto frame = ParseFrame(arguments, "end", error);
        if (!frame)
            return std::nullopt;
        options.endFrame = *frame;
    }
    if (arguments.Has("frames") && !ParseShare(arguments, options, error))
        return std::nullopt;
    if (arguments.Has("plan")) {
        const auto shares =
            ParseNumberOption(arguments, "plan", 1, 10000, "a number of shares", error);
        if (!shares)
            return std::nullopt;
        if (arguments.Has("frames")) {
            error = "--plan cannot go with --frames";
            return std::nullopt;
        }
        options.planShares = static_cast<int32_t>(*shares);
    }
    if (options.startFrame != -1 && options.endFrame != -1 &&
        options.endFrame < options.startFrame) {
        error = "--end lies before --start";
        return std::nullopt;
    }
    options.timecodes = arguments.Has("timecodes");
    if (arguments.Has("jobs")) {
        const auto jobs =
            ParseNumberOption(arguments, "jobs", 1, 256, "a number of workers", error);
        if (!jobs)
            return std::nullopt;
        options.jobs = static_cast<int32_t>(*jobs);
    }
    options.statsFile = arguments.Value("stats");
    if (arguments.Has("stats") && options.mode != SlicingMode::Engine) {
        error = "--stats needs the shot engine";
        return std::nullopt;
    }
    if (!ParseSessionOptions(arguments, options.templatePath, options.quiet, options.outputs,
                             error))
        return std::nullopt;
    return options;
}

int RunSlice(const SliceOptions& options, const CliStreams& streams, MediaGraphFactory factory) {
    if (!options.fromStats.empty())
        return RunSliceFromStats(options, streams);
    CliSession session(streams, options.quiet, std::move(factory));
    if (!session.LoadTemplate(options.templatePath))
        return kFailure;
    CPlayerDoc& doc = session.Doc();
    if (options.jobs > 0) {
        doc.Slicing().SetJobs(options.jobs);
        doc.JpegExport().SetJobs(doc.Slicing().Jobs());
    }
    // Like a script's download, a stream gets --timeout to answer.
    doc.Playback().SetAnswerWindow(std::chrono::milliseconds(options.timeoutMs));
    CliOnlineVideo online(session.Err(), options.entry, options.timeoutMs);
    const std::optional<std::string> named = ResolveCliVideo(options.video, online, session.User());
    if (!named)
        return kFailure;
    // The shots file keeps the video's full path, so that it loads from anywhere.
    std::error_code ignored;
    const std::string video =
        FileExists(*named) ? std::filesystem::absolute(*named, ignored).string() : *named;
    if (const ExitStatus opened = session.OpenVideo(video.empty() ? *named : video);
        opened != kSuccess) {
        return opened;
    }
    const Player& player = doc.GetPlayer();
    const int32_t frames = player.FrameCount();
    if (frames <= 0) {
        session.Err() << "trevanto-cli: " << doc.Slicing().NotSeekableMessage() << '\n';
        return kFailure;
    }
    // A batch's child tells the batch the video's length (cli/batch_child.h).
    if (const char* facts = std::getenv(kVideoFactsVariable); facts != nullptr)
        WriteTextFile(facts, FormatVideoDuration(player.DurationSeconds()));
    for (const int32_t mark : {options.startFrame, options.endFrame}) {
        if (mark >= frames) {
            session.Err() << "trevanto-cli: "
                          << FormatText("frame %ld lies beyond the video's last frame %ld",
                                        static_cast<long>(mark), static_cast<long>(frames - 1))
                          << '\n';
            return kBadArguments;
        }
    }
    if (options.planShares > 0 || options.share) {
        const std::vector<int32_t> edges = SegmentEdges(doc.GetPlayer().OpenedPath(), frames);
        if (options.planShares > 0) {
            for (const auto& [first, last] : PlanShares(edges, frames, options.planShares))
                session.Out() << first << '-' << last << '\n';
            return kSuccess;
        }
        if (!IsShareOnEdges(edges, frames, {options.startFrame, options.endFrame})) {
            session.Err() << "trevanto-cli: --frames " << options.startFrame << '-'
                          << options.endFrame
                          << " does not start and end at the video's segment edges; "
                             "--plan N prints shares that do\n";
            return kBadArguments;
        }
    }
    if (options.share)
        doc.Slicing().SetShareOf(0);
    doc.Playback().SetPlayRange(options.startFrame, options.endFrame);

    SlicingSettings settings = doc.Slicing().Settings();
    settings.threshold = options.threshold;
    settings.detector = options.detector;
    settings.sensitivity = options.sensitivity;
    settings.rateOption = options.rateOption;
    settings.rateValue = options.rateValue;
    doc.Slicing().ApplySlicingSettings(settings);
    if (options.timecodes)
        doc.RecaptionAll();

    const int32_t first = options.startFrame == -1 ? 0 : options.startFrame;
    const int32_t last = options.endFrame == -1 ? frames - 1 : options.endFrame;
    doc.Playback().SeekToFrame(first);
    if (options.mode == SlicingMode::Engine) {
        doc.Slicing().StartEngine();
    } else {
        doc.Slicing().StartSampler();
    }
    const ExitStatus ran = session.RunUntilSlicingEnds(first, last);
    const ExitStatus finished = FinishRun(session, ran, options.outputs);
    if (finished != kSuccess || options.statsFile.empty())
        return finished;
    if (!WriteTextFile(
            options.statsFile,
            FormatScoreStats(doc.Slicing().Scores(), doc.Slicing().Settings().ActiveThreshold(),
                             doc.GetPlayer().PictureSeconds()))) {
        session.Err() << "trevanto-cli: cannot write " << options.statsFile << '\n';
        return kFailure;
    }
    return kSuccess;
}

}  // namespace trevanto::cli
