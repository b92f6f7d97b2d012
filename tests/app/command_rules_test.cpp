// When each command can be chosen, for the states that tell the rules apart.
#include "app/command_rules.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/command_ids.h"

namespace trevanto {
namespace {

TEST(CommandRules, FollowVideoRunChainShotsAndSelection) {
    using namespace command;
    // videoOpen, slicing, chainRunning, shotCount, selectedCount
    const CommandState none{};
    const CommandState open{true, false, false, 0, 0};
    const CommandState oneSelected{true, false, false, 4, 1};
    const CommandState twoSelected{true, false, false, 4, 2};
    const CommandState slicing{true, true, false, 4, 1};
    const CommandState chain{true, false, true, 4, 1};
    const CommandState states[] = {none, open, oneSelected, twoSelected, slicing, chain};
    const std::pair<int32_t, std::vector<bool>> rows[] = {
        {kShotsStartEngine, {false, true, true, true, true, true}},
        {kShotsAddManually, {false, true, true, true, false, true}},
        {kLoadShots, {true, true, true, true, false, false}},
        {kSaveShots, {false, false, true, true, false, true}},
        {kDeleteShots, {false, false, true, true, false, true}},
        {kGoToBegin, {false, true, true, true, false, true}},
        {kRefresh, {false, false, true, false, false, false}},
        {kRefineImage, {false, false, true, false, false, true}},
        {kExtractJpeg, {false, true, true, true, false, false}},
        {kMerge, {false, true, false, true, false, false}},
        {kVideoLink, {false, false, false, false, false, false}},
        {kSettings, {false, false, false, false, false, false}},
        {kEngine, {true, true, true, true, true, true}},
    };
    for (const auto& [id, enabled] : rows) {
        for (size_t i = 0; i < std::size(states); ++i)
            EXPECT_EQ(CommandEnabled(id, states[i]), enabled[i]) << id << " in state " << i;
    }
}

}  // namespace
}  // namespace trevanto
