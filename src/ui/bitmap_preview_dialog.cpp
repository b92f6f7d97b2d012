#include "ui/bitmap_preview_dialog.h"

#include <QColorDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QPixmap>
#include <QPushButton>

#include <string>

#include "common/regular_file.h"
#include "ui/preview_area.h"

namespace trevanto {
namespace {

// Larger files are no pictures worth reading whole for a preview; they get
// no preview, as any file that is no picture.
constexpr int64_t kMaxPictureBytes = int64_t{256} << 20;

}  // namespace

BitmapPreviewDialog::BitmapPreviewDialog(QWidget* parent)
    : PreviewFileDialog(parent, "Open Bitmap", kFilter) {
    colorButton_ = new QPushButton("Color", this);
    colorButton_->setToolTip("The colour of the template through which the video shows");
    InfoRow().addWidget(colorButton_);
    connect(colorButton_, &QPushButton::clicked, this, &BitmapPreviewDialog::ChooseColor);
}

void BitmapPreviewDialog::SetChosenColor(QRgb colour) {
    colorChosen_ = true;
    chosenColor_ = colour;
    // The button shows the colour it chose.
    QPixmap swatch(12, 12);
    swatch.fill(QColor::fromRgb(colour));
    colorButton_->setIcon(swatch);
}

PreviewFileDialog::PreviewState BitmapPreviewDialog::Preview(const QString& path) {
    // Read as bytes first: a FIFO in the picture's place must not block.
    std::string bytes;
    if (ReadRegularFile(path.toStdString(), bytes, kMaxPictureBytes) != FileReadStatus::kRead)
        return PreviewState::Failed;
    const QImage picture = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                                            static_cast<int>(bytes.size()));
    if (picture.isNull())
        return PreviewState::Failed;
    SetInfo(QString("%1 x %2").arg(picture.width()).arg(picture.height()));
    DrawingArea().ShowPicture(picture);
    return PreviewState::Ok;
}

void BitmapPreviewDialog::ChooseColor() {
    const QColor colour = QColorDialog::getColor(QColor::fromRgb(chosenColor_), this, "Color");
    if (colour.isValid())
        SetChosenColor(colour.rgb());
}

}  // namespace trevanto
