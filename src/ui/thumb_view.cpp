#include "ui/thumb_view.h"

#include <QPixmap>

#include <algorithm>

namespace trevanto {
namespace {

// The image an item shows is kept with the item.
constexpr int kImageRole = Qt::UserRole + 1;

}  // namespace

CThumbView::CThumbView(QWidget* parent) : QListWidget(parent) {
    setObjectName("thumbView");
    setViewMode(QListView::IconMode);
    setResizeMode(QListView::Adjust);  // automatic arrangement
    setMovement(QListView::Static);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setWordWrap(true);
    setIconSize(QSize(kImageWidth, kImageHeight));
    // Room for a caption of two lines under each picture.
    setGridSize(QSize(kImageWidth + 60, kImageHeight + 50));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFrameShape(QFrame::StyledPanel);
}

CThumbView::~CThumbView() = default;

void CThumbView::Attach(CPlayerDoc* document, DesktopUserPort* user, FramePort* frame) {
    document_ = document;
    user_ = user;
    frame_ = frame;
}

QIcon CThumbView::IconOf(int32_t image) const {
    if (image < 0 || image >= ImageCount())
        return {};
    return QIcon(QPixmap::fromImage(images_[static_cast<size_t>(image)]));
}

void CThumbView::ShowImageOnItem(int32_t itemIndex, int32_t image) {
    QListWidgetItem* entry = item(itemIndex);
    if (entry == nullptr)
        return;
    entry->setData(kImageRole, image);
    entry->setIcon(IconOf(image));
}

bool CThumbView::AddImage(const QImage& picture, const std::string& caption) {
    if (picture.isNull())
        return false;
    QImage copy = picture.convertToFormat(QImage::Format_RGB888);
    if (copy.size() != QSize(kImageWidth, kImageHeight)) {
        copy =
            copy.scaled(kImageWidth, kImageHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    images_.push_back(std::move(copy));
    currentImage_ = ImageCount() - 1;
    lastImageIndex_ = currentImage_;
    auto* entry = new QListWidgetItem(QString::fromStdString(caption));
    entry->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
    addItem(entry);
    lastItemIndex_ = row(entry);
    ShowImageOnItem(lastItemIndex_, currentImage_);
    return true;
}

bool CThumbView::AddThumbnail(const QImage& picture, const std::string& caption,
                              int32_t& imageIndex, int32_t& itemIndex) {
    if (!AddImage(picture, caption))
        return false;
    imageIndex = lastImageIndex_;
    itemIndex = lastItemIndex_;
    return true;
}

bool CThumbView::ReplaceImage(const QImage& picture) {
    if (currentImage_ < 0 || currentImage_ >= ImageCount() || picture.isNull())
        return false;
    QImage copy = picture.convertToFormat(QImage::Format_RGB888);
    if (copy.size() != QSize(kImageWidth, kImageHeight)) {
        copy =
            copy.scaled(kImageWidth, kImageHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    images_[static_cast<size_t>(currentImage_)] = std::move(copy);
    for (int i = 0; i < count(); ++i) {
        if (ImageOfItem(i) == currentImage_)
            ShowImageOnItem(i, currentImage_);
    }
    viewport()->repaint();
    return true;
}

bool CThumbView::ReplaceThumbnail(int32_t imageIndex, const QImage& picture) {
    currentImage_ = imageIndex;
    return ReplaceImage(picture);
}

void CThumbView::SetItemCaption(int32_t itemIndex, const std::string& caption) {
    if (itemIndex < 0)
        return;
    if (QListWidgetItem* entry = item(itemIndex))
        entry->setText(QString::fromStdString(caption));
}

int32_t CThumbView::ImageOfItem(int32_t itemIndex) const {
    const QListWidgetItem* entry = item(itemIndex);
    return entry == nullptr ? -1 : entry->data(kImageRole).toInt();
}

QImage CThumbView::Thumbnail(int32_t imageIndex) const {
    return imageIndex < 0 || imageIndex >= ImageCount() ? QImage()
                                                        : images_[static_cast<size_t>(imageIndex)];
}

QImage CThumbView::ItemPicture(int32_t itemIndex) const {
    const int32_t image = ImageOfItem(itemIndex);
    return image < 0 || image >= ImageCount() ? QImage() : images_[static_cast<size_t>(image)];
}

std::string CThumbView::ItemCaption(int32_t itemIndex) const {
    const QListWidgetItem* entry = item(itemIndex);
    return entry == nullptr ? std::string() : entry->text().toStdString();
}

std::vector<int32_t> CThumbView::SelectedItems() const {
    std::vector<int32_t> selected;
    for (const QListWidgetItem* entry : selectedItems())
        selected.push_back(row(entry));
    std::sort(selected.begin(), selected.end());
    return selected;
}

void CThumbView::DeleteItemAndImage(int32_t itemIndex) {
    DeleteItemAndImage(itemIndex, itemIndex);
}

void CThumbView::SetPaintingLocked(bool locked) {
    paintingLocked_ = locked;
    setUpdatesEnabled(!locked);
}

}  // namespace trevanto
