// Thumbnails: capturing the thumbnail surface as a shot's picture and
// retaking a shot's picture at its start frame.
#include "app/player_doc.h"
#include "export/shot_thumbnail.h"
#include "video/player_messages.h"

namespace trevanto {
namespace {

// A refresh whose frame is not the shot's start is sought again at most this
// many times; then the frame that came is taken.
constexpr int kMaxRefreshRepeats = 3;

}  // namespace

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
    if (!ports_.view || imageIndex < 0)
        return false;
    return ports_.view->ReplaceThumbnail(imageIndex, picture);
}

bool CPlayerDoc::RefreshShotImage(int32_t item) {
    // A request set now would take the place of the chain's, which would
    // then never go on.
    if (FrameChainRunning())
        return false;
    refreshRepeats_ = 0;
    RequestRefresh(item);
    return true;
}

void CPlayerDoc::RequestRefresh(int32_t item) {
    if (!player_.IsOpen()) {
        ShowMessage(message::kLoadMovieFirst);
        return;
    }
    if (!surfaces_.Thumbnail() || item < 0 || !shots_.FindShotByItem(item))
        return;
    FrameRequest request;
    request.kind = FrameRequestKind::RefreshThumbnail;
    request.item = item;
    player_.SetFrameRequest(request);
    GoToShot(item, false);
}

void CPlayerDoc::CompleteRefresh(int32_t item) {
    if (!player_.IsOpen()) {
        ShowMessage(message::kLoadMovieFirst);
        return;
    }
    if (!ScaleToThumbnail())
        return;
    const int32_t start = shots_.StartFrameOfItem(item);
    if (start != -1 && start != player_.CurrentFrame() && refreshRepeats_ < kMaxRefreshRepeats) {
        // Another frame came first (one decoded before the seek): ask again,
        // and show this one meanwhile.
        ++refreshRepeats_;
        RequestRefresh(item);
    }
    CaptureShot(false, start, start, shots_.ImageIndexOfItem(item));
}

}  // namespace trevanto
