#pragma once
// Undo and Redo of the shot edits. Every edit of the shots is a step: its
// name ("Merge 3 shots") and the whole shot list as it was before it, with
// the view's pictures; once undone, also as it was after it. Undoing and
// redoing put those shots back exactly, numbers, ranges, image frames,
// captions and pictures, without decoding a frame. The document owns the
// stack and refuses both while a slicing run or a frame job changes the shots.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/document/document_ports.h"
#include "shots/shot.h"

namespace trevanto {

// The shots at one moment.
struct ShotsState {
    std::vector<Shot> shots;              // in list order
    std::vector<KeptThumbnail> pictures;  // pictures[i]: of shots[i]; null for none
    bool timecodeMode = false;            // the captions' mode

    size_t PictureBytes() const;
};

// The same shots: numbers, ranges, image frames, captions and videos.
bool SameShots(const std::vector<Shot>& a, const std::vector<Shot>& b);

// The edits of the shots, each one command of the menus or the score graph.
enum class ShotEditKind {
    Insert,     // "Insert shot", "Add shot manually"
    Delete,     // the selected shots
    DeleteAll,  // "Delete shots"
    Merge,
    RefineStart,
    Refresh,
    Split,
    Recut,  // from the score graph
    Load,   // a shots file
    Run,    // a slicing run's shots
};

struct ShotEdit {
    ShotEditKind kind;
    int32_t count = 1;  // the shots deleted or merged

    // What the Undo and Redo commands call it, e.g. "Merge 3 shots".
    std::string Name() const;
};

class ShotEditStack {
  public:
    // At most `maxSteps` steps whose states hold at most `maxBytes` of
    // pictures are kept; the oldest go first.
    explicit ShotEditStack(size_t maxSteps = 100, size_t maxBytes = size_t{256} << 20)
        : maxSteps_(maxSteps), maxBytes_(maxBytes) {}

    // A new edit done on the shots `before`; the steps undone are dropped.
    void Push(std::string name, ShotsState before);
    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }
    // The name of the step Undo or Redo would take; empty when none.
    std::string UndoName() const;
    std::string RedoName() const;
    // The shots to put back; `current` is kept to go back to. Only when
    // CanUndo (CanRedo).
    ShotsState Undo(ShotsState current);
    ShotsState Redo(ShotsState current);

    // The shots as they are now were saved or loaded.
    void MarkSaved() { savedAt_ = done_; }
    // They differ from every state the stack can reach back to.
    void MarkUnsaved() { savedAt_.reset(); }
    bool AtSaved() const { return savedAt_ == done_; }
    size_t StepCount() const { return steps_.size(); }

  private:
    struct Step {
        std::string name;
        ShotsState before;
        ShotsState after;  // kept when undone
    };
    void DropOldest();
    size_t Bytes() const;

    std::vector<Step> steps_;
    size_t done_ = 0;  // steps_[0, done_) are done, the rest undone
    std::optional<size_t> savedAt_ = 0;
    size_t maxSteps_;
    size_t maxBytes_;
};

}  // namespace trevanto
