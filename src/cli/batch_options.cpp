#include "cli/batch_options.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <thread>

#include "cli/slice_command.h"

namespace trevanto::cli {
namespace {

// slice's options the batch does not hand on: the outputs (named by the
// batch, below), what makes no sense for many videos, and what the batch
// decides itself.
const std::set<std::string>& NotForwarded() {
    static const std::set<std::string> names = {
        "save", "csv",        "edl",  "stats", "jpeg", "publish",   "target",
        "jobs", "from-stats", "show", "quiet", "help", "video-link"};
    return names;
}

const std::vector<OptionSpec>& OwnSpecs() {
    static const std::vector<OptionSpec> specs = {
        {"out", 1, "DIR", "the output folder (made when missing); its manifest records the batch"},
        {"jobs", 1, "N",
         "slice N videos at a time (default: one per core, or the cores / M with --video-jobs M)"},
        {"video-jobs", 1, "N",
         "slice each video with N workers (slice --jobs N; default: the cores / --jobs)"},
        {"shard", 1, "K/N", "take only the K-th of N shares of the inputs (K from 0)"},
        {"merge", 0, "", "join the output folders given as inputs into --out"},
        {"retry-failed", 0, "", "slice again the inputs that failed before"},
        {"time-limit", 1, "SECONDS",
         "stop a video's slicing after SECONDS and record it as failed"},
        {"progress", 1, "MODE", "terminal (the default) or jsonl: events on standard output"},
        {"save", 0, "", "write NAME.hpv, the shots file"},
        {"csv", 0, "", "write NAME.csv, the shot list"},
        {"edl", 0, "", "write NAME.edl"},
        {"stats", 0, "", "write NAME.stats.csv, the engine's scores"},
        {"jpeg", 0, "", "write the shots as JPEG images into NAME/"},
        {"publish", 0, "", "publish the shots as web pages into NAME/"},
        {"index", 0, "[FILE.mhtml]",
         "publish DIR/index.html, or the web archive FILE.mhtml: every video of DIR's "
         "manifest at a glance",
         false, ".mhtml"},
    };
    return specs;
}

std::optional<int32_t> ParseCountOption(const ParsedArguments& arguments, const std::string& name,
                                        std::string& error) {
    return ParseNumberOption(arguments, name, 1, 256, "a number", error);
}

// The slices run in a folder of their own: a file named relative to here
// is handed on with its full path. An option declares a file by its value's name.
bool NamesFile(const OptionSpec& option) {
    const std::string& value = option.valueNames;
    return value.find("FILE") != std::string::npos || value == "BMP" || value == "HTML" ||
           value == "PATH";
}

std::string Absolute(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

bool ParseShard(const std::string& text, BatchOptions& options) {
    const size_t slash = text.find('/');
    if (slash == std::string::npos)
        return false;
    const auto index = ParseInteger(text.substr(0, slash));
    const auto count = ParseInteger(text.substr(slash + 1));
    if (!index || !count || *count < 1 || *index < 0 || *index >= *count)
        return false;
    options.shardIndex = *index;
    options.shardCount = *count;
    return true;
}

}  // namespace

uint64_t Fnv1a64(const std::string& bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (const unsigned char byte : bytes) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    return hash;
}

const std::vector<OptionSpec>& BatchOptionSpecs() {
    static const std::vector<OptionSpec> specs = [] {
        std::vector<OptionSpec> all = OwnSpecs();
        for (const OptionSpec& option : SliceOptionSpecs()) {
            if (NotForwarded().count(option.name) == 0)
                all.push_back(option);
        }
        all.push_back({"quiet", 0, "", "no progress on a terminal, no line per video"});
        all.push_back({"help", 0, "", "show this help"});
        return all;
    }();
    return specs;
}

std::string BatchHelp() {
    return "usage: trevanto-cli batch INPUT... --out DIR [--jobs N] [--shard K/N]\n"
           "                          [--save] [--csv] [--edl] [--stats] [--jpeg] [--publish]\n"
           "                          [slice's options] [--progress jsonl] [--quiet]\n"
           "                          [--index [FILE.mhtml]]\n"
           "       trevanto-cli batch --merge DIR... --out DIR [--index [FILE.mhtml]]\n"
           "\n"
           "Slices many videos, each as 'trevanto-cli slice' would, and writes each video's\n"
           "outputs under DIR at the video's relative path: an INPUT folder is walked\n"
           "(its own name kept: holiday/day1.mp4 gives DIR/holiday/day1.hpv, .csv, .edl,\n"
           ".stats.csv and DIR/holiday/day1/ for images and pages); a file found there\n"
           "is sliced when its extension or its first bytes say video. @LIST names a\n"
           "file of inputs, one a line, relative to the list's folder.\n"
           "\n"
           "DIR/trevanto-batch.jsonl records every input's result. Run the same command\n"
           "again after an interruption and it slices only what is left, and again what\n"
           "changed (the file or the options). Outputs appear whole, through a rename.\n"
           "See docs/batch.md for the record and the layout.\n"
           "\n"
           "options:\n" +
           FormatOptionHelp(BatchOptionSpecs()) +
           "\n"
           "exit status: 0 every video done, 1 some failed (see the manifest), 2 bad\n"
           "arguments.\n";
}

std::optional<BatchOptions> ParseBatchOptions(const ParsedArguments& arguments,
                                              std::string& error) {
    BatchOptions options;
    options.inputs = arguments.Positionals();
    options.outFolder = arguments.Value("out");
    options.merge = arguments.Has("merge");
    if (options.outFolder.empty()) {
        error = "--out DIR is needed";
        return std::nullopt;
    }
    if (options.inputs.empty()) {
        error = options.merge ? "no folder to merge given" : "no input given";
        return std::nullopt;
    }
    const unsigned cores = std::thread::hardware_concurrency();
    options.jobs = static_cast<int32_t>(std::clamp(cores, 1u, 256u));
    if (arguments.Has("jobs")) {
        const auto jobs = ParseCountOption(arguments, "jobs", error);
        if (!jobs)
            return std::nullopt;
        options.jobs = *jobs;
    }
    if (arguments.Has("shard") && !ParseShard(arguments.Value("shard"), options)) {
        error = "--shard needs K/N with 0 <= K < N, not '" + arguments.Value("shard") + "'";
        return std::nullopt;
    }
    if (arguments.Has("progress")) {
        const std::string mode = arguments.Value("progress");
        if (mode != "terminal" && mode != "jsonl") {
            error = "--progress is terminal or jsonl, not '" + mode + "'";
            return std::nullopt;
        }
        options.progress = mode == "jsonl" ? ProgressMode::Jsonl : ProgressMode::Terminal;
    }
    if (arguments.Has("time-limit")) {
        const auto seconds = ParseNumber(arguments.Value("time-limit"));
        if (!seconds || !(*seconds > 0.0)) {
            error =
                "--time-limit needs seconds above 0, not '" + arguments.Value("time-limit") + "'";
            return std::nullopt;
        }
        options.timeLimit = *seconds;
    }
    options.retryFailed = arguments.Has("retry-failed");
    options.quiet = arguments.Has("quiet");
    options.index = arguments.Has("index");
    options.indexArchive = arguments.Value("index");
    options.outputs = {arguments.Has("save"),  arguments.Has("csv"),  arguments.Has("edl"),
                       arguments.Has("stats"), arguments.Has("jpeg"), arguments.Has("publish")};
    for (const OptionSpec& option : SliceOptionSpecs()) {
        if (NotForwarded().count(option.name) != 0 || !arguments.Has(option.name))
            continue;
        const std::vector<std::string> values = arguments.Values(option.name);
        const size_t each = static_cast<size_t>(std::max(option.valueCount, 1));
        for (size_t at = 0; at < std::max<size_t>(values.size(), 1); at += each) {
            options.forwarded.push_back("--" + option.name);
            for (size_t v = at; v < at + static_cast<size_t>(option.valueCount); ++v)
                options.forwarded.push_back(NamesFile(option) ? Absolute(values[v]) : values[v]);
        }
    }
    // The cores are shared out between the videos at a time and each video's
    // workers, so that a batch runs about one thread a core.
    if (arguments.Has("video-jobs")) {
        const auto jobs = ParseCountOption(arguments, "video-jobs", error);
        if (!jobs)
            return std::nullopt;
        options.videoJobs = *jobs;
        if (!arguments.Has("jobs"))
            options.jobs = std::max(1, options.jobs / *jobs);
    } else {
        options.videoJobs =
            std::max(1, static_cast<int32_t>(std::clamp(cores, 1u, 256u)) / options.jobs);
    }
    if (options.merge) {
        if (!options.forwarded.empty() || arguments.Has("shard")) {
            error = "--merge takes only folders, --out and --index";
            return std::nullopt;
        }
        return options;
    }
    // slice's own parser judges the per-video options, once, before any video.
    const std::vector<std::string> trial = SliceArguments(options, "VIDEO", "NAME");
    auto parsed = ParseArguments({trial.begin() + 1, trial.end()}, SliceOptionSpecs(), error);
    if (!parsed || !ParseSliceOptions(*parsed, error))
        return std::nullopt;
    return options;
}

std::vector<std::string> SliceArguments(const BatchOptions& options, const std::string& video,
                                        const std::string& base) {
    std::vector<std::string> arguments = {"slice", video};
    arguments.insert(arguments.end(), options.forwarded.begin(), options.forwarded.end());
    arguments.insert(arguments.end(), {"--jobs", std::to_string(options.videoJobs), "--quiet"});
    const BatchOutputs& outputs = options.outputs;
    for (const auto& [wanted, option, suffix] :
         {std::tuple(outputs.save, "--save", ".hpv"), std::tuple(outputs.csv, "--csv", ".csv"),
          std::tuple(outputs.edl, "--edl", ".edl"),
          std::tuple(outputs.stats, "--stats", ".stats.csv")}) {
        if (wanted)
            arguments.insert(arguments.end(), {option, base + suffix});
    }
    if (outputs.jpeg)
        arguments.insert(arguments.end(), {"--jpeg", "--target", base + "/"});
    if (outputs.publish)
        arguments.insert(arguments.end(), {"--publish", base + "/"});
    return arguments;
}

std::string OptionsKey(const BatchOptions& options) {
    std::string canonical;
    for (const std::string& argument : options.forwarded)
        canonical += argument + '\n';
    const BatchOutputs& o = options.outputs;
    for (const bool wanted : {o.save, o.csv, o.edl, o.stats, o.jpeg, o.publish})
        canonical += wanted ? '1' : '0';
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(Fnv1a64(canonical)));
    return hex;
}

}  // namespace trevanto::cli
