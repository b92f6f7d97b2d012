#include "ui/score_graph.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

#include "app/document/player_doc.h"
#include "shots/score_columns.h"

namespace trevanto {
namespace {

// How near the threshold line a press takes hold of it, in pixels.
constexpr int kGrip = 4;
// The lowest threshold a drag sets: the engine needs one above 0.
constexpr float kLowestThreshold = 0.01f;

}  // namespace

CScoreGraph::CScoreGraph(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setToolTip(
        "Change scores: drag the threshold line to try another threshold, click to go to a "
        "frame");
}

ScoreGraphState CScoreGraph::State() const {
    ScoreGraphState state;
    if (document_ == nullptr || !document_->IsOpen())
        return state;
    const Player& player = document_->GetPlayer();
    state.scores = &document_->Slicing().Scores();
    state.frameCount = player.FrameCount();
    state.durationSeconds = player.DurationSeconds();
    state.current = player.CurrentFrame();
    state.rangeStart = player.RangeStart();
    state.rangeEnd = player.RangeEnd();
    state.settingThreshold = document_->Slicing().Settings().ThresholdOf(state.scores->Detector());
    state.threshold = dragged_.value_or(state.settingThreshold);
    state.dragging = dragged_.has_value();
    return state;
}

void CScoreGraph::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    PaintScoreGraph(painter, rect(), State(), palette());
}

bool CScoreGraph::NearThresholdLine(int y) const {
    const ScoreGraphState state = State();
    if (!state.scores || state.scores->IsEmpty())
        return false;
    const QRect plot = ScorePlotArea(rect());
    return std::abs(y - YOfScore(state.threshold, ScaleTop(state), plot)) <= kGrip;
}

float CScoreGraph::ThresholdAt(int y) const {
    const float threshold = ScoreOfY(y, ScaleTop(State()), ScorePlotArea(rect()));
    return std::max(threshold, kLowestThreshold);
}

void CScoreGraph::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || document_ == nullptr)
        return;
    const QPoint at = event->position().toPoint();
    if (NearThresholdLine(at.y())) {
        dragged_ = ThresholdAt(at.y());
        update();
        return;
    }
    const int32_t frames = document_->GetPlayer().FrameCount();
    const QRect plot = ScorePlotArea(rect());
    if (frames > 0)
        emit SeekRequested(FrameOfColumn(at.x() - plot.left(), frames, plot.width()));
}

void CScoreGraph::mouseMoveEvent(QMouseEvent* event) {
    const int y = static_cast<int>(event->position().y());
    if (dragged_) {
        dragged_ = ThresholdAt(y);
        update();
        return;
    }
    setCursor(NearThresholdLine(y) ? Qt::SizeVerCursor : Qt::PointingHandCursor);
}

void CScoreGraph::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragged_)
        return;
    const float threshold = *dragged_;
    dragged_.reset();
    update();
    emit ThresholdChosen(threshold);
}

}  // namespace trevanto
