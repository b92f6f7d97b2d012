#pragma once
// The shot engine over a video file in segments decoded side by side
// (video/segment_pool.h), stitched in frame order (shots/run_stitcher.h):
// the shots and scores of a single run, whatever the number of workers.
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/slice_command.h"
#include "shots/run_stitcher.h"
#include "video/open_failure.h"

namespace trevanto::cli {

struct ParallelSlicing {
    std::vector<StitchedShot> shots;
    ChangeScores scores;
    // Each picture's time where the rate varies (for the statistics).
    std::shared_ptr<const std::vector<double>> pictureSeconds;
    // Every segment was decoded to its end (not stopped, nothing failed).
    bool complete = false;
    std::optional<OpenError> openFailure;
};

// Runs the engine at `settings` over the local file `path` with `jobs`
// workers. `progress` hears the last frame stitched after each segment;
// once `stop` is set the workers end and the run keeps what it found.
ParallelSlicing AnalyseInParallel(const std::string& path, const SlicingSettings& settings,
                                  int jobs, const std::function<void(int32_t)>& progress,
                                  const std::atomic<bool>& stop);

// "slice FILE --jobs N": the engine's shots printed (and --stats written)
// as a run through the document prints them.
int RunParallelSlice(const SliceOptions& options, const CliStreams& streams);

}  // namespace trevanto::cli
