// The document's operations on the shot list: adding, deleting, going to a
// shot, refining its start and the caption mode.
#include <memory>

#include "app/document/player_doc.h"
#include "app/document/shots_of_video.h"
#include "app/messages/document_messages.h"
#include "export/shot_thumbnail.h"

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
    if (editDepth_ == 0 && !runBefore_ && !shotsFile_.IsRebuilding())
        edits_.MarkUnsaved();

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

bool CPlayerDoc::DeleteShot(int32_t item) {
    return RunEdit({ShotEditKind::Delete}, false, [&] { return RemoveShot(item); });
}

bool CPlayerDoc::DeleteShots(const std::vector<int32_t>& items) {
    return RunEdit({ShotEditKind::Delete, static_cast<int32_t>(items.size())}, false, [&] {
        // Each removal moves the later items down by one.
        for (size_t k = 0; k < items.size(); ++k) {
            if (!RemoveShot(items[k] - static_cast<int32_t>(k)))
                return false;
        }
        return true;
    });
}

bool CPlayerDoc::RemoveShot(int32_t item) {
    if (shots_.IsEmpty())
        return true;
    const auto removed = shots_.RemoveByItem(item);
    if (!removed)
        return false;
    // The view calls ShiftIndexesAfterRemoval once the item is gone.
    ports_.view->DeleteItemAndImage(item);
    UpdateShotCount();
    // The shot that followed absorbs the removed range.
    for (const Shot* shot : shots_.RenumberAfterRemoval(*removed, Captions())) {
        ports_.view->SetItemCaption(shot->itemIndex, shot->caption);
    }
    return true;
}

void CPlayerDoc::ShiftIndexesAfterRemoval(int32_t item, int32_t image) {
    shots_.ShiftIndexesAfterRemoval(item, image);
}

void CPlayerDoc::ClearShots() {
    RunEdit({ShotEditKind::DeleteAll}, false, [this] {
        RemoveAllShots();
        return true;
    });
}

void CPlayerDoc::RemoveAllShots() {
    ports_.view->DeleteAllItems();
    trevanto::ClearShots(shots_, pending_);
    UpdateShotCount();
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

void CPlayerDoc::RefineShotStart(int32_t item) {
    // A start that stays where it was is no edit.
    RunEdit({ShotEditKind::RefineStart}, false, [&] {
        RefineStartNow(item);
        return false;
    });
}

void CPlayerDoc::RefineStartNow(int32_t item) {
    if (!player_.IsOpen() || !surfaces_.Thumbnail())
        return;
    Shot* shot = shots_.FindShotByItem(item);
    if (!shot)
        return;
    if (!IsOfOpenVideo(*shot)) {
        ShowMessage(OtherVideoPictureMessage(*shot, player_.OpenedPath()));
        return;
    }
    const int32_t current = player_.CurrentFrame();
    Shot* previous = item > 0 ? shots_.FindShotByItem(item - 1) : nullptr;
    if (current < shot->startFrame) {
        // Moving the start back takes frames from the shot before, which
        // must keep at least one frame of its own.
        if (!previous || previous->startFrame >= current)
            return;
    }
    if (current > shot->endFrame || current < 0 || !ScaleToThumbnail())
        return;
    CaptureShot(false, current, current, shot->imageIndex);
    shot->startFrame = current;
    shot->BuildCaption(Captions());
    ports_.view->SetItemCaption(shot->itemIndex, shot->caption);
    if (previous) {
        previous->SetEnd(current - 1);
        previous->BuildCaption(Captions());
        ports_.view->SetItemCaption(previous->itemIndex, previous->caption);
    }
}

bool CPlayerDoc::MergeShots(const std::vector<int32_t>& items) {
    return RunEdit({ShotEditKind::Merge, static_cast<int32_t>(items.size())}, true,
                   [&] { return MergeNow(items); });
}

bool CPlayerDoc::MergeNow(const std::vector<int32_t>& items) {
    if (items.size() < 2 || FrameChainRunning())
        return false;
    // Each removal moves the later items down by one; every removed shot's
    // frames go to the shot after it.
    for (size_t k = 0; k + 1 < items.size(); ++k) {
        if (!RemoveShot(items[k] - static_cast<int32_t>(k)))
            return false;
    }
    const int32_t last = items.back() - static_cast<int32_t>(items.size() - 1);
    return RefreshNow(last);
}

bool CPlayerDoc::SplitShotHere() {
    return RunEdit({ShotEditKind::Split}, false, [this] { return SplitNow(); });
}

bool CPlayerDoc::SplitNow() {
    if (!player_.IsOpen() || slicing_.IsRunning() || FrameChainRunning())
        return false;
    const int32_t frame = player_.CurrentFrame();
    const std::optional<size_t> position = shots_.FindShotHolding(frame, player_.OpenedPath());
    if (!position || !shots_.CanSplitAt(*position, frame) || !ScaleToThumbnail())
        return false;
    const Surface* thumbnail = surfaces_.Thumbnail();
    const QImage picture = thumbnail ? MakeShotThumbnail(*thumbnail, Template()) : QImage();
    if (picture.isNull())
        return false;
    const Shot& shot = *shots_.At(*position);
    // The view takes the new picture first: a view that refuses it leaves
    // the shots as they were.
    if (shot.itemIndex >= 0 && shot.imageIndex >= 0 &&
        !ports_.view->InsertThumbnail(shot.itemIndex + 1, shot.imageIndex + 1, picture, {})) {
        return false;
    }
    for (const Shot* changed : shots_.SplitAt(*position, frame, Captions()))
        ports_.view->SetItemCaption(changed->itemIndex, changed->caption);
    UpdateShotCount();
    return true;
}

}  // namespace trevanto
