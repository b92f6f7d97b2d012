// Presenting delivered frames (to the preview, the panes and a slicing run)
// and inserting the frame on show as a shot.
#include <cstring>

#include "app/commands/slider_scale.h"
#include "app/document/player_doc.h"

namespace trevanto {

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
    if (!ScaleToThumbnail() || !slicing_.IsRunning() || beyondPlayRange)
        return;
    slicing_.OnFramePresented(current);
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

}  // namespace trevanto
