// "trevanto-cli slice --from-stats": the shots a statistics file gives at a
// threshold, listed as a run lists them.
#include "app/messages/score_stats_messages.h"
#include "cli/shot_printer.h"
#include "cli/slice_command.h"
#include "common/regular_file.h"
#include "export/score_stats.h"

namespace trevanto::cli {

int RunSliceFromStats(const SliceOptions& options, const CliStreams& streams) {
    std::string text;
    const FileReadStatus read = ReadRegularFile(options.fromStats, text, kMaxScoreStatsBytes);
    if (read == FileReadStatus::kTooLarge) {
        streams.err << "trevanto-cli: " << options.fromStats << " is larger than "
                    << ByteSizeText(kMaxScoreStatsBytes)
                    << ", more than a statistics file can be\n";
        return kFailure;
    }
    if (read != FileReadStatus::kRead) {
        streams.err << "trevanto-cli: cannot read " << options.fromStats << '\n';
        return kFailure;
    }
    ScoreStatsError error;
    ShotDetector detector = ShotDetector::Spread;
    const auto parsed = ParseScoreStats(text, error, &detector);
    if (!parsed) {
        streams.err << "trevanto-cli: " << options.fromStats << ": " << ScoreStatsMessage(error)
                    << '\n';
        return kFailure;
    }
    // The statistics come from the 32-bit thumbnails of the engine; the
    // file says which detector's rule cuts them.
    const float threshold =
        detector == ShotDetector::Content ? ContentFloor(options.sensitivity) : options.threshold;
    ChangeScores scores;
    scores.Begin(0.04, 32, threshold, detector);
    for (const FrameScore& score : *parsed)
        scores.Add(score);
    ShotList shots;
    for (const ShotRange& range : scores.RecutAt(threshold).shots) {
        auto shot = std::make_unique<Shot>();
        shot->number = shots.ShotCount() + 1;
        shot->startFrame = shot->imageFrame = range.start;
        shot->endFrame = range.end;
        shot->BuildCaption(CaptionContext{});
        shots.Append(std::move(shot));
    }
    PrintShots(shots, streams.out);
    return kSuccess;
}

}  // namespace trevanto::cli
