#pragma once
// An engine run put together from frames analysed apart (by segment
// workers, in any order) and fed back here in frame order: the detector's
// rule through the same ShotSlicer as a run over delivered frames, so that
// the shots and scores are those of a single run. Each shot comes with the
// picture of its first frame, which the workers keep only for the frames
// that may start a shot (MayStartShot).
#include <deque>
#include <memory>
#include <optional>

#include "picture/surface.h"
#include "shots/shot_slicer.h"

namespace trevanto {

// One frame as a worker analysed it.
struct AnalysedFrame {
    int32_t frame = 0;
    std::optional<MeasuredFrame> measured;   // none: the thumbnail could not be read
    std::shared_ptr<const Surface> picture;  // kept only where a shot may start
};

// Whether a frame may start a shot, from what its segment alone tells:
// the segment's first frame (`previous` null: the change needs the frame
// before, in another segment), or a change from the frame before above
// the detector's threshold at `settings`. A cut needs more (two frames of
// the shot before), so this keeps a few pictures too many, never one too few.
bool MayStartShot(const AnalysedFrame* previous, const AnalysedFrame& frame,
                  const SlicingSettings& settings);

struct StitchedShot {
    ShotRange range;
    std::shared_ptr<const Surface> picture;  // its first frame's
};

class RunStitcher {
  public:
    // Starts an engine run at `settings`; frame times by `secondsPerFrame`.
    RunStitcher(const SlicingSettings& settings, double secondsPerFrame);
    // Stitches through `slicer`, whose run (engine or sampler) has started.
    explicit RunStitcher(ShotSlicer& slicer) : slicer_(slicer) {}
    RunStitcher(const RunStitcher&) = delete;
    RunStitcher& operator=(const RunStitcher&) = delete;

    // The next frame in frame order; the shot that ended before it, if any.
    std::optional<StitchedShot> Add(const AnalysedFrame& frame);
    // Closes the run after the last frame added, as the end of the video
    // does (the frame after it, with the last picture): the last shot.
    std::optional<StitchedShot> Close() { return CloseAt(lastFrame_ + 1, std::nullopt); }
    // Closes the run at `frameAfterEnd` (the end of the play range, or of a
    // sampler run that passed frames over), with that frame's measure where
    // it was decoded, else the last picture's.
    std::optional<StitchedShot> CloseAt(int32_t frameAfterEnd,
                                        const std::optional<MeasuredFrame>& measured);

    const ChangeScores& Scores() const { return slicer_.Scores(); }
    // The last frame added; -1 before the first.
    int32_t LastFrame() const { return lastFrame_; }

  private:
    // The picture of the first frame after `end`, among those kept.
    std::shared_ptr<const Surface> PictureAfter(int32_t end) const;

    ShotSlicer ownSlicer_;
    ShotSlicer& slicer_ = ownSlicer_;
    std::shared_ptr<const Surface> shotStart_;
    // The latest frames' pictures: the content detector ends a shot a few
    // frames after its last.
    std::deque<std::pair<int32_t, std::shared_ptr<const Surface>>> recent_;
    std::optional<MeasuredFrame> lastMeasured_;
    int32_t lastFrame_ = -1;
};

}  // namespace trevanto
