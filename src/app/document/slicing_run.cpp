// The slicing runs that follow the delivered frames: their start, pace,
// shots and end.
#include "app/document/slicing_run.h"

#include "app/commands/command_ids.h"
#include "app/messages/document_messages.h"
#include "export/shot_thumbnail.h"

namespace trevanto {
namespace {

// A run's preview shows at most this many whole frames a second.
constexpr double kRunPreviewFrameSeconds = 1.0 / 30.0;

}  // namespace

void SlicingRun::CheckCommand(int32_t commandId, bool checked) {
    host_.Ports().frame->CheckButton(commandId, checked);
}

void SlicingRun::ShowMessage(const std::string& text) {
    host_.Ports().user->ShowMessage(text, MessageKind::Warning);
}

void SlicingRun::OnFramePresented(int32_t frame) {
    ProcessFrame(frame, false);
    if (const auto text = progress_.OnFrame(frame, SlicingProgress::Clock::now()))
        host_.Ports().frame->ShowSlicingStatus(*text);
}

void SlicingRun::ProcessFrame(int32_t frame, bool force) {
    Surface* thumbnail = surfaces_.Thumbnail();
    if (!thumbnail)
        return;
    const SliceStep step = slicer_.ProcessFrame(*thumbnail, frame, force);
    player_.SkipFramesBefore(slicer_.NextSamplerCut());  // frames between cuts count for nothing
    if (!step.analysed)
        return;
    if (step.runStarted)
        surfaces_.CopyThumbnailToShotStart();
    if (!step.finishedShot || !surfaces_.ShotStart())
        return;

    // The finished shot's thumbnail is its first frame, kept since it began.
    const QImage picture = MakeShotThumbnail(*surfaces_.ShotStart(), host_.GetShotTemplate());
    if (picture.isNull()) {
        ShowMessage(message::kOutOfMemory);
        StopSlicing();
    } else {
        std::string caption;
        host_.AddShot(picture, caption, step.finishedShot->start, step.finishedShot->end);
    }
    // This frame is the first of the next shot.
    surfaces_.CopyThumbnailToShotStart();
}

void SlicingRun::OnPlaybackEnd(int32_t frameAfterEnd) {
    if (slicer_.IsActive())
        ProcessFrame(frameAfterEnd, true);
    StopSlicing();
}

void SlicingRun::SetPacedPlayback(bool paced) {
    pacedPlayback_ = paced;
    if (!slicer_.IsActive())
        player_.SetPaced(paced);
}

void SlicingRun::BeginRun() {
    // A run must see every frame: unpaced, or paced without dropping any.
    player_.SetPaced(realTimeSlicing_);
    player_.SetDeliverEveryFrame(realTimeSlicing_);
    // Whole frames for the preview at the display's rate, no faster.
    player_.SetPlaybackFrameInterval(realTimeSlicing_ ? 0.0 : kRunPreviewFrameSeconds);
    const int32_t last = player_.RangeEnd() > -1 ? player_.RangeEnd() : player_.FrameCount() - 1;
    progress_.Begin(last, host_.ShotCount(), SlicingProgress::Clock::now());
    host_.OpenRunStep();
    host_.Ports().frame->ShowSlicingStatus("Slicing");
}

void SlicingRun::EndRun() {
    player_.SetPaced(pacedPlayback_);
    player_.SetDeliverEveryFrame(false);
    player_.SetPlaybackFrameInterval(0.0);
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
    SliceFrameOnShow();
    if (player_.State() != PlayerState::Running)
        player_.Play();
}

void SlicingRun::StartSampler() {
    slicer_.StartSampler(player_.FrameCount(), player_.AvgTimePerFrame());
    BeginRun();
    CheckCommand(command::kSampler, true);
    CheckCommand(command::kEngine, false);
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
    player_.SkipFramesBefore(-1);
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
