#pragma once
// The ordered list of shots. Shots are appended at the tail and walked from
// the head, so the order is the order of creation. The list owns its shots.
// The document's shot list and the pending list of a shots file being loaded
// are both of this kind.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shots/shot.h"

namespace trevanto {

// What DeleteShot needs to remember of a removed shot.
struct RemovedShot {
    int32_t number = -1;
    int32_t startFrame = -1;
    int32_t imageIndex = -1;
    int32_t itemIndex = -1;
    size_t position = 0;  // where the shots that followed it now begin
};

class ShotList {
  public:
    ShotList() = default;
    ShotList(const ShotList&) = delete;
    ShotList& operator=(const ShotList&) = delete;
    ShotList(ShotList&&) = default;
    ShotList& operator=(ShotList&&) = default;

    // Appends at the tail and returns the shot, now owned by the list.
    Shot& Append(std::unique_ptr<Shot> shot);
    // Removes and returns the head shot; null when empty.
    std::unique_ptr<Shot> TakeHead();

    Shot* FindShotByItem(int32_t item);
    const Shot* FindShotByItem(int32_t item) const;
    int32_t StartFrameOfItem(int32_t item) const;
    int32_t ImageIndexOfItem(int32_t item) const;
    // After the view removed an item: later items move up one, and for those
    // shots only, image indexes above the removed image move down one.
    void ShiftIndexesAfterRemoval(int32_t item, int32_t image);
    // Destroys the shot of `item`; nothing when no shot matches.
    std::optional<RemovedShot> RemoveByItem(int32_t item);
    // Destroys the shots `drop` picks; returns their view items, last first
    // (none for shots the view refused).
    std::vector<int32_t> RemoveIf(const std::function<bool(const Shot&)>& drop);
    // The shots that followed a removed one take its number onwards, the first
    // of them also its start frame; each gets a new caption. Returns them.
    std::vector<Shot*> RenumberAfterRemoval(const RemovedShot& removed,
                                            const CaptionContext& context);

    // The position of the first shot of `video` (Shot::IsFrom) whose frames
    // hold `frame`; none when no shot holds it.
    std::optional<size_t> FindShotHolding(int32_t frame, const std::string& video) const;
    // "Split shot here": `frame` lies after the shot's first frame and up to
    // its last, so both parts keep at least one frame.
    bool CanSplitAt(size_t position, int32_t frame) const;
    // The shot at `position` keeps [start, frame - 1] and its picture; a new
    // shot [frame, end] follows it in the list and in the view (the item and
    // image after the shot's, when it has them). The shots after it move one
    // number, item and image on. Returns every shot whose caption changed,
    // the split one first, then the new one. Nothing when it cannot split.
    std::vector<Shot*> SplitAt(size_t position, int32_t frame, const CaptionContext& context);
    void Clear() { shots_.clear(); }
    int32_t ShotCount() const { return static_cast<int32_t>(shots_.size()); }
    bool IsEmpty() const { return shots_.empty(); }
    Shot* Tail() { return shots_.empty() ? nullptr : shots_.back().get(); }
    Shot* At(size_t position) { return shots_[position].get(); }
    const Shot* At(size_t position) const { return shots_[position].get(); }

    // Walk from the head.
    auto begin() const { return shots_.begin(); }
    auto end() const { return shots_.end(); }

  private:
    // A deque: a shots file rebuild takes every record from the head.
    std::deque<std::unique_ptr<Shot>> shots_;
};

// The shots read from a shots file, waiting for their thumbnails.
using PendingShotList = ShotList;

// Copies of the shots taken from `video` (Shot::IsFrom), in list order.
ShotList CopyShotsFrom(const ShotList& shots, const std::string& video);

// Destroys every shot of the document's list, then of the pending list.
void ClearShots(ShotList& shots, PendingShotList& pending);

}  // namespace trevanto
