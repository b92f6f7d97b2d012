// "trevanto-cli slice --from-stats": the shots a statistics file gives at a
// threshold, listed as a run lists them; several files, the shares of one
// video sliced on several machines, are joined first.
#include "app/messages/score_stats_messages.h"
#include "cli/shot_printer.h"
#include "cli/slice_command.h"
#include "common/regular_file.h"
#include "common/text_format.h"
#include "export/score_stats.h"
#include "export/score_stats_join.h"
#include "export/text_file.h"

namespace trevanto::cli {
namespace {

std::optional<ScoreStatsPart> ReadPart(const std::string& path, const CliStreams& streams) {
    std::string text;
    const FileReadStatus read = ReadRegularFile(path, text, kMaxScoreStatsBytes);
    if (read == FileReadStatus::kTooLarge) {
        streams.err << "trevanto-cli: " << path << " is larger than "
                    << ByteSizeText(kMaxScoreStatsBytes)
                    << ", more than a statistics file can be\n";
        return std::nullopt;
    }
    if (read != FileReadStatus::kRead) {
        streams.err << "trevanto-cli: cannot read " << path << '\n';
        return std::nullopt;
    }
    ScoreStatsError error;
    ScoreStatsPart part;
    auto parsed = ParseScoreStats(text, error, &part.detector, &part.timecodes);
    if (!parsed) {
        streams.err << "trevanto-cli: " << path << ": " << ScoreStatsMessage(error) << '\n';
        return std::nullopt;
    }
    part.scores = std::move(*parsed);
    return part;
}

std::string JoinMessage(const ScoreStatsJoinError& error, const std::vector<std::string>& paths) {
    const std::string& path = paths[error.part];
    switch (error.problem) {
        case ScoreStatsJoinProblem::MixedDetectors:
            return path + " holds another detector's scores than " + paths.front();
        case ScoreStatsJoinProblem::ShortOverrun:
            return FormatText(
                "%s starts at frame %ld, but %s scored frames only up to %ld: the content "
                "detector scores a share's first frames from the share before, which must read "
                "on to frame %ld (slice each share with --frames)",
                path.c_str(), static_cast<long>(error.found), paths[error.part - 1].c_str(),
                static_cast<long>(error.lastRead),
                static_cast<long>(error.found + kContentShareOverrun - 1));
        case ScoreStatsJoinProblem::Gap:
        case ScoreStatsJoinProblem::Overlap:
            break;
    }
    return FormatText(
        "%s starts at frame %ld, but %s ended at frame %ld (%s); give the "
        "shares in frame order, each from the frame the one before ended at",
        path.c_str(), static_cast<long>(error.found), paths[error.part - 1].c_str(),
        static_cast<long>(error.expected),
        error.problem == ScoreStatsJoinProblem::Gap ? "frames are missing" : "the shares overlap");
}

}  // namespace

int RunSliceFromStats(const SliceOptions& options, const CliStreams& streams) {
    std::vector<std::string> paths = {options.fromStats};
    paths.insert(paths.end(), options.moreStats.begin(), options.moreStats.end());
    std::vector<ScoreStatsPart> parts;
    for (const std::string& path : paths) {
        auto part = ReadPart(path, streams);
        if (!part)
            return kFailure;
        parts.push_back(std::move(*part));
    }
    ScoreStatsPart whole;
    if (parts.size() == 1) {
        whole = std::move(parts.front());
    } else {
        ScoreStatsJoinError error;
        auto joined = JoinScoreStats(parts, error);
        if (!joined) {
            streams.err << "trevanto-cli: " << JoinMessage(error, paths) << '\n';
            return kFailure;
        }
        whole = std::move(*joined);
    }
    // The statistics come from the 32-bit thumbnails of the engine; the
    // file says which detector's rule cuts them.
    const ShotDetector detector = whole.detector;
    const float threshold =
        detector == ShotDetector::Content ? ContentFloor(options.sensitivity) : options.threshold;
    ChangeScores scores;
    scores.Begin(0.04, 32, threshold, detector);
    for (const FrameScore& score : whole.scores)
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
    if (!options.statsFile.empty() &&
        !WriteTextFile(options.statsFile, FormatScoreStats(scores, threshold, whole.timecodes))) {
        streams.err << "trevanto-cli: cannot write " << options.statsFile << '\n';
        return kFailure;
    }
    return kSuccess;
}

}  // namespace trevanto::cli
