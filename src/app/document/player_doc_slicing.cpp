// Presenting delivered frames and the slicing runs that follow them.
#include <cstring>

#include "app/commands/command_ids.h"
#include "app/commands/slider_scale.h"
#include "app/document/player_doc.h"
#include "app/messages/document_messages.h"
#include "export/shot_thumbnail.h"

namespace trevanto {
namespace {

// A run's preview shows at most this many whole frames a second.
constexpr double kRunPreviewFrameSeconds = 1.0 / 30.0;

}  // namespace

void CPlayerDoc::PresentFrame(bool beyondPlayRange) {
    playback_.OnFramePresented();
    const int32_t current = player_.CurrentFrame();
    const int32_t frames = player_.FrameCount();
    // A frame played as its thumbnail alone leaves the preview as it is. When
    // it was thinned out for the preview (frames are shown), the slider and
    // the panes stay with the frame on show too; else they follow each frame.
    const bool thumbnailAlone = !player_.FrameSurface() && player_.FrameThumbnail();
    if (current > -1 && !(thumbnailAlone && player_.PlaybackFrames())) {
        if (frames > 0)
            ports_.frame->SetSliderPosition(SliderPositionOfFrame(current, frames));
        ports_.frame->UpdateFramePanes(current, frames, timecodeMode_, player_.DurationSeconds(),
                                       player_.PictureSeconds());
    }
    // A preview that shows nothing passes nothing on to the slicer.
    if (!thumbnailAlone && !ports_.frame->PresentFrame(player_.FrameSurface()))
        return;
    // Past the play range end the run is closed by OnPlaybackEnd instead.
    if (!ScaleToThumbnail() || !slicer_.IsActive() || beyondPlayRange)
        return;
    ProcessFrame(current, false);
    if (const auto text = runProgress_.OnFrame(current, SlicingProgress::Clock::now()))
        ports_.frame->ShowSlicingStatus(*text);
}

void CPlayerDoc::RepaintPreview() {
    if (!player_.IsOpen()) {
        ports_.frame->PresentFrame(nullptr);
        return;
    }
    PresentFrame(false);
}

bool CPlayerDoc::ScaleToThumbnail() {
    Surface* thumbnail = surfaces_.Thumbnail();
    const auto& frame = player_.FrameSurface();
    const auto& made = player_.FrameThumbnail();
    if (!thumbnail || (!frame && !made))
        return false;
    if (made && made->Width() == thumbnail->Width() && made->Height() == thumbnail->Height() &&
        made->Format().IsRgb32() && thumbnail->Format().IsRgb32() && !thumbnail->IsLocked()) {
        for (int y = 0; y < thumbnail->Height(); ++y)
            std::memcpy(thumbnail->Row(y), made->Row(y), static_cast<size_t>(made->Width()) * 4);
        return true;
    }
    // Graphs that make no thumbnail: the frame is shrunk here.
    return frame && thumbnail->StretchFrom(*frame, Rect{0, 0, kThumbnailWidth, kThumbnailHeight});
}

void CPlayerDoc::ProcessFrame(int32_t frame, bool force) {
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
    const QImage picture = MakeShotThumbnail(*surfaces_.ShotStart(), Template());
    if (picture.isNull()) {
        ShowMessage(message::kOutOfMemory);
        StopSlicing();
    } else {
        std::string caption;
        AddShot(picture, caption, step.finishedShot->start, step.finishedShot->end);
    }
    // This frame is the first of the next shot.
    surfaces_.CopyThumbnailToShotStart();
}

void CPlayerDoc::OnPlaybackEnd(int32_t frameAfterEnd) {
    if (slicer_.IsActive())
        ProcessFrame(frameAfterEnd, true);
    StopSlicing();
}

void CPlayerDoc::SetPacedPlayback(bool paced) {
    pacedPlayback_ = paced;
    if (!slicer_.IsActive())
        player_.SetPaced(paced);
}

void CPlayerDoc::BeginRun() {
    // A run must see every frame: unpaced, or paced without dropping any.
    player_.SetPaced(realTimeSlicing_);
    player_.SetDeliverEveryFrame(realTimeSlicing_);
    // Whole frames for the preview at the display's rate, no faster.
    player_.SetPlaybackFrameInterval(realTimeSlicing_ ? 0.0 : kRunPreviewFrameSeconds);
    const int32_t last = player_.RangeEnd() > -1 ? player_.RangeEnd() : player_.FrameCount() - 1;
    runProgress_.Begin(last, ShotCount(), SlicingProgress::Clock::now());
    if (!runBefore_)
        runBefore_ = KeepShots();
    ports_.frame->ShowSlicingStatus("Slicing");
}

void CPlayerDoc::EndRun() {
    player_.SetPaced(pacedPlayback_);
    player_.SetDeliverEveryFrame(false);
    player_.SetPlaybackFrameInterval(0.0);
    if (runProgress_.IsRunning())
        ports_.frame->ShowSlicingStatus(
            runProgress_.End(ShotCount(), SlicingProgress::Clock::now()));
    // A run only appends: the shots it found are one edit.
    if (runBefore_) {
        if (runBefore_->shots.size() != static_cast<size_t>(ShotCount()))
            edits_.Push(ShotEdit{ShotEditKind::Run}.Name(), std::move(*runBefore_));
        runBefore_.reset();
    }
}

void CPlayerDoc::StartEngine() {
    slicer_.StartEngine(player_.AvgTimePerFrame());
    BeginRun();
    CheckCommand(command::kEngine, true);
    CheckCommand(command::kSampler, false);
    SliceFrameOnShow();
    if (player_.State() != PlayerState::Running)
        player_.Play();
}

void CPlayerDoc::StartSampler() {
    slicer_.StartSampler(player_.FrameCount(), player_.AvgTimePerFrame());
    BeginRun();
    CheckCommand(command::kSampler, true);
    CheckCommand(command::kEngine, false);
    SliceFrameOnShow();
    if (player_.State() != PlayerState::Running)
        player_.Play();
}

void CPlayerDoc::SliceFrameOnShow() {
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
    if (ScaleToThumbnail())
        ProcessFrame(current, false);
}

void CPlayerDoc::StopSlicing() {
    slicer_.StopSlicing();
    player_.SkipFramesBefore(-1);
    EndRun();
    CheckCommand(command::kSampler, false);
    CheckCommand(command::kEngine, false);
}

const char* CPlayerDoc::NotSeekableMessage() const {
    return player_.LengthUnknown() ? message::kLengthUnknown : message::kNotSeekable;
}

void CPlayerDoc::OnSamplerCommand() {
    if (!player_.IsOpen()) {
        CheckCommand(command::kSampler, false);
        ShowMessage(message::kLoadMovieFirst);
    } else if (player_.FrameCount() <= 0) {
        CheckCommand(command::kSampler, false);
        ShowMessage(NotSeekableMessage());
    } else if (slicer_.IsActive()) {
        StopSlicing();
    } else {
        StartSampler();
    }
}

void CPlayerDoc::OnEngineCommand() {
    if (!player_.IsOpen()) {
        CheckCommand(command::kEngine, false);
        ShowMessage(message::kLoadMovieFirst);
    } else if (player_.FrameCount() <= 0) {
        CheckCommand(command::kEngine, false);
        ShowMessage(NotSeekableMessage());
    } else if (slicer_.IsActive()) {
        StopSlicing();
    } else {
        StartEngine();
    }
}

void CPlayerDoc::OnShotsMenuEngine() {
    if (slicer_.IsActive()) {
        StopSlicing();
    } else {
        StartEngine();
    }
}

void CPlayerDoc::InsertShot() {
    RunEdit({ShotEditKind::Insert}, false, [this] {
        const int32_t current = player_.CurrentFrame();
        return CaptureShot(true, current, current);
    });
}

void CPlayerDoc::ApplySlicingSettings(const SlicingSettings& settings) {
    const int32_t shotStart = slicer_.Settings().samplerShotStart;
    slicer_.Settings() = settings;
    slicer_.Settings().samplerShotStart = shotStart;  // the run in progress keeps its shot
    slicer_.Settings().ComputeStep(player_.FrameCount(), player_.AvgTimePerFrame());
}

bool CPlayerDoc::EditSlicingSettings() {
    SlicingSettings edited = slicer_.Settings();
    if (!ports_.user->EditSlicingSettings(edited))
        return false;
    ApplySlicingSettings(edited);
    return true;
}

}  // namespace trevanto
