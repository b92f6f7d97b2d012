#pragma once
// The "Change scores" strip: why each cut was made. It plots the score the
// shot engine gave every frame of its last run, the threshold, the cuts, the
// play range and the current position. Dragging the threshold line shows
// how many shots another threshold would give; releasing it offers to cut
// again. A click elsewhere goes to that frame.
#include <QWidget>

#include <optional>

#include "ui/score_graph_painter.h"

namespace trevanto {

class CPlayerDoc;

class CScoreGraph : public QWidget {
    Q_OBJECT

  public:
    explicit CScoreGraph(QWidget* parent = nullptr);
    // The document whose scores are drawn; null draws none.
    void Attach(const CPlayerDoc* document) {
        document_ = document;
        update();
    }
    // What a paint draws now.
    ScoreGraphState State() const;
    QSize sizeHint() const override { return {640, 110}; }
    QSize minimumSizeHint() const override { return {120, 60}; }

  signals:
    void SeekRequested(int frame);
    // The threshold line was dragged to `threshold` and let go.
    void ThresholdChosen(float threshold);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool NearThresholdLine(int y) const;
    float ThresholdAt(int y) const;

    const CPlayerDoc* document_ = nullptr;
    std::optional<float> dragged_;
};

}  // namespace trevanto
