// "Create a videolink": a link to the online copy of the video from one
// shot's start to another's end.
#include "app/document/player_doc.h"
#include "app/document/shots_of_video.h"
#include "app/front_ends/publish_wizard_steps.h"
#include "publish/video_link.h"

namespace trevanto {

std::string CPlayerDoc::CreateVideoLink(int32_t firstItem, int32_t lastItem) {
    const Shot* first = shots_.FindShotByItem(firstItem);
    const Shot* last = shots_.FindShotByItem(lastItem);
    if (first == nullptr || last == nullptr)
        return {};
    // The link plays the open video's online copy: it cannot hold the times
    // of a shot of another video.
    LeftOutShots others(player_.OpenedPath());
    if (!IsOfOpenVideo(*first))
        others.Take(*first);
    if (last != first && !IsOfOpenVideo(*last))
        others.Take(*last);
    if (others.Total() > 0) {
        ShowMessage(others.Message("link"));
        return {};
    }
    const int32_t frames = player_.FrameCount();
    const double duration = player_.DurationSeconds();
    const PictureTimes times = player_.PictureSeconds();
    publisher_.PublishVideoFacts(player_.OpenedPath(), frames, duration, times);
    // The dialog edits a copy; only an accepted one comes back.
    Publisher copy;
    copy.Assign(publisher_);
    // An opened stream is its own online copy.
    VideoLinkFields fields{first->StartTimecode(frames, duration, '.', times),
                           last->EndTimecode(frames, duration, '.', times), ProposedVideoUrl(copy),
                           copy.Options().asxScriptUrl};
    if (!ports_.user->EditVideoLink(fields))
        return {};
    copy.Options().onlineVideoUrl = fields.videoUrl;
    copy.Options().asxScriptUrl = fields.scriptUrl;
    publisher_.Assign(copy);
    return BuildVideoLink(fields.scriptUrl, fields.start, fields.end, fields.videoUrl);
}

}  // namespace trevanto
