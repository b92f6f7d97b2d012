#include "shots/score_columns.h"

#include <algorithm>

namespace trevanto {

int ColumnOfFrame(int32_t frame, int32_t frameCount, int width) {
    if (frameCount <= 0 || width <= 0)
        return 0;
    return static_cast<int>(int64_t{frame} * width / frameCount);
}

int32_t FrameOfColumn(int x, int32_t frameCount, int width) {
    if (frameCount <= 0 || width <= 0)
        return 0;
    const int64_t column = std::clamp(x, 0, width - 1);
    // The smallest f with f * width / frameCount >= x.
    return static_cast<int32_t>((column * frameCount + width - 1) / width);
}

std::vector<ScoreColumn> ScoreColumns(const std::vector<FrameScore>& scores, int32_t frameCount,
                                      int width) {
    std::vector<ScoreColumn> columns(static_cast<size_t>(std::max(width, 0)));
    for (const FrameScore& score : scores) {
        if (score.runStart || score.frame < 0 || score.frame >= frameCount)
            continue;
        ScoreColumn& column =
            columns[static_cast<size_t>(ColumnOfFrame(score.frame, frameCount, width))];
        if (!column.any) {
            column = {true, score.change, score.change};
        } else {
            column.low = std::min(column.low, score.change);
            column.high = std::max(column.high, score.change);
        }
    }
    return columns;
}

float TopScore(const std::vector<FrameScore>& scores) {
    float top = 0.0f;
    for (const FrameScore& score : scores) {
        if (!score.runStart)
            top = std::max(top, score.change);
    }
    return top;
}

}  // namespace trevanto
