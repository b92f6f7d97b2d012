#include "cli/parallel_slicing.h"

#include <cstring>

#include "cli/shot_printer.h"
#include "common/paths.h"
#include "export/score_stats.h"
#include "export/text_file.h"
#include "video/segment_pool.h"
#include "video/worker_budget.h"

namespace trevanto::cli {
namespace {

constexpr int kThumbnailWidth = 100, kThumbnailHeight = 80;

std::shared_ptr<const Surface> CopyOf(const Surface& from) {
    auto copy = std::make_shared<Surface>(from.Width(), from.Height());
    if (!copy->IsValid())
        return nullptr;
    for (int y = 0; y < from.Height(); ++y)
        std::memcpy(copy->Row(y), from.Row(y), static_cast<size_t>(from.Width()) * 4);
    return copy;
}

}  // namespace

ParallelSlicing AnalyseInParallel(const std::string& path, const SlicingSettings& settings,
                                  int jobs, const std::function<void(int32_t)>& progress,
                                  const std::atomic<bool>& stop) {
    ParallelSlicing run;
    VideoDecoder planner(stop);
    OpenError error;
    if (!planner.Open({path}, error)) {
        run.openFailure = error;
        return run;
    }
    const std::vector<Segment> plan =
        PlanSegments(KeyFrameNumbers(planner, path, stop), kSegmentFrames);
    run.pictureSeconds = planner.PictureSeconds();
    // 10-bit and deeper pictures take two bytes a sample.
    const int workers = BoundedWorkers(jobs, planner.Width(), planner.Height(),
                                       planner.BitsPerSample() > 8 ? 2 : 1);
    SegmentPool<AnalysedFrame> pool(
        {path, plan, workers, kThumbnailWidth, kThumbnailHeight},
        [settings](int64_t frame, Surface& thumbnail, const AnalysedFrame* previous) {
            AnalysedFrame analysed{
                static_cast<int32_t>(frame),
                MeasureWholeSurface(thumbnail, settings.detector == ShotDetector::Content),
                {}};
            if (MayStartShot(previous, analysed, settings))
                analysed.picture = CopyOf(thumbnail);
            return analysed;
        });
    RunStitcher stitcher(settings, planner.FrameSeconds());
    const auto keep = [&run](std::optional<StitchedShot> shot) {
        if (shot)
            run.shots.push_back(std::move(*shot));
    };
    size_t segments = 0;
    bool failed = false;
    SegmentPool<AnalysedFrame>::SegmentResult result;
    while (pool.Next(result, &stop)) {
        ++segments;
        for (const AnalysedFrame& frame : result.frames)
            keep(stitcher.Add(frame));
        if (progress)
            progress(stitcher.LastFrame());
        // A segment that could not be decoded to its end ends the run there.
        if (result.end != SegmentEnd::Done) {
            failed = true;
            break;
        }
    }
    run.openFailure = pool.OpenFailure();
    keep(stitcher.Close());
    run.scores = stitcher.Scores();
    run.complete = !failed && segments == plan.size() && !stop;
    return run;
}

int RunParallelSlice(const SliceOptions& options, const CliStreams& streams) {
    if (options.mode != SlicingMode::Engine || options.startFrame != -1 || options.endFrame != -1 ||
        !FileExists(options.video) || options.outputs.Any() || options.timecodes) {
        streams.err << "trevanto-cli: --jobs slices a local file with the engine, without "
                       "--start, --end, --timecodes or outputs other than --stats\n";
        return kBadArguments;
    }
    SlicingSettings settings;
    settings.threshold = options.threshold;
    settings.detector = options.detector;
    settings.sensitivity = options.sensitivity;
    const std::atomic<bool> stop{false};
    const ParallelSlicing run = AnalyseInParallel(options.video, settings, options.jobs, {}, stop);
    if (run.openFailure) {
        streams.err << "trevanto-cli: cannot open " << options.video << '\n';
        return kFailure;
    }
    ShotList shots;
    for (const StitchedShot& stitched : run.shots) {
        auto shot = std::make_unique<Shot>();
        shot->number = shots.ShotCount() + 1;
        shot->startFrame = shot->imageFrame = stitched.range.start;
        shot->endFrame = stitched.range.end;
        shot->BuildCaption(CaptionContext{});
        shots.Append(std::move(shot));
    }
    PrintShots(shots, streams.out);
    if (!options.statsFile.empty() &&
        !WriteTextFile(options.statsFile, FormatScoreStats(run.scores, settings.ActiveThreshold(),
                                                           run.pictureSeconds))) {
        streams.err << "trevanto-cli: cannot write " << options.statsFile << '\n';
        return kFailure;
    }
    if (!run.complete) {
        streams.err << "trevanto-cli: The video could not be read to the end.\n";
        return kFailure;
    }
    return kSuccess;
}

}  // namespace trevanto::cli
