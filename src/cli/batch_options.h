#pragma once
// "trevanto-cli batch": its own options, and the per-video options it hands
// on to every `slice` it runs. The per-video options are slice's own, taken
// from slice's declarations, so a new slice option works in a batch too.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/argument_parser.h"

namespace trevanto::cli {

// The outputs each video gets under the output folder, named after it.
struct BatchOutputs {
    bool save = false;     // NAME.hpv
    bool csv = false;      // NAME.csv
    bool edl = false;      // NAME.edl
    bool stats = false;    // NAME.stats.csv
    bool jpeg = false;     // NAME/image0001.jpg, ...
    bool publish = false;  // NAME/ the publication's pages

    bool Folder() const { return jpeg || publish; }
};

enum class ProgressMode { Terminal, Jsonl };

struct BatchOptions {
    std::vector<std::string> inputs;  // videos, folders, @lists; with --merge, shard folders
    std::string outFolder;
    bool merge = false;
    int32_t jobs = 1;  // videos at a time
    // Workers of each video's run (slice --jobs): results do not depend on
    // it, so it is not part of the options key.
    int32_t videoJobs = 1;
    int32_t shardIndex = 0;    // K of --shard K/N
    int32_t shardCount = 1;    // N of --shard K/N
    bool retryFailed = false;  // else a failure recorded for the same input and options stands
    double timeLimit = 0;      // seconds a video may take; 0: no limit
    bool quiet = false;
    bool index = false;  // DIR/index.html of every video the manifest records
    // --index FILE.mhtml: the index as one web archive there instead, the
    // path as given (relative to the folder the batch starts in).
    std::string indexArchive;
    ProgressMode progress = ProgressMode::Terminal;
    BatchOutputs outputs;
    // slice's options as given, in the order of slice's declarations: what
    // shapes each video's result besides the output names.
    std::vector<std::string> forwarded;
};

const std::vector<OptionSpec>& BatchOptionSpecs();
std::string BatchHelp();
// Checks the batch's own options and, through slice's parser, the
// forwarded ones.
std::optional<BatchOptions> ParseBatchOptions(const ParsedArguments& arguments, std::string& error);

// The arguments of one video's `slice` run, its outputs named from `base`
// ("holiday/day1"), relative to the folder the run starts in: so they are
// those of a `slice` run in the output folder, wherever that folder lies.
std::vector<std::string> SliceArguments(const BatchOptions& options, const std::string& video,
                                        const std::string& base);
// What a result depends on besides the video: a hash of the forwarded
// options and the outputs asked, in hexadecimal.
std::string OptionsKey(const BatchOptions& options);

// FNV-1a, 64 bits: stable across machines and runs, for shards and keys.
uint64_t Fnv1a64(const std::string& bytes);

}  // namespace trevanto::cli
