#pragma once
// The preview area of the preview open dialogs: paints an off-screen picture
// of its own size, cleared to the button-shadow colour, on which a preview
// draws a picture centred and shrunk to fit.
#include <QImage>
#include <QWidget>

namespace trevanto {

// The size a picture is shown at in an area: shrunk, keeping its proportions,
// when larger than the area in either dimension; never enlarged.
QSize FitPicture(QSize picture, QSize area);

class PreviewArea : public QWidget {
    Q_OBJECT
  public:
    // The area's size in device-independent pixels.
    static constexpr int kWidth = 128;
    static constexpr int kHeight = 163;

    explicit PreviewArea(QWidget* parent = nullptr);

    // Fills the area with the button-shadow colour.
    void Clear();
    // Clears the area and draws the picture centred at its fitted size.
    void ShowPicture(const QImage& picture);
    // What the area paints: kWidth x kHeight at the screen's pixel ratio.
    const QImage& Canvas() const { return canvas_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage canvas_;
};

}  // namespace trevanto
