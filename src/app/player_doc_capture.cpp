// Thumbnails: capturing the thumbnail surface as a shot's picture and
// retaking a shot's picture at its start frame.
#include "app/document_messages.h"
#include "app/player_doc.h"
#include "app/shots_of_video.h"
#include "export/shot_thumbnail.h"

namespace trevanto {

bool CPlayerDoc::CaptureShot(bool add, int32_t start, int32_t end, int32_t imageIndex) {
    if (!player_.IsOpen()) {
        ShowMessage(message::kLoadMovieFirst);
        return false;
    }
    const Surface* thumbnail = surfaces_.Thumbnail();
    if (!thumbnail)
        return false;
    const QImage picture = MakeShotThumbnail(*thumbnail, Template());
    if (picture.isNull())
        return false;
    if (add) {
        std::string caption;
        return AddShot(picture, caption, start, end);
    }
    if (imageIndex < 0)
        return false;
    return ports_.view->ReplaceThumbnail(imageIndex, picture);
}

bool CPlayerDoc::RefreshShotImage(int32_t item) {
    return RunEdit({ShotEditKind::Refresh}, true, [&] { return RefreshNow(item); });
}

bool CPlayerDoc::RefreshNow(int32_t item) {
    // The chain owns the one awaited frame; another job would take it.
    if (FrameChainRunning())
        return false;
    if (const Shot* shot = shots_.FindShotByItem(item); shot && IsOpen() && !IsOfOpenVideo(*shot)) {
        ShowMessage(OtherVideoPictureMessage(*shot, player_.OpenedPath()));
        return false;
    }
    refreshJob_.SetItem(item);
    chain_.Start(refreshJob_, 1);
    return true;
}

FrameJob::Seek ThumbnailRefreshJob::SeekItem(int32_t /*k*/) {
    if (!doc_.IsOpen()) {
        doc_.Ports().user->ShowMessage(message::kLoadMovieFirst);
        return Seek::Failed;
    }
    if (!doc_.SurfacesSetUp() || item_ < 0 || !doc_.Shots().FindShotByItem(item_))
        return Seek::Failed;
    return doc_.GoToShot(item_, false) ? Seek::Sought : Seek::Unreachable;
}

void ThumbnailRefreshJob::OnUnreachable(int32_t /*k*/) {
    doc_.Ports().user->ShowMessage(
        "The picture of the shot cannot be taken again: its first frame cannot be reached in "
        "the video.");
}

int32_t ThumbnailRefreshJob::WantedFrame(int32_t /*k*/) const {
    return doc_.Shots().StartFrameOfItem(item_);
}

void ThumbnailRefreshJob::OnOtherFrame(int32_t k) {
    Act(k);
}

bool ThumbnailRefreshJob::Act(int32_t /*k*/) {
    if (!doc_.ScaleToThumbnail())
        return false;
    const int32_t start = doc_.Shots().StartFrameOfItem(item_);
    doc_.CaptureShot(false, start, start, doc_.Shots().ImageIndexOfItem(item_));
    return true;
}

}  // namespace trevanto
