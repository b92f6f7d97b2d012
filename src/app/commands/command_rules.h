#pragma once
// When a command can be chosen: pure functions of a snapshot of the document
// and the selection, shared by every menu, the toolbar and the dispatch.
#include <cstdint>
#include <optional>
#include <string>

namespace trevanto {

struct CommandState {
    bool videoOpen = false;
    bool slicing = false;
    // A chain of frame requests (rebuilding, export, refresh) owns the one
    // frame request; what would make another waits until it ends.
    bool chainRunning = false;
    int32_t shotCount = 0;
    int32_t selectedCount = 0;
    float rate = 1.0f;  // the playing speed asked last
    bool realTimeSlicing = false;
    // The shot edits Undo and Redo would take back; empty for none.
    std::string undoName = {};
    std::string redoName = {};
};

// Commands without a rule can always be chosen.
bool CommandEnabled(int32_t commandId, const CommandState& state);
// Whether a check item shows its check; none for commands whose check the
// document sets as its state changes (Play, the slicers) or that have none.
std::optional<bool> CommandChecked(int32_t commandId, const CommandState& state);
// The text a command shows now, for those that name what they do ("&Undo
// Merge 3 shots"); none for the others, whose text is fixed.
std::optional<std::string> CommandText(int32_t commandId, const CommandState& state);

}  // namespace trevanto
