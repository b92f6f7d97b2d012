#pragma once
// The shot thumbnail view: a list in icon mode in which every item is one
// shot, drawn as its 100 x 80 thumbnail with the caption under it. The
// pictures live in the view's image list; item i always shows image i.
// Gestures and the "Shot menu" / "Shots menu" commands become operations of
// the document.
#include <QImage>
#include <QListWidget>

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/document_ports.h"

class QMenu;

namespace trevanto {

class CPlayerDoc;
class DesktopUserPort;
class FramePort;

class CThumbView : public QListWidget, public ShotViewPort {
    Q_OBJECT
  public:
    static constexpr int kImageWidth = 100;
    static constexpr int kImageHeight = 80;

    // Command ids of the two context menus.
    static constexpr int32_t kGoToBegin = 32822;
    static constexpr int32_t kGoToMiddle = 32823;
    static constexpr int32_t kGoToEnd = 32824;
    static constexpr int32_t kPlayShot = 32826;
    static constexpr int32_t kVideoLink = 32790;
    static constexpr int32_t kRefresh = 32828;
    static constexpr int32_t kRefineImage = 32839;
    static constexpr int32_t kExtractJpeg = 32829;
    static constexpr int32_t kMerge = 32830;
    static constexpr int32_t kDeleteShot = 32831;
    static constexpr int32_t kStartEngine = 32832;
    static constexpr int32_t kAddShotManually = 32834;
    static constexpr int32_t kLoadShots = 32835;
    static constexpr int32_t kSaveShots = 32836;
    static constexpr int32_t kDeleteShots = 32837;

    explicit CThumbView(QWidget* parent = nullptr);
    ~CThumbView() override;

    // The document whose shots are shown, the user who is asked, and the
    // frame whose shot count follows deletions. Any may be absent.
    void Attach(CPlayerDoc* document, DesktopUserPort* user, FramePort* frame);

    // ShotViewPort
    bool AddThumbnail(const QImage& picture, const std::string& caption, int32_t& imageIndex,
                      int32_t& itemIndex) override;
    bool ReplaceThumbnail(int32_t imageIndex, const QImage& picture) override;
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

    // Selected item indexes in ascending order.
    std::vector<int32_t> SelectedItems() const;

    // The context menu for a click at `position` (viewport coordinates): sets
    // lastHitItem and builds the "Shot menu" or the "Shots menu" with its
    // enabling. The chosen command goes to RunCommand.
    std::unique_ptr<QMenu> MakeContextMenu(const QPoint& position);
    // Runs a view command as if chosen from a context menu.
    void RunCommand(int32_t commandId);
    // The Delete key and "Delete shot".
    void DeleteSelected();
    // "&Delete shots": every shot after a Yes/No question.
    void DeleteAll();
    void MergeSelected();
    // Commands whose feature is not there yet stay in the menus, greyed.
    void SetCommandAvailable(int32_t commandId, bool available);
    // Whether a command of the "Shots menu" or of the "Shot menu" can be
    // chosen now: the one rule for these menus and for the main window's
    // Shots menu.
    bool CommandEnabled(int32_t commandId) const;

  signals:
    // A command the view does not handle itself (the video hyperlink, and
    // "Extract as jpeg", whose folder the application asks for).
    void CommandInvoked(int32_t commandId);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    QIcon IconOf(int32_t image) const;
    void ShowImageOnItem(int32_t item, int32_t image);
    bool DocumentOpen() const;
    bool SlicingActive() const;
    void UpdateShotCount();

    CPlayerDoc* document_ = nullptr;
    DesktopUserPort* user_ = nullptr;
    FramePort* frame_ = nullptr;
    // The image list: 100 x 80 pictures in 24-bit colour.
    std::vector<QImage> images_;
    int32_t currentImage_ = -1;
    int32_t lastImageIndex_ = -1;
    int32_t lastItemIndex_ = -1;
    int32_t lastHitItem_ = -1;
    bool paintingLocked_ = false;
    std::set<int32_t> unavailable_ = {kVideoLink};
};

}  // namespace trevanto
