#pragma once
// The videos of a batch: found from the command line's files, folders and
// lists, in one stable order, each with the relative path that names its
// outputs under the output folder, and shared out between shards.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trevanto::cli {

struct BatchInput {
    std::string path;      // what `slice` opens
    std::string relative;  // "holiday/day1.mp4": the manifest's key, '/' between folders
    std::string base;      // "holiday/day1": the outputs' names under the output folder
};

// Every input in byte order of `relative`. A folder is walked to the end
// (its own name kept as the first part; hidden entries, folder links and
// `skipFolder` left out); a file in it counts when its extension or its
// first bytes say video. A named file, or a line of an @list, always counts.
// Nothing, with the reason in `error`, when a named input does not exist or
// two inputs would write the same outputs.
std::optional<std::vector<BatchInput>> FindBatchInputs(const std::vector<std::string>& arguments,
                                                       const std::string& skipFolder,
                                                       std::string& error);

// True when `relative` falls in the K-th of N shares.
bool InShard(const std::string& relative, int32_t index, int32_t count);

}  // namespace trevanto::cli
