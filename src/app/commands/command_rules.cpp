#include "app/commands/command_rules.h"

#include <cmath>

#include "app/commands/command_ids.h"

namespace trevanto {

bool CommandEnabled(int32_t commandId, const CommandState& state) {
    using namespace command;
    const bool usable = state.videoOpen && !state.slicing;
    // The shot edits are undo steps: a run or a frame job still adding shots
    // (rebuilding a shots file) would lose them to an undo.
    const bool editable = !state.slicing && !state.chainRunning;
    const bool editableShots = state.videoOpen && editable;
    switch (commandId) {
        case kPublish:  // without a video or shots it tells what is missing
            return !state.slicing && !state.chainRunning;
        case kVideoLink:  // also during a run: it only reads the shots
            return state.selectedCount > 0;
        case kShotsStartEngine:
            return state.videoOpen;
        case kSliceInRealTime:  // a run keeps the pace it started with
            return !state.slicing;
        case kOpenBitmapTemplate:  // images of a running job keep one template
            return !state.chainRunning;
        case kLoadShots:  // loading opens a video, so it needs none
            return !(state.videoOpen && state.slicing) && !state.chainRunning;
        case kSaveShots:
        case kExportShotList:
            return usable && state.shotCount > 0;
        case kDeleteShots:
            return editableShots && state.shotCount > 0;
        case kRefresh:
        case kRefineImage:
            return editableShots && state.selectedCount == 1;
        case kNextFrame:  // a run or a chain owns the player's frames
        case kPreviousFrame:
        case kGoToFrame:
            return usable && !state.chainRunning;
        case kCloseVideo:  // a chain's frames come from the open video
            return state.videoOpen && !state.chainRunning;
        case kSplitShot:  // the new shot's picture is the frame on show
            return editableShots && state.shotCount > 0;
        case kExtractJpeg:
            return usable && !state.chainRunning;
        case kMerge:
            return editableShots && state.selectedCount != 1;
        case kInsertShot:  // joins a run's step; without a video it asks for one
            return !state.chainRunning;
        case kShotsAddManually:
        case kDeleteShot:
            return editableShots;
        case kUndo:
            return !state.undoName.empty() && editable;
        case kRedo:
            return !state.redoName.empty() && editable;
        case kGoToBegin:
        case kGoToMiddle:
        case kGoToEnd:
        case kPlayShot:
            return usable;
        default:
            return true;
    }
}

std::optional<bool> CommandChecked(int32_t commandId, const CommandState& state) {
    if (commandId == command::kSliceInRealTime)
        return state.realTimeSlicing;
    // The speeds are 0.1 apart or more: one of them is the rate asked.
    if (const std::optional<float> rate = command::RateOf(commandId))
        return std::fabs(*rate - state.rate) < 0.01f;
    return std::nullopt;
}

std::optional<std::string> CommandText(int32_t commandId, const CommandState& state) {
    const auto named = [](const char* verb, const std::string& edit) {
        return edit.empty() ? std::string(verb) : std::string(verb) + " " + edit;
    };
    if (commandId == command::kUndo)
        return named("&Undo", state.undoName);
    if (commandId == command::kRedo)
        return named("&Redo", state.redoName);
    return std::nullopt;
}

}  // namespace trevanto
