// The thumbnail view's gestures, context menus and commands, and the item
// removals that keep item i on image i.
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include "app/jpeg_export_commands.h"
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

std::unique_ptr<QMenu> CThumbView::MakeContextMenu(const QPoint& position) {
    const QModelIndex hit = indexAt(position);
    lastHitItem_ = hit.isValid() ? hit.row() : -1;
    // Owned by the caller alone, so that it may outlive the view.
    auto menu = std::make_unique<QMenu>();
    const auto add = [&](int32_t id, const QString& text, bool enabled) {
        QAction* action = menu->addAction(text);
        action->setData(id);
        action->setEnabled(enabled && !unavailable_.contains(id));
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        return action;
    };
    const bool open = DocumentOpen();
    const bool slicing = SlicingActive();
    if (!hit.isValid()) {
        menu->setObjectName("Shots menu");
        menu->setTitle("Shots menu");
        const bool hasShots = document_ != nullptr && document_->ShotCount() > 0;
        add(kStartEngine, slicing && open ? "&Stop shot-engine" : "&Start shot engine", open);
        add(kAddShotManually, "&Add shot manually", open && !slicing);
        menu->addSeparator();
        // Loading opens a video, so it needs none.
        add(kLoadShots, "&Load shots...", !(open && slicing));
        add(kSaveShots, "Sa&ve shots...", open && !slicing && hasShots);
        menu->addSeparator();
        add(kDeleteShots, "&Delete shots", open && !slicing && hasShots);
        return menu;
    }
    menu->setObjectName("Shot menu");
    menu->setTitle("Shot menu");
    const bool usable = open && !slicing;
    const size_t selected = SelectedItems().size();
    add(kGoToBegin, "Go-to &begin", usable);
    add(kGoToMiddle, "Go-to &middle", usable);
    add(kGoToEnd, "Go-to &end", usable);
    add(kPlayShot, "&Play", usable);
    menu->addSeparator();
    add(kVideoLink, "Create a videolink", true);
    menu->addSeparator();
    add(kRefresh, "Refresh", usable && selected == 1);
    add(kRefineImage, "Refine &image", usable && selected == 1);
    add(kExtractJpeg, "Extract as jpeg", usable);
    menu->addSeparator();
    add(kMerge, "Merge", usable && selected != 1);
    add(kDeleteShot, "Delete shot", usable);
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
            if (selected >= 1 && document_ != nullptr) {
                document_->JpegExport().ExtractAsJpeg(SelectedItems());
            }
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
        document_->ConfirmDeletes() = !doNotShowAgain;
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
    const size_t n = SelectedItems().size();
    if (n < 2 || document_ == nullptr || user_ == nullptr)
        return;
    if (!user_->AskYesNo(FormatText("Merge these %ld shot items ?", static_cast<long>(n)))) {
        return;
    }
    int32_t last = -1;
    for (size_t k = n; k >= 1; --k) {
        const std::vector<int32_t> remaining = SelectedItems();
        if (remaining.empty())
            return;
        last = remaining.front();
        if (k >= 2 && !document_->DeleteShot(last))
            return;
    }
    // The last selected shot now starts where the first merged one did.
    currentImage_ = document_->Shots().ImageIndexOfItem(last);
    document_->RefreshShotImage(last);
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
