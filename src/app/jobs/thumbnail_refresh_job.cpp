#include "app/jobs/thumbnail_refresh_job.h"

#include "app/messages/document_messages.h"
#include "shots/shot_list.h"

namespace trevanto {

FrameJob::Seek ThumbnailRefreshJob::SeekItem(int32_t /*k*/) {
    if (!host_.IsOpen()) {
        host_.Ports().user->ShowMessage(message::kLoadMovieFirst);
        return Seek::Failed;
    }
    if (!host_.SurfacesSetUp() || item_ < 0 || !host_.Shots().FindShotByItem(item_))
        return Seek::Failed;
    return host_.GoToShot(item_, false) ? Seek::Sought : Seek::Unreachable;
}

void ThumbnailRefreshJob::OnUnreachable(int32_t /*k*/) {
    host_.Ports().user->ShowMessage(
        "The picture of the shot cannot be taken again: its first frame cannot be reached in "
        "the video.");
}

int32_t ThumbnailRefreshJob::WantedFrame(int32_t /*k*/) const {
    return host_.Shots().StartFrameOfItem(item_);
}

void ThumbnailRefreshJob::OnOtherFrame(int32_t k) {
    Act(k);
}

bool ThumbnailRefreshJob::Act(int32_t /*k*/) {
    if (!host_.ScaleToThumbnail())
        return false;
    const int32_t start = host_.Shots().StartFrameOfItem(item_);
    host_.CaptureShot(false, start, start, host_.Shots().ImageIndexOfItem(item_));
    return true;
}

}  // namespace trevanto
