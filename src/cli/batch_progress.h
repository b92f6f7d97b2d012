#pragma once
// What a batch tells while it runs: on a terminal one live line for the
// whole batch (videos done of all, frames a second, time left) and a line
// per finished video; with --progress jsonl, one JSON event a line on
// standard output for another program (docs/batch.md).
#include <chrono>
#include <cstdint>
#include <ostream>

#include "cli/batch_manifest.h"
#include "cli/batch_options.h"

namespace trevanto::cli {

class BatchProgress {
  public:
    BatchProgress(std::ostream& out, std::ostream& err, bool terminal, const BatchOptions& options);

    // `total` inputs of this batch (its shard), of which `finished` need no work.
    void Start(int32_t total, int32_t finished, int64_t bytesToDo);
    // An input an earlier run finished, told once after Start.
    void Recorded(const ManifestRecord& record);
    // A video's slicing begins.
    void Begun(const std::string& input);
    void Finished(const ManifestRecord& record, int64_t bytes);
    // Called often: redraws the live line or writes an event, at most about
    // once a second.
    void Tick();
    void End(int32_t done, int32_t failed);

  private:
    using Clock = std::chrono::steady_clock;
    double SecondsLeft() const;
    double FramesPerSecond() const;
    void DrawLine();

    std::ostream& out_;
    std::ostream& err_;
    const bool live_;    // the live line on a terminal
    const bool lines_;   // a line per video on standard error
    const bool events_;  // JSON events on standard output
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastTick_ = start_;
    int32_t total_ = 0;
    int32_t finished_ = 0;
    int32_t failed_ = 0;
    int64_t bytesToDo_ = 0;
    int64_t bytesDone_ = 0;
    int64_t frames_ = 0;
};

}  // namespace trevanto::cli
