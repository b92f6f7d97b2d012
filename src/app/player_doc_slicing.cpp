// Presenting delivered frames and the slicing runs that follow them.
#include <cstring>

#include "app/command_ids.h"
#include "app/document_messages.h"
#include "app/player_doc.h"
#include "app/slider_scale.h"
#include "export/shot_thumbnail.h"

namespace trevanto {

void CPlayerDoc::PresentFrame(bool beyondPlayRange) {
    const int32_t current = player_.CurrentFrame();
    const int32_t frames = player_.FrameCount();
    if (current > -1) {
        if (frames > 0)
            ports_.frame->SetSliderPosition(SliderPositionOfFrame(current, frames));
        ports_.frame->UpdateFramePanes(current, frames, timecodeMode_, player_.DurationSeconds());
    }
    // A preview that shows nothing passes nothing on to the slicer.
    if (!ports_.frame->PresentFrame(player_.FrameSurface()))
        return;
    // Past the play range end the run is closed by OnPlaybackEnd instead.
    if (ScaleToThumbnail() && slicer_.IsActive() && !beyondPlayRange)
        ProcessFrame(current, false);
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

void CPlayerDoc::StartEngine() {
    slicer_.StartEngine(player_.AvgTimePerFrame());
    player_.SetDeliverEveryFrame(true);  // a run must see every frame
    CheckCommand(command::kEngine, true);
    CheckCommand(command::kSampler, false);
    if (player_.State() != PlayerState::Running)
        player_.Play();
}

void CPlayerDoc::StartSampler() {
    slicer_.StartSampler(player_.FrameCount(), player_.AvgTimePerFrame());
    player_.SetDeliverEveryFrame(true);
    CheckCommand(command::kSampler, true);
    CheckCommand(command::kEngine, false);
    if (player_.State() != PlayerState::Running)
        player_.Play();
}

void CPlayerDoc::StopSlicing() {
    slicer_.StopSlicing();
    player_.SkipFramesBefore(-1);
    player_.SetDeliverEveryFrame(false);
    CheckCommand(command::kSampler, false);
    CheckCommand(command::kEngine, false);
}

void CPlayerDoc::OnSamplerCommand() {
    if (!player_.IsOpen()) {
        CheckCommand(command::kSampler, false);
        ShowMessage(message::kLoadMovieFirst);
    } else if (player_.FrameCount() <= 0) {
        CheckCommand(command::kSampler, false);
        ShowMessage(message::kNotSeekable);
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
        ShowMessage(message::kNotSeekable);
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
    const int32_t current = player_.CurrentFrame();
    CaptureShot(true, current, current);
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
