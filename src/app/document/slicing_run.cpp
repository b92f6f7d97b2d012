// The slicing runs: in segments on the workers, or in real time over the
// delivered frames; their start, pace, shots and end.
#include "app/document/slicing_run.h"

#include <thread>

#include "app/commands/command_ids.h"
#include "app/messages/document_messages.h"
#include "export/shot_thumbnail.h"

namespace trevanto {

SlicingRun::SlicingRun(SlicingRunHost& host, Player& player, ShotSlicer& slicer,
                       DocumentSurfaces& surfaces)
    : host_(host), player_(player), slicer_(slicer), surfaces_(surfaces) {
    SetJobs(static_cast<int>(std::thread::hardware_concurrency()));
}

SlicingRun::~SlicingRun() = default;

void SlicingRun::CheckCommand(int32_t commandId, bool checked) {
    host_.Ports().frame->CheckButton(commandId, checked);
}

void SlicingRun::ShowMessage(const std::string& text) {
    host_.Ports().user->ShowMessage(text, MessageKind::Warning);
}

void SlicingRun::OnFramePresented(int32_t frame) {
    if (inSegments_)
        return;  // the workers decode the run's frames; the player's are the user's
    ProcessFrame(frame, false);
    if (const auto text = progress_.OnFrame(frame, SlicingProgress::Clock::now()))
        host_.Ports().frame->ShowSlicingStatus(*text);
}

void SlicingRun::ProcessFrame(int32_t frame, bool force) {
    Surface* thumbnail = surfaces_.Thumbnail();
    if (!thumbnail || !slicer_.IsActive())
        return;
    // Played frames are stitched as a run's segments are, so a detector that
    // decides a cut frames after it still gives the new shot its first frame.
    if (!stitcher_)
        stitcher_ = std::make_unique<RunStitcher>(slicer_);
    const AnalysedFrame analysed{frame, slicer_.Measure(*thumbnail), SharedCopy(*thumbnail)};
    if (!AddStitchedShot(force ? stitcher_->CloseAt(frame, analysed.measured)
                               : stitcher_->Add(analysed)))
        StopSlicing();
}

void SlicingRun::OnPlaybackEnd(int32_t frameAfterEnd) {
    if (inSegments_)
        return;
    if (slicer_.IsActive()) {
        ProcessFrame(frameAfterEnd, true);
        readToEnd_ = true;
    }
    StopSlicing();
}

int32_t SlicingRun::RunStartFrame() const {
    const int32_t current = player_.CurrentFrame();
    const int32_t start = std::max(player_.RangeStart(), 0);
    const int32_t end = player_.RangeEnd();
    // Outside the play range the run starts at the range's start.
    if (current < start || (end != -1 && current > end))
        return start;
    return current;
}

int32_t SlicingRun::RunEndFrame() const {
    const int32_t end = player_.RangeEnd();
    const bool contentShare = shareOf_ >= 0 && slicer_.Mode() == SlicingMode::Engine &&
                              slicer_.Settings().detector == ShotDetector::Content;
    if (!contentShare || end < 0)
        return end;
    return std::min(end + kContentShareOverrun, player_.FrameCount() - 1);
}

void SlicingRun::StartInSegments() {
    if (player_.State() == PlayerState::Running)
        player_.Pause();  // the player's frames stay the user's
    ParallelSlicingSetup setup;
    setup.url = player_.OpenedPath();
    setup.mode = slicer_.Mode();
    setup.detection = slicer_.Settings();
    setup.stepFrames = slicer_.Settings().stepFrames;
    setup.first = RunStartFrame();
    setup.last = runEnd_ = RunEndFrame();
    setup.jobs = Jobs();
    setup.segmentFrames = segmentFrames_;
    setup.wholeRunStart = shareOf_;
    lastDecoded_ = -1;
    afterEnd_.reset();
    stitcher_ = std::make_unique<RunStitcher>(slicer_);
    inSegments_ = std::make_unique<ParallelSlicing>(std::move(setup), notify_);
}

bool SlicingRun::AddStitchedShot(const std::optional<StitchedShot>& shot) {
    if (!shot || !shot->picture)
        return true;
    const QImage picture = MakeShotThumbnail(*shot->picture, host_.GetShotTemplate());
    if (picture.isNull()) {
        ShowMessage(message::kOutOfMemory);
        return false;
    }
    std::string caption;
    host_.AddShot(picture, caption, shot->range.start, shot->range.end);
    // In segments, the preview shows the first frame of the last shot found.
    if (inSegments_)
        host_.Ports().frame->PresentFrame(shot->picture);
    return true;
}

bool SlicingRun::HandleNextRunEvent() {
    ParallelSlicingEvent event;
    if (!inSegments_ || !inSegments_->TakeEvent(event))
        return false;
    for (const AnalysedFrame& frame : event.frames) {
        if (runEnd_ != -1 && frame.frame > runEnd_) {
            afterEnd_ = frame;
        } else if (!AddStitchedShot(stitcher_->Add(frame))) {
            StopSlicing();
            return true;
        }
    }
    lastDecoded_ =
        std::max(lastDecoded_, std::min(event.lastFrame, runEnd_ == -1 ? INT32_MAX : runEnd_));
    if (event.lastFrame > -1) {
        if (const auto text = progress_.OnFrame(lastDecoded_, SlicingProgress::Clock::now()))
            host_.Ports().frame->ShowSlicingStatus(*text);
    }
    if (!event.end)
        return true;
    readToEnd_ = event.complete;
    if (event.complete) {
        // The frame after the end closes the last shot, as when played.
        std::optional<StitchedShot> last;
        if (afterEnd_)
            last = stitcher_->CloseAt(afterEnd_->frame, afterEnd_->measured);
        else if (slicer_.Mode() == SlicingMode::Sampler)
            last = stitcher_->CloseAt(lastDecoded_ + 1, std::nullopt);
        else
            last = stitcher_->Close();
        AddStitchedShot(last);
    }
    StopSlicing();
    return true;
}

void SlicingRun::SetPacedPlayback(bool paced) {
    pacedPlayback_ = paced;
    if (!slicer_.IsActive())
        player_.SetPaced(paced);
}

void SlicingRun::BeginRun() {
    readToEnd_ = false;
    if (realTimeSlicing_) {
        // Paced without dropping a frame: the run must see every one.
        player_.SetPaced(true);
        player_.SetDeliverEveryFrame(true);
    }
    const int32_t last = player_.RangeEnd() > -1 ? player_.RangeEnd() : player_.FrameCount() - 1;
    progress_.Begin(last, host_.ShotCount(), SlicingProgress::Clock::now());
    host_.OpenRunStep();
    host_.Ports().frame->ShowSlicingStatus("Slicing");
}

void SlicingRun::EndRun() {
    stitcher_.reset();
    if (inSegments_) {
        inSegments_.reset();  // every worker ends within a frame
        // The preview goes back to the frame on show.
        if (player_.FrameSurface())
            host_.Ports().frame->PresentFrame(player_.FrameSurface());
    }
    player_.SetPaced(pacedPlayback_);
    player_.SetDeliverEveryFrame(false);
    if (progress_.IsRunning())
        host_.Ports().frame->ShowSlicingStatus(
            progress_.End(host_.ShotCount(), SlicingProgress::Clock::now()));
    host_.CloseRunStep();
}

void SlicingRun::StartEngine() {
    slicer_.StartEngine(player_.AvgTimePerFrame());
    BeginRun();
    CheckCommand(command::kEngine, true);
    CheckCommand(command::kSampler, false);
    StartPlayingOrInSegments();
}

void SlicingRun::StartSampler() {
    slicer_.StartSampler(player_.FrameCount(), player_.AvgTimePerFrame());
    BeginRun();
    CheckCommand(command::kSampler, true);
    CheckCommand(command::kEngine, false);
    StartPlayingOrInSegments();
}

void SlicingRun::StartPlayingOrInSegments() {
    if (!realTimeSlicing_) {
        StartInSegments();
        return;
    }
    stitcher_ = std::make_unique<RunStitcher>(slicer_);
    SliceFrameOnShow();
    if (player_.State() != PlayerState::Running)
        player_.Play();
}

void SlicingRun::SliceFrameOnShow() {
    // Playing goes on from the frame after the one on show, which the run
    // would otherwise leave out. A frame not yet come after a seek starts
    // the run when it comes.
    if (!player_.FrameOnShow() || player_.FrameAwaited())
        return;
    const int32_t current = player_.CurrentFrame();
    // Outside the play range, playing starts at the range's start instead.
    const int32_t start = player_.RangeStart();
    const int32_t end = player_.RangeEnd();
    if (current < 0 || (start != -1 && current < start) || (end != -1 && current > end))
        return;
    if (host_.ScaleToThumbnail())
        ProcessFrame(current, false);
}

void SlicingRun::StopSlicing() {
    slicer_.StopSlicing();
    EndRun();
    CheckCommand(command::kSampler, false);
    CheckCommand(command::kEngine, false);
}

const char* SlicingRun::NotSeekableMessage() const {
    return player_.LengthUnknown() ? message::kLengthUnknown : message::kNotSeekable;
}

void SlicingRun::OnSamplerCommand() {
    OnRunCommand(command::kSampler, &SlicingRun::StartSampler);
}

void SlicingRun::OnEngineCommand() {
    OnRunCommand(command::kEngine, &SlicingRun::StartEngine);
}

// The toolbar's sampler and engine buttons: without a video or a length
// their button goes back up and the user is told why.
void SlicingRun::OnRunCommand(int32_t button, void (SlicingRun::*start)()) {
    if (!player_.IsOpen()) {
        CheckCommand(button, false);
        ShowMessage(message::kLoadMovieFirst);
    } else if (player_.FrameCount() <= 0) {
        CheckCommand(button, false);
        ShowMessage(NotSeekableMessage());
    } else if (slicer_.IsActive()) {
        StopSlicing();
    } else {
        (this->*start)();
    }
}

void SlicingRun::OnShotsMenuEngine() {
    if (slicer_.IsActive()) {
        StopSlicing();
    } else {
        StartEngine();
    }
}

void SlicingRun::ApplySlicingSettings(const SlicingSettings& settings) {
    const int32_t shotStart = slicer_.Settings().samplerShotStart;
    slicer_.Settings() = settings;
    slicer_.Settings().samplerShotStart = shotStart;  // the run in progress keeps its shot
    slicer_.Settings().ComputeStep(player_.FrameCount(), player_.AvgTimePerFrame());
}

bool SlicingRun::EditSlicingSettings() {
    SlicingSettings edited = slicer_.Settings();
    if (!host_.Ports().user->EditSlicingSettings(edited))
        return false;
    ApplySlicingSettings(edited);
    return true;
}

}  // namespace trevanto
