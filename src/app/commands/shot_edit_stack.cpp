#include "app/commands/shot_edit_stack.h"

#include <utility>

#include "common/text_format.h"

namespace trevanto {

size_t ShotsState::PictureBytes() const {
    size_t bytes = 0;
    for (const KeptThumbnail& picture : pictures)
        bytes += picture.Bytes();
    return bytes;
}

bool SameShots(const std::vector<Shot>& a, const std::vector<Shot>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const Shot& x = a[i];
        const Shot& y = b[i];
        if (x.number != y.number || x.startFrame != y.startFrame || x.imageFrame != y.imageFrame ||
            x.endFrame != y.endFrame || x.caption != y.caption || x.source.video != y.source.video)
            return false;
    }
    return true;
}

std::string ShotEdit::Name() const {
    switch (kind) {
        case ShotEditKind::Insert:
            return "Insert shot";
        case ShotEditKind::Delete:
            return count == 1 ? std::string("Delete shot")
                              : FormatText("Delete %ld shots", static_cast<long>(count));
        case ShotEditKind::DeleteAll:
            return "Delete shots";
        case ShotEditKind::Merge:
            return FormatText("Merge %ld shots", static_cast<long>(count));
        case ShotEditKind::RefineStart:
            return "Refine image";
        case ShotEditKind::Refresh:
            return "Refresh";
        case ShotEditKind::Split:
            return "Split shot";
        case ShotEditKind::Recut:
            return "Re-cut shots";
        case ShotEditKind::Load:
            return "Load shots";
        case ShotEditKind::Run:
            return "Slicing run";
    }
    return {};
}

void ShotEditStack::Push(std::string name, ShotsState before) {
    steps_.resize(done_);
    if (savedAt_ && *savedAt_ > done_)
        savedAt_.reset();  // the saved shots were among those undone
    steps_.push_back({std::move(name), std::move(before), {}});
    ++done_;
    while (steps_.size() > 1 && (steps_.size() > maxSteps_ || Bytes() > maxBytes_))
        DropOldest();
}

std::string ShotEditStack::UndoName() const {
    return CanUndo() ? steps_[done_ - 1].name : std::string();
}

std::string ShotEditStack::RedoName() const {
    return CanRedo() ? steps_[done_].name : std::string();
}

ShotsState ShotEditStack::Undo(ShotsState current) {
    Step& step = steps_[--done_];
    step.after = std::move(current);
    return std::exchange(step.before, {});
}

ShotsState ShotEditStack::Redo(ShotsState current) {
    Step& step = steps_[done_++];
    step.before = std::move(current);
    return std::exchange(step.after, {});
}

void ShotEditStack::DropOldest() {
    steps_.erase(steps_.begin());
    --done_;
    // The shots before the oldest step cannot be reached again.
    if (savedAt_)
        savedAt_ = *savedAt_ == 0 ? std::nullopt : std::optional<size_t>(*savedAt_ - 1);
}

size_t ShotEditStack::Bytes() const {
    size_t bytes = 0;
    for (const Step& step : steps_)
        bytes += step.before.PictureBytes() + step.after.PictureBytes();
    return bytes;
}

}  // namespace trevanto
