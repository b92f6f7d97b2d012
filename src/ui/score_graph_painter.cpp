#include "ui/score_graph_painter.h"

#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>

#include "common/text_format.h"
#include "common/time_marks.h"
#include "shots/score_columns.h"

namespace trevanto {
namespace {

constexpr int kTickHeight = 6;
// Time labels closer than this many pixels would run into each other.
constexpr int kTimeLabelSpacing = 64;

// A faint line at every round time, labelled at the top of the plot.
void PaintTimeLabels(QPainter& painter, const QRect& plot, const ScoreGraphState& state,
                     const QPalette& palette) {
    const double step = TimeMarkStep(state.durationSeconds, plot.width(), kTimeLabelSpacing);
    if (step <= 0.0)
        return;
    QColor grid = palette.color(QPalette::Mid);
    grid.setAlpha(90);
    for (double t = step; t < state.durationSeconds; t += step) {
        const auto frame = static_cast<int32_t>(t / state.durationSeconds * state.frameCount);
        const int x = plot.left() + ColumnOfFrame(frame, state.frameCount, plot.width());
        painter.setPen(grid);
        painter.drawLine(x, plot.top(), x, plot.bottom());
        painter.setPen(palette.color(QPalette::PlaceholderText));
        painter.drawText(x + 3, plot.top() + painter.fontMetrics().ascent(),
                         QString::fromStdString(TimeMarkText(t)));
    }
}

}  // namespace

QRect ScorePlotArea(const QRect& widget) {
    return widget.adjusted(4, 18, -4, -(kTickHeight + 3));
}

float ScaleTop(const ScoreGraphState& state) {
    const float top = state.scores ? TopScore(state.scores->Frames()) : 0.0f;
    return std::max({top * 1.25f, state.settingThreshold * 2.0f, 1.0f});  // room above the highest
}

int YOfScore(float score, float top, const QRect& plot) {
    const double share = std::log1p(std::max(score, 0.0f)) / std::log1p(top);
    return plot.bottom() - static_cast<int>(std::lround(std::min(share, 1.0) * plot.height()));
}

float ScoreOfY(int y, float top, const QRect& plot) {
    const double share = static_cast<double>(plot.bottom() - y) / std::max(plot.height(), 1);
    return static_cast<float>(std::expm1(std::clamp(share, 0.0, 1.0) * std::log1p(top)));
}

void PaintScoreGraph(QPainter& painter, const QRect& widget, const ScoreGraphState& state,
                     const QPalette& palette) {
    painter.fillRect(widget, palette.base());
    painter.setPen(palette.color(QPalette::Mid));
    painter.drawRect(widget.adjusted(0, 0, -1, -1));
    const QRect plot = ScorePlotArea(widget);
    if (!state.scores || state.scores->IsEmpty() || state.frameCount <= 0 || plot.width() <= 0) {
        painter.setPen(palette.color(QPalette::PlaceholderText));
        painter.drawText(widget, Qt::AlignCenter,
                         "Start the shot engine to see the change score of every frame.");
        return;
    }
    const int width = plot.width();
    const auto xOf = [&](int32_t frame) {
        return plot.left() + ColumnOfFrame(frame, state.frameCount, width);
    };
    if (state.rangeStart > -1 || state.rangeEnd > -1) {
        QColor range = palette.color(QPalette::Highlight);
        range.setAlpha(40);
        const int left = xOf(std::max(state.rangeStart, 0));
        const int right = xOf(state.rangeEnd > -1 ? state.rangeEnd : state.frameCount - 1);
        painter.fillRect(QRect(QPoint(left, plot.top()), QPoint(right, widget.bottom() - 1)),
                         range);
    }

    const float top = ScaleTop(state);
    const std::vector<ScoreColumn> columns =
        ScoreColumns(state.scores->Frames(), state.frameCount, width);
    // Fewer frames than columns: a frame's score spans its columns.
    const int span = (width + state.frameCount - 1) / state.frameCount;
    QColor area = palette.color(QPalette::Highlight);
    area.setAlpha(70);
    const QPen areaPen(area), linePen(palette.color(QPalette::Text));
    ScoreColumn shown;
    int carried = 0;
    for (int x = 0; x < width; ++x) {
        const ScoreColumn& column = columns[static_cast<size_t>(x)];
        if (column.any) {
            shown = column;
            carried = 0;
        } else if (!shown.any || ++carried >= span) {
            shown.any = false;
            continue;
        }
        const int high = YOfScore(shown.high, top, plot);
        painter.setPen(areaPen);
        painter.drawLine(plot.left() + x, plot.bottom(), plot.left() + x, high);
        painter.setPen(linePen);
        painter.drawLine(plot.left() + x, YOfScore(shown.low, top, plot), plot.left() + x, high);
    }

    PaintTimeLabels(painter, plot, state, palette);

    // The cuts the threshold gives: a tick at the first frame of every shot
    // but the first.
    const Recut recut = state.scores->RecutAt(state.threshold);
    const QColor accent = palette.color(QPalette::Highlight);
    for (size_t i = 1; i < recut.shots.size(); ++i)
        painter.fillRect(xOf(recut.shots[i].start), widget.bottom() - kTickHeight - 1, 2,
                         kTickHeight, accent);

    QPen line(accent, state.dragging ? 2 : 1, state.dragging ? Qt::SolidLine : Qt::DashLine);
    painter.setPen(line);
    const int y = YOfScore(state.threshold, top, plot);
    painter.drawLine(plot.left(), y, plot.right(), y);

    if (state.current > -1 && state.current < state.frameCount) {
        painter.setPen(QPen(palette.color(QPalette::Link), 1));
        painter.drawLine(xOf(state.current), widget.top() + 1, xOf(state.current),
                         widget.bottom() - 1);
    }

    painter.setPen(palette.color(QPalette::Text));
    const long shots = static_cast<long>(recut.shots.size());
    std::string label =
        FormatText("Threshold %.1f: %ld shot%s", static_cast<double>(state.threshold), shots,
                   shots == 1 ? "" : "s");
    if (state.dragging)
        label += " (release to cut again)";
    painter.drawText(widget.adjusted(6, 2, -6, 0), Qt::AlignLeft | Qt::AlignTop,
                     QString::fromStdString(label));
}

}  // namespace trevanto
