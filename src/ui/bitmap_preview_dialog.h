#pragma once
// "Open Bitmap": previews the selected picture with its size, and offers the
// "Color" button that picks the transparent colour of a shot template.
#include <QRgb>

#include "ui/preview_file_dialog.h"

class QPushButton;

namespace trevanto {

class BitmapPreviewDialog : public PreviewFileDialog {
    Q_OBJECT
  public:
    static constexpr const char* kFilter = "Bitmap Files (*.bmp)|*.bmp||";

    explicit BitmapPreviewDialog(QWidget* parent = nullptr);

    // Whether the user picked a colour with "Color", and which.
    bool ColorChosen() const { return colorChosen_; }
    QRgb ChosenColor() const { return chosenColor_; }

  protected:
    PreviewState Preview(const QString& path) override;
    QString NoPreviewText() const override { return "Not an image"; }

  private:
    void ChooseColor();
    void SetChosenColor(QRgb colour);

    QPushButton* colorButton_ = nullptr;
    bool colorChosen_ = false;
    QRgb chosenColor_ = 0xFFFF00FF;
};

}  // namespace trevanto
