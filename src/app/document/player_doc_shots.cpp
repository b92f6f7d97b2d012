// The document's side of the shot list: adding a shot, going to one and the
// caption mode.
#include <memory>

#include "app/document/player_doc.h"
#include "app/messages/document_messages.h"

namespace trevanto {

CaptionContext CPlayerDoc::Captions() const {
    return {timecodeMode_, player_.FrameCount(), player_.DurationSeconds(),
            player_.PictureSeconds()};
}

void CPlayerDoc::UpdateShotCount() {
    ports_.frame->UpdateShotCount(shots_.ShotCount());
}

bool CPlayerDoc::AddShot(const QImage& picture, std::string& captionOut, int32_t start,
                         int32_t end) {
    Shot& shot = shots_.Append(std::make_unique<Shot>());
    shot.number = shots_.ShotCount();
    shot.startFrame = start;
    shot.SetEnd(end);
    if (player_.IsOpen())
        shot.source = {player_.OpenedPath(), player_.FrameCount(), player_.DurationSeconds(),
                       player_.PictureSeconds()};
    shot.BuildCaption(Captions());
    captionOut = shot.caption;
    // Added by an edit, a run or a rebuild, the shot is part of its step;
    // added alone, it is a change no step takes back.
    editing_.OnShotAdded(shotsFile_.IsRebuilding());

    int32_t imageIndex = -1;
    int32_t itemIndex = -1;
    const bool accepted = ports_.view->AddThumbnail(picture, shot.caption, imageIndex, itemIndex);
    // A refused shot stays in the list without view indexes; the count
    // shows it all the same, since it is in the list.
    if (accepted) {
        Shot* tail = shots_.Tail();
        if (tail && tail->startFrame == start && tail->endFrame == end) {
            tail->imageIndex = imageIndex;
            tail->itemIndex = itemIndex;
        }
    }
    UpdateShotCount();
    return accepted;
}

void CPlayerDoc::ShiftIndexesAfterRemoval(int32_t item, int32_t image) {
    shots_.ShiftIndexesAfterRemoval(item, image);
}

bool CPlayerDoc::GoToShot(int32_t item, bool play) {
    if (shots_.IsEmpty() || item < 0)
        return false;
    const Shot* shot = shots_.FindShotByItem(item);
    if (!shot)
        return false;
    const PlayerState state = player_.State();
    if (state == PlayerState::Running || state == PlayerState::Stopped)
        player_.Pause();
    const bool sought = player_.SeekToFrame(shot->startFrame);
    const PlayerState now = player_.State();
    if (play && (now == PlayerState::Stopped || now == PlayerState::Paused))
        player_.Play();
    return sought;
}

void CPlayerDoc::GoToMiddle(int32_t item) {
    if (const Shot* shot = shots_.FindShotByItem(item)) {
        player_.SeekToFrame((shot->startFrame + shot->endFrame) / 2);
    }
}

void CPlayerDoc::GoToEnd(int32_t item) {
    if (const Shot* shot = shots_.FindShotByItem(item))
        player_.SeekToFrame(shot->endFrame);
}

void CPlayerDoc::RecaptionAll() {
    if (!player_.IsOpen()) {
        ShowMessage(message::kLoadMovieFirst);
        return;
    }
    timecodeMode_ = !timecodeMode_;
    ports_.frame->UpdateFramePanes(player_.CurrentFrame(), player_.FrameCount(), timecodeMode_,
                                   player_.DurationSeconds(), player_.PictureSeconds());
    const CaptionContext context = Captions();
    for (const auto& shot : shots_) {
        shot->BuildCaption(context);
        if (shot->itemIndex >= 0) {
            ports_.view->SetItemCaption(shot->itemIndex, shot->caption);
        }
    }
}

}  // namespace trevanto
