// Undo and Redo of the shot edits: the stack keeps the shots, the document
// takes them from the list and the view and puts them back.
#include <memory>

#include "app/document/player_doc.h"

namespace trevanto {

bool CPlayerDoc::ShotsModified() const {
    // The shots of a run in progress are an edit not yet on the stack.
    const bool runAdded =
        runBefore_ && runBefore_->shots.size() != static_cast<size_t>(shots_.ShotCount());
    return runAdded || !edits_.AtSaved();
}

void CPlayerDoc::SetShotsModified(bool modified) {
    if (modified)
        edits_.MarkUnsaved();
    else
        edits_.MarkSaved();
}

bool CPlayerDoc::RunEdit(const ShotEdit& edit, bool later, const std::function<bool()>& change) {
    if (editDepth_ > 0)
        return change();
    // A frame job (rebuilding a shots file) or a run is still adding shots,
    // which an undo of this edit would drop; a shot inserted by hand during a
    // run joins the run's step instead.
    if (FrameChainRunning())
        return false;
    if (runBefore_ && edit.kind == ShotEditKind::Insert)
        return change();
    if (slicing_.IsRunning())
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

void CPlayerDoc::OpenRunStep() {
    if (!runBefore_)
        runBefore_ = KeepShots();
}

void CPlayerDoc::CloseRunStep() {
    // A run only appends: the shots it found are one edit.
    if (runBefore_) {
        if (runBefore_->shots.size() != static_cast<size_t>(ShotCount()))
            edits_.Push(ShotEdit{ShotEditKind::Run}.Name(), std::move(*runBefore_));
        runBefore_.reset();
    }
}

void CPlayerDoc::RecordShotsEdit(const ShotEdit& edit) {
    if (editDepth_ == 0 && !runBefore_)
        edits_.Push(edit.Name(), KeepShots());
}

ShotsState CPlayerDoc::KeepShots() const {
    ShotsState state;
    state.timecodeMode = timecodeMode_;
    state.shots.reserve(static_cast<size_t>(shots_.ShotCount()));
    state.pictures.reserve(static_cast<size_t>(shots_.ShotCount()));
    for (const auto& shot : shots_) {
        state.shots.push_back(*shot);
        state.pictures.push_back(
            shot->imageIndex >= 0 ? ports_.view->KeepThumbnail(shot->imageIndex) : KeptThumbnail());
    }
    return state;
}

void CPlayerDoc::PutBackShots(const ShotsState& state) {
    ports_.view->DeleteAllItems();
    trevanto::ClearShots(shots_, pending_);
    // Captions made in the other mode are made again in this one.
    const CaptionContext context = Captions();
    for (size_t i = 0; i < state.shots.size(); ++i) {
        Shot& shot = shots_.Append(std::make_unique<Shot>(state.shots[i]));
        shot.imageIndex = shot.itemIndex = -1;
        if (state.timecodeMode != timecodeMode_)
            shot.BuildCaption(context);
        const KeptThumbnail& picture = state.pictures[i];
        int32_t image = -1;
        int32_t item = -1;
        // A shot the view had no picture of stays without one, as it was.
        if (!picture.IsNull() &&
            ports_.view->AddKeptThumbnail(picture, shot.caption, image, item)) {
            shot.imageIndex = image;
            shot.itemIndex = item;
        }
    }
    UpdateShotCount();
}

bool CPlayerDoc::Undo() {
    if (!edits_.CanUndo() || slicing_.IsRunning() || FrameChainRunning())
        return false;
    PutBackShots(edits_.Undo(KeepShots()));
    return true;
}

bool CPlayerDoc::Redo() {
    if (!edits_.CanRedo() || slicing_.IsRunning() || FrameChainRunning())
        return false;
    PutBackShots(edits_.Redo(KeepShots()));
    return true;
}

}  // namespace trevanto
