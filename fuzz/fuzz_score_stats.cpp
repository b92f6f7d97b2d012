// Statistics file bytes -> scores. What reads is cut again, and what is
// written from it reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "export/score_stats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace trevanto;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ScoreStatsError error;
    const auto scores = ParseScoreStats(bytes, error);
    if (!scores) {
        // Every problem but the missing frames names its line.
        if ((error.line == 0) != (error.problem == ScoreStatsProblem::NoFrames))
            std::abort();
        return 0;
    }
    const Recut recut = RecutScores(*scores, 15.0f);
    for (const ShotRange& shot : recut.shots) {
        if (shot.end < shot.start)
            std::abort();
    }
    ChangeScores kept;
    for (const FrameScore& score : *scores)
        kept.Add(score);
    const auto again = ParseScoreStats(FormatScoreStats(kept, 15.0f), error);
    if (!again || *again != *scores)
        std::abort();
    return 0;
}
