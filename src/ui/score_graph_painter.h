#pragma once
// Drawing the change-score graph: the engine's score over the frames on a
// logarithmic scale (noise and cuts both stay visible), the threshold as a
// horizontal line, the cuts it gives as ticks, the play range and the
// current position. One pass over the scores per paint, then one line per
// pixel column, so that 100,000 frames draw as fast as 100.
#include <QRect>

#include <cstdint>
#include <vector>

#include "shots/change_scores.h"

class QPainter;
class QPalette;

namespace trevanto {

struct ScoreGraphState {
    const ChangeScores* scores = nullptr;
    int32_t frameCount = 0;
    double durationSeconds = 0.0;  // for the time labels; 0: none
    int32_t current = -1;          // -1: none
    int32_t rangeStart = -1;       // the play range marks, -1 for none
    int32_t rangeEnd = -1;
    float threshold = 15.0f;  // as the user gives it
    // The engine's threshold: the scale follows it, not a line being dragged.
    float settingThreshold = 15.0f;
    bool dragging = false;
};

// The area the scores are plotted in, inside the widget's rectangle.
QRect ScorePlotArea(const QRect& widget);
// The highest score the scale shows.
float ScaleTop(const ScoreGraphState& state);
int YOfScore(float score, float top, const QRect& plot);
float ScoreOfY(int y, float top, const QRect& plot);

void PaintScoreGraph(QPainter& painter, const QRect& widget, const ScoreGraphState& state,
                     const QPalette& palette);

}  // namespace trevanto
