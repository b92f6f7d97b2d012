#pragma once
// The shot thumbnail view: a list in icon mode in which every item is one
// shot, drawn as its 100 x 80 thumbnail with the caption under it. The
// pictures live in the view's image list; item i always shows image i.
// Gestures and the "Shot menu" / "Shots menu" commands become operations of
// the document.
#include <QImage>
#include <QListWidget>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/commands/command_rules.h"
#include "app/document/document_ports.h"
#include "export/compact_thumbnail.h"

class QMenu;

namespace trevanto {

namespace thumb_cell {
class Delegate;
}

class CPlayerDoc;
class DesktopUserPort;
class FramePort;

class CThumbView : public QListWidget, public ShotViewPort {
    Q_OBJECT
  public:
    static constexpr int kImageWidth = 100;
    static constexpr int kImageHeight = 80;

    explicit CThumbView(QWidget* parent = nullptr);
    ~CThumbView() override;

    // The document whose shots are shown, the user who is asked, and the
    // frame whose shot count follows deletions. Any may be absent.
    void Attach(CPlayerDoc* document, DesktopUserPort* user, FramePort* frame);

    // ShotViewPort
    bool AddThumbnail(const QImage& picture, const std::string& caption, int32_t& imageIndex,
                      int32_t& itemIndex) override;
    bool ReplaceThumbnail(int32_t imageIndex, const QImage& picture) override;
    bool InsertThumbnail(int32_t item, int32_t imageIndex, const QImage& picture,
                         const std::string& caption) override;
    QImage Thumbnail(int32_t imageIndex) const override;
    KeptThumbnail KeepThumbnail(int32_t imageIndex) const override;
    bool AddKeptThumbnail(const KeptThumbnail& kept, const std::string& caption,
                          int32_t& imageIndex, int32_t& itemIndex) override;
    void SetItemCaption(int32_t item, const std::string& caption) override;
    void DeleteItemAndImage(int32_t item) override;
    void DeleteAllItems() override;
    void SetPaintingLocked(bool locked) override;

    // Adds the picture and an item; currentImage becomes its index.
    bool AddImage(const QImage& picture, const std::string& caption);
    // Replaces the picture at currentImage.
    bool ReplaceImage(const QImage& picture);
    // Removes the item and the image; false when image < 0 or no such item.
    bool DeleteItemAndImage(int32_t item, int32_t image);

    int32_t CurrentImage() const { return currentImage_; }
    void SetCurrentImage(int32_t image) { currentImage_ = image; }
    int32_t LastImageIndex() const { return lastImageIndex_; }
    int32_t LastItemIndex() const { return lastItemIndex_; }
    int32_t LastHitItem() const { return lastHitItem_; }
    int32_t ImageCount() const { return static_cast<int32_t>(images_.size()); }
    // The image an item shows, -1 for no item.
    int32_t ImageOfItem(int32_t item) const;
    // The picture an item shows; null for no item.
    QImage ItemPicture(int32_t item) const;
    std::string ItemCaption(int32_t item) const;
    bool PaintingLocked() const { return paintingLocked_; }
    // The cell every shot is drawn in, sized to the captions shown.
    QSize CellSize() const { return cellSize_; }
    // Where an item's caption is drawn, in viewport coordinates.
    QRect CaptionRect(int32_t item) const;
    // What the empty list says to do.
    static QString EmptyHint();

    // Selected item indexes in ascending order.
    std::vector<int32_t> SelectedItems() const;

    // The context menu for a click at `position` (viewport coordinates): sets
    // lastHitItem and builds the "Shot menu" or the "Shots menu" with its
    // enabling. The chosen command goes out as CommandInvoked.
    std::unique_ptr<QMenu> MakeContextMenu(const QPoint& position);
    // The item a "Shot menu" command was chosen on, when it is the one selected.
    std::optional<int32_t> HitShot() const;
    // What the command rules look at: the document and the selection.
    CommandState CommandSnapshot() const;
    // The Delete key and "Delete shot".
    void DeleteSelected();
    // "&Delete shots": every shot after a Yes/No question.
    void DeleteAll();
    void MergeSelected();

  signals:
    // A command chosen from a context menu; the application runs it.
    void CommandInvoked(int32_t commandId);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // Adds the kept picture and an item with the caption at the end.
    void AddEntry(CompactThumbnail picture, const std::string& caption);
    QIcon IconOf(int32_t image) const;
    void ShowImageOnItem(int32_t item, int32_t image);
    void UpdateShotCount();
    // Makes the cells wide enough for a caption of `captionWidth` pixels.
    void WidenCells(int captionWidth);
    // Sizes the cells to the captions shown now.
    void FitCellsToCaptions();

    CPlayerDoc* document_ = nullptr;
    DesktopUserPort* user_ = nullptr;
    FramePort* frame_ = nullptr;
    // The image list: 100 x 80 pictures in 24-bit colour.
    // Kept compact: a film of many thousand shots fits in memory.
    std::vector<CompactThumbnail> images_;
    int32_t currentImage_ = -1;
    int32_t lastImageIndex_ = -1;
    int32_t lastItemIndex_ = -1;
    int32_t lastHitItem_ = -1;
    bool paintingLocked_ = false;
    thumb_cell::Delegate* delegate_ = nullptr;  // owned by the view
    int captionWidth_ = 0;
    QSize cellSize_;
    // Captions that change may shrink the cells: refitted once they all have.
    QTimer refit_;
};

}  // namespace trevanto
