// The shot edits and the undo stack that takes them back.
#include "app/document/shot_editing.h"

#include <algorithm>
#include <memory>
#include <set>

#include "app/document/shots_of_video.h"
#include "app/messages/document_messages.h"
#include "export/shot_thumbnail.h"
#include "shots/change_scores.h"

namespace trevanto {

void ShotEditing::UpdateShotCount() {
    host_.Ports().frame->UpdateShotCount(shots_.ShotCount());
}

void ShotEditing::ShowMessage(const std::string& text) {
    host_.Ports().user->ShowMessage(text, MessageKind::Warning);
}

void ShotEditing::OnShotAdded(bool rebuilding) {
    if (editDepth_ == 0 && !runBefore_ && !rebuilding)
        edits_.MarkUnsaved();
}

void ShotEditing::InsertShot() {
    RunEdit({ShotEditKind::Insert}, false, [this] {
        const int32_t current = player_.CurrentFrame();
        return host_.CaptureShot(true, current, current, -1);
    });
}

bool ShotEditing::DeleteShot(int32_t item) {
    return RunEdit({ShotEditKind::Delete}, false, [&] { return RemoveShot(item); });
}

bool ShotEditing::DeleteShots(const std::vector<int32_t>& items) {
    return RunEdit({ShotEditKind::Delete, static_cast<int32_t>(items.size())}, false, [&] {
        // Each removal moves the later items down by one.
        for (size_t k = 0; k < items.size(); ++k) {
            if (!RemoveShot(items[k] - static_cast<int32_t>(k)))
                return false;
        }
        return true;
    });
}

bool ShotEditing::RemoveShot(int32_t item) {
    if (shots_.IsEmpty())
        return true;
    const auto removed = shots_.RemoveByItem(item);
    if (!removed)
        return false;
    // The view calls ShiftIndexesAfterRemoval once the item is gone.
    host_.Ports().view->DeleteItemAndImage(item);
    UpdateShotCount();
    // The shot that followed absorbs the removed range.
    for (const Shot* shot : shots_.RenumberAfterRemoval(*removed, host_.Captions())) {
        host_.Ports().view->SetItemCaption(shot->itemIndex, shot->caption);
    }
    return true;
}

void ShotEditing::ClearShots() {
    RunEdit({ShotEditKind::DeleteAll}, false, [this] {
        RemoveAllShots();
        return true;
    });
}

void ShotEditing::RemoveAllShots() {
    host_.Ports().view->DeleteAllItems();
    trevanto::ClearShots(shots_, pending_);
    UpdateShotCount();
}

void ShotEditing::RefineShotStart(int32_t item) {
    // A start that stays where it was is no edit.
    RunEdit({ShotEditKind::RefineStart}, false, [&] {
        RefineStartNow(item);
        return false;
    });
}

void ShotEditing::RefineStartNow(int32_t item) {
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
    if (current > shot->endFrame || current < 0 || !host_.ScaleToThumbnail())
        return;
    host_.CaptureShot(false, current, current, shot->imageIndex);
    shot->startFrame = current;
    shot->BuildCaption(host_.Captions());
    host_.Ports().view->SetItemCaption(shot->itemIndex, shot->caption);
    if (previous) {
        previous->SetEnd(current - 1);
        previous->BuildCaption(host_.Captions());
        host_.Ports().view->SetItemCaption(previous->itemIndex, previous->caption);
    }
}

bool ShotEditing::MergeShots(const std::vector<int32_t>& items) {
    return RunEdit({ShotEditKind::Merge, static_cast<int32_t>(items.size())}, true,
                   [&] { return MergeNow(items); });
}

bool ShotEditing::MergeNow(const std::vector<int32_t>& items) {
    if (items.size() < 2 || host_.FrameChainRunning())
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

bool ShotEditing::SplitShotHere() {
    return RunEdit({ShotEditKind::Split}, false, [this] { return SplitNow(); });
}

bool ShotEditing::SplitNow() {
    if (!player_.IsOpen() || slicer_.IsActive() || host_.FrameChainRunning())
        return false;
    const int32_t frame = player_.CurrentFrame();
    const std::optional<size_t> position = shots_.FindShotHolding(frame, player_.OpenedPath());
    if (!position || !shots_.CanSplitAt(*position, frame) || !host_.ScaleToThumbnail())
        return false;
    const Surface* thumbnail = surfaces_.Thumbnail();
    const QImage picture =
        thumbnail ? MakeShotThumbnail(*thumbnail, host_.GetShotTemplate()) : QImage();
    if (picture.isNull())
        return false;
    const Shot& shot = *shots_.At(*position);
    // The view takes the new picture first: a view that refuses it leaves
    // the shots as they were.
    if (shot.itemIndex >= 0 && shot.imageIndex >= 0 &&
        !host_.Ports().view->InsertThumbnail(shot.itemIndex + 1, shot.imageIndex + 1, picture,
                                             {})) {
        return false;
    }
    for (const Shot* changed : shots_.SplitAt(*position, frame, host_.Captions()))
        host_.Ports().view->SetItemCaption(changed->itemIndex, changed->caption);
    UpdateShotCount();
    return true;
}

bool ShotEditing::RefreshShotImage(int32_t item) {
    return RunEdit({ShotEditKind::Refresh}, true, [&] { return RefreshNow(item); });
}

bool ShotEditing::RefreshNow(int32_t item) {
    // The chain owns the one awaited frame; another job would take it.
    if (host_.FrameChainRunning())
        return false;
    if (const Shot* shot = shots_.FindShotByItem(item);
        shot && player_.IsOpen() && !IsOfOpenVideo(*shot)) {
        ShowMessage(OtherVideoPictureMessage(*shot, player_.OpenedPath()));
        return false;
    }
    host_.StartRefresh(item);
    return true;
}

bool ShotEditing::RecutShots(float threshold, bool keepOwnShots) {
    return RunEdit({ShotEditKind::Recut}, true, [&] { return RecutNow(threshold, keepOwnShots); });
}

bool ShotEditing::RecutNow(float threshold, bool keepOwnShots) {
    const ChangeScores& scores = slicer_.Scores();
    if (scores.IsEmpty() || !player_.IsOpen() || slicer_.IsActive() || host_.FrameChainRunning())
        return false;
    const auto cut = [&scores](float at) { return scores.RecutAt(at).shots; };
    // The engine's shots are those of the last cut; any other range was made
    // by hand, merged, refined or loaded.
    std::set<std::pair<int32_t, int32_t>> engineShots;
    for (const ShotRange& range : cut(scores.RunThreshold()))
        engineShots.emplace(range.start, range.end);
    std::vector<Shot> records;
    for (const auto& shot : shots_) {
        if (keepOwnShots && IsOfOpenVideo(*shot) &&
            !engineShots.count({shot->startFrame, shot->endFrame}))
            records.push_back(*shot);
    }
    for (const ShotRange& range : cut(threshold)) {
        Shot record;
        record.startFrame = record.imageFrame = range.start;
        record.endFrame = range.end;
        records.push_back(record);
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const Shot& a, const Shot& b) { return a.startFrame < b.startFrame; });
    player_.Pause();  // the pictures are taken from sought frames, as for a shots file
    if (std::all_of(shots_.begin(), shots_.end(),
                    [this](const auto& shot) { return IsOfOpenVideo(*shot); })) {
        RemoveAllShots();
    } else {
        // The shots of other videos stay, with their pictures; the cut ones
        // follow them.
        for (const int32_t item :
             shots_.RemoveIf([this](const Shot& shot) { return IsOfOpenVideo(shot); }))
            host_.Ports().view->DeleteItemAndImage(item);
        int32_t number = 0;
        for (const auto& shot : shots_) {
            shot->number = ++number;
            shot->BuildCaption(host_.Captions());
            if (shot->itemIndex >= 0)
                host_.Ports().view->SetItemCaption(shot->itemIndex, shot->caption);
        }
        UpdateShotCount();
    }
    slicer_.Settings().SetThresholdOf(scores.Detector(), threshold);
    slicer_.SetScoresThreshold(threshold);
    host_.RebuildShots(std::move(records));
    return true;
}

bool ShotEditing::ShotsModified() const {
    // The shots of a run in progress are an edit not yet on the stack.
    const bool runAdded =
        runBefore_ && runBefore_->shots.size() != static_cast<size_t>(shots_.ShotCount());
    return runAdded || !edits_.AtSaved();
}

void ShotEditing::SetShotsModified(bool modified) {
    if (modified)
        edits_.MarkUnsaved();
    else
        edits_.MarkSaved();
}

bool ShotEditing::RunEdit(const ShotEdit& edit, bool later, const std::function<bool()>& change) {
    if (editDepth_ > 0)
        return change();
    // A frame job (rebuilding a shots file) or a run is still adding shots,
    // which an undo of this edit would drop; a shot inserted by hand during a
    // run joins the run's step instead.
    if (host_.FrameChainRunning())
        return false;
    if (runBefore_ && edit.kind == ShotEditKind::Insert)
        return change();
    if (slicer_.IsActive())
        return false;
    ShotsState before = KeepShots();
    ++editDepth_;
    const bool done = change();
    --editDepth_;
    std::vector<Shot> now;
    for (const auto& shot : shots_)
        now.push_back(*shot);
    if ((later && done) || !SameShots(before.shots, now))
        edits_.Push(edit.Name(), std::move(before));
    return done;
}

void ShotEditing::OpenRunStep() {
    if (!runBefore_)
        runBefore_ = KeepShots();
}

void ShotEditing::CloseRunStep() {
    // A run only appends: the shots it found are one edit.
    if (runBefore_) {
        if (runBefore_->shots.size() != static_cast<size_t>(shots_.ShotCount()))
            edits_.Push(ShotEdit{ShotEditKind::Run}.Name(), std::move(*runBefore_));
        runBefore_.reset();
    }
}

void ShotEditing::RecordShotsEdit(const ShotEdit& edit) {
    if (editDepth_ == 0 && !runBefore_)
        edits_.Push(edit.Name(), KeepShots());
}

ShotsState ShotEditing::KeepShots() const {
    ShotsState state;
    state.timecodeMode = host_.TimecodeMode();
    state.shots.reserve(static_cast<size_t>(shots_.ShotCount()));
    state.pictures.reserve(static_cast<size_t>(shots_.ShotCount()));
    for (const auto& shot : shots_) {
        state.shots.push_back(*shot);
        state.pictures.push_back(shot->imageIndex >= 0
                                     ? host_.Ports().view->KeepThumbnail(shot->imageIndex)
                                     : KeptThumbnail());
    }
    return state;
}

void ShotEditing::PutBackShots(const ShotsState& state) {
    host_.Ports().view->DeleteAllItems();
    trevanto::ClearShots(shots_, pending_);
    // Captions made in the other mode are made again in this one.
    const CaptionContext context = host_.Captions();
    for (size_t i = 0; i < state.shots.size(); ++i) {
        Shot& shot = shots_.Append(std::make_unique<Shot>(state.shots[i]));
        shot.imageIndex = shot.itemIndex = -1;
        if (state.timecodeMode != host_.TimecodeMode())
            shot.BuildCaption(context);
        const KeptThumbnail& picture = state.pictures[i];
        int32_t image = -1;
        int32_t item = -1;
        // A shot the view had no picture of stays without one, as it was.
        if (!picture.IsNull() &&
            host_.Ports().view->AddKeptThumbnail(picture, shot.caption, image, item)) {
            shot.imageIndex = image;
            shot.itemIndex = item;
        }
    }
    UpdateShotCount();
}

bool ShotEditing::Undo() {
    if (!edits_.CanUndo() || slicer_.IsActive() || host_.FrameChainRunning())
        return false;
    PutBackShots(edits_.Undo(KeepShots()));
    return true;
}

bool ShotEditing::Redo() {
    if (!edits_.CanRedo() || slicer_.IsActive() || host_.FrameChainRunning())
        return false;
    PutBackShots(edits_.Redo(KeepShots()));
    return true;
}

}  // namespace trevanto
