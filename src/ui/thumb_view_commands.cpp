// The thumbnail view's gestures, context menus and commands, and the item
// removals that keep item i on image i.
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include "app/player_doc.h"
#include "app/shots_file_commands.h"
#include "common/text_format.h"
#include "ui/desktop_user_port.h"
#include "ui/thumb_view.h"

namespace trevanto {

bool CThumbView::DeleteItemAndImage(int32_t itemIndex, int32_t image) {
    if (image < 0 || itemIndex < 0 || itemIndex >= count())
        return false;
    delete takeItem(itemIndex);
    if (image < ImageCount())
        images_.erase(images_.begin() + image);
    // Later images moved down by one: every later item shows its own index again.
    for (int32_t i = itemIndex; i < count(); ++i)
        ShowImageOnItem(i, i);
    if (document_ != nullptr)
        document_->ShiftIndexesAfterRemoval(itemIndex, image);
    return true;
}

void CThumbView::DeleteAllItems() {
    clear();
    images_.clear();
    currentImage_ = -1;
}

bool CThumbView::DocumentOpen() const {
    return document_ != nullptr && document_->IsOpen();
}

bool CThumbView::SlicingActive() const {
    return document_ != nullptr && document_->IsSlicing();
}

void CThumbView::UpdateShotCount() {
    if (frame_ != nullptr && document_ != nullptr)
        frame_->UpdateShotCount(document_->ShotCount());
}

void CThumbView::SetCommandAvailable(int32_t commandId, bool available) {
    if (available) {
        unavailable_.erase(commandId);
    } else {
        unavailable_.insert(commandId);
    }
}

bool CThumbView::CommandEnabled(int32_t commandId) const {
    if (unavailable_.contains(commandId))
        return false;
    const bool open = DocumentOpen();
    const bool slicing = SlicingActive();
    const bool usable = open && !slicing;
    const bool hasShots = document_ != nullptr && document_->ShotCount() > 0;
    // A chain of frame requests (rebuilding, export, refresh) owns the one
    // frame request; what would make another waits until it ends.
    const bool chain = document_ != nullptr && document_->FrameChainRunning();
    const size_t selected = SelectedItems().size();
    switch (commandId) {
        // Shots menu
        case kStartEngine:
            return open;
        case kAddShotManually:
            return usable;
        case kLoadShots:
            return !(open && slicing) && !chain;  // loading opens a video, so it needs none
        case kSaveShots:
        case kDeleteShots:
            return usable && hasShots;
        // Shot menu
        case kVideoLink:
            return true;
        case kRefresh:
            return usable && selected == 1 && !chain;
        case kRefineImage:
            return usable && selected == 1;
        case kExtractJpeg:
            return usable && !chain;
        case kMerge:
            return usable && selected != 1 && !chain;  // it ends with a refresh
        default:
            return usable;
    }
}

std::unique_ptr<QMenu> CThumbView::MakeContextMenu(const QPoint& position) {
    const QModelIndex hit = indexAt(position);
    lastHitItem_ = hit.isValid() ? hit.row() : -1;
    // Owned by the caller alone, so that it may outlive the view.
    auto menu = std::make_unique<QMenu>();
    const auto add = [&](int32_t id, const QString& text) {
        QAction* action = menu->addAction(text);
        action->setData(id);
        action->setEnabled(CommandEnabled(id));
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        return action;
    };
    if (!hit.isValid()) {
        menu->setObjectName("Shots menu");
        menu->setTitle("Shots menu");
        add(kStartEngine,
            SlicingActive() && DocumentOpen() ? "&Stop shot-engine" : "&Start shot engine");
        add(kAddShotManually, "&Add shot manually");
        menu->addSeparator();
        add(kLoadShots, "&Load shots...");
        add(kSaveShots, "Sa&ve shots...");
        menu->addSeparator();
        add(kDeleteShots, "&Delete shots");
        return menu;
    }
    menu->setObjectName("Shot menu");
    menu->setTitle("Shot menu");
    add(kGoToBegin, "Go-to &begin");
    add(kGoToMiddle, "Go-to &middle");
    add(kGoToEnd, "Go-to &end");
    add(kPlayShot, "&Play");
    menu->addSeparator();
    add(kVideoLink, "Create a videolink");
    menu->addSeparator();
    add(kRefresh, "Refresh");
    add(kRefineImage, "Refine &image");
    add(kExtractJpeg, "Extract as jpeg");
    menu->addSeparator();
    add(kMerge, "Merge");
    add(kDeleteShot, "Delete shot");
    return menu;
}

void CThumbView::RunCommand(int32_t commandId) {
    const size_t selected = SelectedItems().size();
    const bool oneSelected = selected == 1 && lastHitItem_ >= 0;
    switch (commandId) {
        case kGoToBegin:
        case kPlayShot:
            if (oneSelected && document_ != nullptr) {
                document_->GoToShot(lastHitItem_, commandId == kPlayShot);
            }
            return;
        case kGoToMiddle:
            if (oneSelected && document_ != nullptr)
                document_->GoToMiddle(lastHitItem_);
            return;
        case kGoToEnd:
            if (oneSelected && document_ != nullptr)
                document_->GoToEnd(lastHitItem_);
            return;
        case kRefresh:
        case kRefineImage:
            if (!oneSelected || document_ == nullptr)
                return;
            currentImage_ = document_->Shots().ImageIndexOfItem(lastHitItem_);
            if (commandId == kRefresh) {
                document_->RefreshShotImage(lastHitItem_);
            } else {
                document_->RefineShotStart(lastHitItem_);
            }
            return;
        case kMerge:
            if (selected >= 2)
                MergeSelected();
            return;
        case kDeleteShot:
            DeleteSelected();
            return;
        case kStartEngine:
            if (document_ != nullptr)
                document_->OnShotsMenuEngine();
            return;
        case kAddShotManually:
            if (document_ != nullptr)
                document_->InsertShot();
            return;
        case kDeleteShots:
            DeleteAll();
            return;
        case kExtractJpeg:
            // The application asks where the images go.
            if (selected >= 1)
                emit CommandInvoked(commandId);
            return;
        case kLoadShots:
            if (document_ != nullptr)
                document_->ShotsFile().LoadShots();
            return;
        case kSaveShots:
            if (document_ != nullptr)
                document_->ShotsFile().SaveShots();
            return;
        case kVideoLink:
            if (selected >= 1)
                emit CommandInvoked(commandId);
            return;
        default:
            emit CommandInvoked(commandId);
            return;
    }
}

void CThumbView::DeleteSelected() {
    const std::vector<int32_t> selected = SelectedItems();
    const size_t n = selected.size();
    if (n == 0 || document_ == nullptr)
        return;
    if (n == static_cast<size_t>(count())) {
        DeleteAll();
        return;
    }
    const std::string question =
        n > 1
            ? FormatText("You are about to delete %ld shot items. Proceed ?", static_cast<long>(n))
            : FormatText("You are about to delete %s. Proceed ?",
                         ItemCaption(selected.front()).c_str());
    if (document_->ConfirmDeletes()) {
        if (user_ == nullptr)
            return;
        bool doNotShowAgain = false;
        const bool yes = user_->ConfirmDelete(question, doNotShowAgain);
        document_->SetConfirmDeletes(!doNotShowAgain);
        if (!yes)
            return;
    }
    for (size_t k = 0; k < n; ++k) {
        const std::vector<int32_t> remaining = SelectedItems();
        // A shot the document does not know would stay selected for ever.
        if (remaining.empty() || !document_->DeleteShot(remaining.front()))
            break;
    }
}

void CThumbView::DeleteAll() {
    if (document_ == nullptr || user_ == nullptr)
        return;
    const std::string question =
        FormatText("You are about to delete %ld shot items. Proceed ?", static_cast<long>(count()));
    if (!user_->AskYesNo(question))
        return;
    DeleteAllItems();
    document_->ClearShots();
    UpdateShotCount();
}

void CThumbView::MergeSelected() {
    const std::vector<int32_t> selected = SelectedItems();
    const size_t n = selected.size();
    if (n < 2 || document_ == nullptr || user_ == nullptr || document_->FrameChainRunning())
        return;
    if (!user_->AskYesNo(FormatText("Merge these %ld shot items ?", static_cast<long>(n)))) {
        return;
    }
    document_->MergeShots(selected);
}

void CThumbView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        DeleteSelected();
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void CThumbView::mouseDoubleClickEvent(QMouseEvent* event) {
    QListWidget::mouseDoubleClickEvent(event);
    const std::vector<int32_t> selected = SelectedItems();
    if (selected.size() == 1 && document_ != nullptr)
        document_->GoToShot(selected.front(), false);
}

void CThumbView::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu = MakeContextMenu(event->pos());
    menu->exec(event->globalPos());
    event->accept();
}

}  // namespace trevanto
