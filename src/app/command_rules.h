#pragma once
// When a command can be chosen: pure functions of a snapshot of the document
// and the selection, shared by every menu, the toolbar and the dispatch.
#include <cstdint>

namespace trevanto {

struct CommandState {
    bool videoOpen = false;
    bool slicing = false;
    // A chain of frame requests (rebuilding, export, refresh) owns the one
    // frame request; what would make another waits until it ends.
    bool chainRunning = false;
    int32_t shotCount = 0;
    int32_t selectedCount = 0;
};

// Commands without a rule can always be chosen.
bool CommandEnabled(int32_t commandId, const CommandState& state);

}  // namespace trevanto
