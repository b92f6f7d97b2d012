#include "ui/thumb_view.h"

#include <QKeySequence>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <utility>

#include "app/commands/command_ids.h"
#include "ui/desktop_commands.h"
#include "ui/thumb_cell.h"
#include "ui/thumbnail_icon.h"

namespace trevanto {
namespace {

// The image an item shows is kept with the item.
constexpr int kImageRole = Qt::UserRole + 1;
// Room between the cells.
constexpr int kCellSpacing = 6;

// The key of a command as the user reads it.
QString KeyOf(int32_t commandId) {
    const DesktopCommand* command = FindDesktopCommand(commandId);
    return command == nullptr ? QString()
                              : QKeySequence(command->shortcut).toString(QKeySequence::NativeText);
}

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
    // Each cell has room for its picture and the longest caption in two lines.
    delegate_ = new thumb_cell::Delegate(QSize(kImageWidth, kImageHeight), this);
    setItemDelegate(delegate_);
    FitCellsToCaptions();
    refit_.setSingleShot(true);
    refit_.setInterval(0);
    connect(&refit_, &QTimer::timeout, this, &CThumbView::FitCellsToCaptions);
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
    return ThumbnailIcon(images_[static_cast<size_t>(image)]);
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
    AddEntry(CompactThumbnail(copy), caption);
    return true;
}

void CThumbView::AddEntry(CompactThumbnail picture, const std::string& caption) {
    images_.push_back(std::move(picture));
    currentImage_ = ImageCount() - 1;
    lastImageIndex_ = currentImage_;
    const QString text = QString::fromStdString(caption);
    auto* entry = new QListWidgetItem(text);
    entry->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
    entry->setToolTip(text);
    WidenCells(thumb_cell::CaptionWidth(fontMetrics(), text));
    addItem(entry);
    lastItemIndex_ = row(entry);
    ShowImageOnItem(lastItemIndex_, currentImage_);
}

bool CThumbView::InsertThumbnail(int32_t itemIndex, int32_t imageIndex, const QImage& picture,
                                 const std::string& caption) {
    if (picture.isNull() || itemIndex < 0 || itemIndex > count() || imageIndex < 0 ||
        imageIndex > ImageCount()) {
        return false;
    }
    QImage copy = picture.convertToFormat(QImage::Format_RGB888);
    if (copy.size() != QSize(kImageWidth, kImageHeight)) {
        copy =
            copy.scaled(kImageWidth, kImageHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    images_.insert(images_.begin() + imageIndex, CompactThumbnail(copy));
    // Items showing the image there or after show it at its new index.
    for (int i = 0; i < count(); ++i) {
        if (const int32_t image = ImageOfItem(i); image >= imageIndex)
            ShowImageOnItem(i, image + 1);
    }
    const QString text = QString::fromStdString(caption);
    auto* entry = new QListWidgetItem(text);
    entry->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
    entry->setToolTip(text);
    WidenCells(thumb_cell::CaptionWidth(fontMetrics(), text));
    insertItem(itemIndex, entry);
    ShowImageOnItem(itemIndex, imageIndex);
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
    images_[static_cast<size_t>(currentImage_)] = CompactThumbnail(copy);
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
    if (QListWidgetItem* entry = item(itemIndex)) {
        const QString text = QString::fromStdString(caption);
        entry->setText(text);
        entry->setToolTip(text);
        WidenCells(thumb_cell::CaptionWidth(fontMetrics(), text));
        refit_.start();
    }
}

void CThumbView::WidenCells(int captionWidth) {
    if (captionWidth <= captionWidth_ && cellSize_.isValid())
        return;
    captionWidth_ = std::max(captionWidth_, captionWidth);
    cellSize_ =
        thumb_cell::CellSize(fontMetrics(), QSize(kImageWidth, kImageHeight), captionWidth_);
    delegate_->SetCellSize(cellSize_);
    setGridSize(cellSize_ + QSize(kCellSpacing, kCellSpacing));
}

void CThumbView::FitCellsToCaptions() {
    captionWidth_ = 0;
    cellSize_ = {};
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, thumb_cell::CaptionWidth(fontMetrics(), item(i)->text()));
    WidenCells(widest);
}

QRect CThumbView::CaptionRect(int32_t itemIndex) const {
    const QListWidgetItem* entry = item(itemIndex);
    if (entry == nullptr)
        return {};
    return thumb_cell::Delegate::CaptionRect(visualItemRect(entry),
                                             QSize(kImageWidth, kImageHeight));
}

QString CThumbView::EmptyHint() {
    using namespace command;
    return QString(
               "Open a video (%1) and start the shot engine (%2).\n"
               "Space plays and pauses, %3 and %4 step a frame.")
        .arg(KeyOf(kFileOpen), KeyOf(kEngine), KeyOf(kPreviousFrame), KeyOf(kNextFrame));
}

void CThumbView::paintEvent(QPaintEvent* event) {
    QListWidget::paintEvent(event);
    if (count() != 0)
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(viewport()->rect().adjusted(20, 20, -20, -20),
                     Qt::AlignCenter | Qt::TextWordWrap, EmptyHint());
}

int32_t CThumbView::ImageOfItem(int32_t itemIndex) const {
    const QListWidgetItem* entry = item(itemIndex);
    return entry == nullptr ? -1 : entry->data(kImageRole).toInt();
}

QImage CThumbView::Thumbnail(int32_t imageIndex) const {
    return imageIndex < 0 || imageIndex >= ImageCount()
               ? QImage()
               : images_[static_cast<size_t>(imageIndex)].Picture();
}

KeptThumbnail CThumbView::KeepThumbnail(int32_t imageIndex) const {
    if (imageIndex < 0 || imageIndex >= ImageCount())
        return {};
    return {QImage(), images_[static_cast<size_t>(imageIndex)]};
}

bool CThumbView::AddKeptThumbnail(const KeptThumbnail& kept, const std::string& caption,
                                  int32_t& imageIndex, int32_t& itemIndex) {
    if (kept.compact.IsNull())
        return AddThumbnail(kept.picture, caption, imageIndex, itemIndex);
    // The bytes as they were: no decoding and encoding again.
    AddEntry(kept.compact, caption);
    imageIndex = lastImageIndex_;
    itemIndex = lastItemIndex_;
    return true;
}

QImage CThumbView::ItemPicture(int32_t itemIndex) const {
    const int32_t image = ImageOfItem(itemIndex);
    return image < 0 || image >= ImageCount() ? QImage()
                                              : images_[static_cast<size_t>(image)].Picture();
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
