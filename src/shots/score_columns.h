#pragma once
// What the change-score graph draws, per pixel column rather than per frame,
// so that drawing stays as fast at 100,000 frames as at 100.
#include <cstdint>
#include <vector>

#include "shots/change_scores.h"

namespace trevanto {

struct ScoreColumn {
    bool any = false;  // a scored frame falls into the column
    float low = 0.0f;
    float high = 0.0f;
};

// Column x of `width` holds the frames f with f * width / frameCount == x,
// frames 0 to frameCount - 1. A run's first frame is left out: its score
// compares it with whatever was analysed before the run.
std::vector<ScoreColumn> ScoreColumns(const std::vector<FrameScore>& scores, int32_t frameCount,
                                      int width);
int ColumnOfFrame(int32_t frame, int32_t frameCount, int width);
// The first frame of column x.
int32_t FrameOfColumn(int x, int32_t frameCount, int width);

// The highest score drawn (run starts left out); 0 for none.
float TopScore(const std::vector<FrameScore>& scores);

}  // namespace trevanto
