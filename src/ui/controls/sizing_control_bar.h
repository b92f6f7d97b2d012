#pragma once
// A resizable docking bar that remembers one size for each place it can be:
// docked at the top or bottom, docked left or right, and floating. The frame
// saves and loads the six numbers with its own docking layout. The G variant
// replaces the caption by a gripper with a small close button.
#include <QDockWidget>
#include <QSize>

class QMainWindow;

namespace trevanto {

// The bar's sizes in pixels, one for each place.
struct BarSizes {
    QSize horz{200, 200};      // docked at the top or bottom
    QSize vert{220, 220};      // docked left or right
    QSize floating{200, 200};  // floating
    bool operator==(const BarSizes&) const = default;
};

// Keeps each dimension of loaded sizes no smaller than the bar's minimum.
BarSizes ClampToMinimum(const BarSizes& sizes);

class CSizingControlBar : public QDockWidget {
    Q_OBJECT
  public:
    static constexpr QSize kMinHorzSize{33, 32};
    static constexpr QSize kMinVertSize{33, 32};
    static constexpr QSize kMinFloatSize{37, 32};
    // The width of the sizing edge between the bar and the frame's middle.
    static constexpr int kEdgeWidth = 5;

    // `id` names the bar's size section; the bar belongs to `frame`.
    CSizingControlBar(const QString& title, QMainWindow* frame, int id);

    int Id() const { return id_; }
    const BarSizes& Sizes() const { return sizes_; }
    // Takes loaded sizes, each no smaller than its minimum, and gives the bar
    // the one of the place where it is now.
    void SetSizes(const BarSizes& sizes);

  protected:
    // The user's resizing is remembered for the place the bar is in.
    void resizeEvent(QResizeEvent* event) override;

  private:
    void FollowPlace();

    QMainWindow* frame_;
    int id_;
    BarSizes sizes_;
};

class CSizingControlBarG : public CSizingControlBar {
    Q_OBJECT
  public:
    static constexpr int kGripperHeight = 12;
    CSizingControlBarG(const QString& title, QMainWindow* frame, int id);
};

}  // namespace trevanto
