#include "shots/shot_list.h"

#include <algorithm>

namespace trevanto {

Shot& ShotList::Append(std::unique_ptr<Shot> shot) {
    shots_.push_back(std::move(shot));
    return *shots_.back();
}

std::unique_ptr<Shot> ShotList::TakeHead() {
    if (shots_.empty())
        return nullptr;
    std::unique_ptr<Shot> head = std::move(shots_.front());
    shots_.pop_front();
    return head;
}

Shot* ShotList::FindShotByItem(int32_t item) {
    return const_cast<Shot*>(static_cast<const ShotList*>(this)->FindShotByItem(item));
}

const Shot* ShotList::FindShotByItem(int32_t item) const {
    if (item == -1)
        return nullptr;
    const auto found = std::find_if(shots_.begin(), shots_.end(),
                                    [item](const auto& shot) { return shot->itemIndex == item; });
    return found == shots_.end() ? nullptr : found->get();
}

int32_t ShotList::StartFrameOfItem(int32_t item) const {
    if (item < 0)
        return -1;
    const Shot* shot = FindShotByItem(item);
    return shot ? shot->startFrame : -1;
}

int32_t ShotList::ImageIndexOfItem(int32_t item) const {
    if (item < 0)
        return -1;
    const Shot* shot = FindShotByItem(item);
    return shot ? shot->imageIndex : -1;
}

void ShotList::ShiftIndexesAfterRemoval(int32_t item, int32_t image) {
    for (const auto& shot : shots_) {
        if (shot->itemIndex <= item)
            continue;
        shot->itemIndex -= 1;
        if (shot->imageIndex > image)
            shot->imageIndex -= 1;
    }
}

std::optional<RemovedShot> ShotList::RemoveByItem(int32_t item) {
    if (item == -1)
        return std::nullopt;
    const auto found = std::find_if(shots_.begin(), shots_.end(),
                                    [item](const auto& shot) { return shot->itemIndex == item; });
    if (found == shots_.end())
        return std::nullopt;
    const Shot& shot = **found;
    RemovedShot removed{shot.number, shot.startFrame, shot.imageIndex, shot.itemIndex,
                        static_cast<size_t>(found - shots_.begin())};
    shots_.erase(found);
    return removed;
}

std::vector<int32_t> ShotList::RemoveIf(const std::function<bool(const Shot&)>& drop) {
    std::vector<int32_t> items;
    for (const auto& shot : shots_) {
        if (drop(*shot) && shot->itemIndex >= 0)
            items.push_back(shot->itemIndex);
    }
    std::erase_if(shots_, [&drop](const auto& shot) { return drop(*shot); });
    std::sort(items.rbegin(), items.rend());
    return items;
}

std::vector<Shot*> ShotList::RenumberAfterRemoval(const RemovedShot& removed,
                                                  const CaptionContext& context) {
    std::vector<Shot*> changed;
    int32_t number = removed.number;
    for (size_t i = removed.position; i < shots_.size(); ++i) {
        Shot& shot = *shots_[i];
        shot.number = number++;
        if (i == removed.position)
            shot.startFrame = removed.startFrame;
        shot.BuildCaption(context);
        changed.push_back(&shot);
    }
    return changed;
}

std::optional<size_t> ShotList::FindShotHolding(int32_t frame, const std::string& video) const {
    for (size_t i = 0; i < shots_.size(); ++i) {
        const Shot& shot = *shots_[i];
        if (shot.IsFrom(video) && shot.startFrame <= frame && frame <= shot.endFrame)
            return i;
    }
    return std::nullopt;
}

bool ShotList::CanSplitAt(size_t position, int32_t frame) const {
    if (position >= shots_.size())
        return false;
    const Shot& shot = *shots_[position];
    return shot.startFrame < frame && frame <= shot.endFrame;
}

std::vector<Shot*> ShotList::SplitAt(size_t position, int32_t frame,
                                     const CaptionContext& context) {
    if (!CanSplitAt(position, frame))
        return {};
    Shot& first = *shots_[position];
    auto second = std::make_unique<Shot>(first);
    second->number = first.number + 1;
    second->startFrame = frame;
    second->SetEnd(first.endFrame);
    const bool shown = first.itemIndex >= 0 && first.imageIndex >= 0;
    second->itemIndex = shown ? first.itemIndex + 1 : -1;
    second->imageIndex = shown ? first.imageIndex + 1 : -1;
    first.SetEnd(frame - 1);
    const auto at = shots_.begin() + static_cast<std::ptrdiff_t>(position) + 1;
    shots_.insert(at, std::move(second));
    std::vector<Shot*> changed;
    for (size_t i = position; i < shots_.size(); ++i) {
        Shot& shot = *shots_[i];
        if (i > position + 1) {
            ++shot.number;
            if (shown && shot.itemIndex > first.itemIndex)
                ++shot.itemIndex;
            if (shown && shot.imageIndex > first.imageIndex)
                ++shot.imageIndex;
        }
        shot.BuildCaption(context);
        changed.push_back(&shot);
    }
    return changed;
}

ShotList CopyShotsFrom(const ShotList& shots, const std::string& video) {
    ShotList copies;
    for (const auto& shot : shots) {
        if (shot->IsFrom(video))
            copies.Append(std::make_unique<Shot>(*shot));
    }
    return copies;
}

void ClearShots(ShotList& shots, PendingShotList& pending) {
    while (shots.TakeHead()) {
    }
    while (pending.TakeHead()) {
    }
}

}  // namespace trevanto
