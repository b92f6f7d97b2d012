// The thumbnail view's gestures, context menus and commands, and the item
// removals that keep item i on image i.
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include "app/commands/command_ids.h"
#include "app/document/player_doc.h"
#include "common/text_format.h"
#include "ui/desktop_commands.h"
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
    FitCellsToCaptions();
}

std::optional<int32_t> CThumbView::HitShot() const {
    if (lastHitItem_ < 0 || SelectedItems().size() != 1)
        return std::nullopt;
    return lastHitItem_;
}

CommandState CThumbView::CommandSnapshot() const {
    CommandState state;
    if (document_ != nullptr) {
        state.videoOpen = document_->IsOpen();
        state.slicing = document_->Slicing().IsRunning();
        state.chainRunning = document_->FrameChainRunning();
        state.shotCount = document_->ShotCount();
        state.rate = document_->GetPlayer().RequestedRate();
        state.realTimeSlicing = document_->Slicing().RealTimeSlicing();
        state.undoName = document_->Editing().UndoName();
        state.redoName = document_->Editing().RedoName();
    }
    state.selectedCount = static_cast<int32_t>(SelectedItems().size());
    return state;
}

void CThumbView::UpdateShotCount() {
    if (frame_ != nullptr && document_ != nullptr)
        frame_->UpdateShotCount(document_->ShotCount());
}

std::unique_ptr<QMenu> CThumbView::MakeContextMenu(const QPoint& position) {
    using namespace command;
    const QModelIndex hit = indexAt(position);
    lastHitItem_ = hit.isValid() ? hit.row() : -1;
    const CommandState state = CommandSnapshot();
    // Owned by the caller alone, so that it may outlive the view.
    auto menu = std::make_unique<QMenu>();
    const auto add = [&](std::initializer_list<int32_t> ids) {
        for (const int32_t id : ids) {
            if (id == 0) {
                menu->addSeparator();
                continue;
            }
            const bool stops = id == kShotsStartEngine && state.slicing && state.videoOpen;
            QAction* action =
                menu->addAction(stops ? "&Stop shot-engine" : FindDesktopCommand(id)->text);
            action->setData(id);
            action->setEnabled(CommandEnabled(id, state));
            connect(action, &QAction::triggered, this, [this, id] { emit CommandInvoked(id); });
        }
    };
    const char* title = hit.isValid() ? "Shot menu" : "Shots menu";
    menu->setObjectName(title);
    menu->setTitle(title);
    if (hit.isValid()) {
        add({kGoToBegin, kGoToMiddle, kGoToEnd, kPlayShot, 0, kVideoLink, 0, kRefresh, kRefineImage,
             kExtractJpeg, 0, kMerge, kDeleteShot});
    } else {
        add({kShotsStartEngine, kShotsAddManually, 0, kLoadShots, kSaveShots, 0, kDeleteShots});
    }
    return menu;
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
    // One edit, undone as one.
    document_->Editing().DeleteShots(selected);
}

void CThumbView::DeleteAll() {
    if (document_ == nullptr || user_ == nullptr)
        return;
    const std::string question =
        FormatText("You are about to delete %ld shot items. Proceed ?", static_cast<long>(count()));
    if (!user_->AskYesNo(question))
        return;
    document_->Editing().ClearShots();  // it empties the view too
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
    document_->Editing().MergeShots(selected);
}

void CThumbView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        DeleteSelected();
        event->accept();
        return;
    }
    // Enter goes to the selected shot, as a double click does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        const std::vector<int32_t> selected = SelectedItems();
        if (selected.size() == 1 && document_ != nullptr)
            document_->GoToShot(selected.front(), false);
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
    // From the keyboard the menu is the current shot's, opened on it.
    QPoint position = event->pos();
    if (event->reason() == QContextMenuEvent::Keyboard && currentItem() != nullptr &&
        currentItem()->isSelected()) {
        position = visualItemRect(currentItem()).center();
    }
    const std::unique_ptr<QMenu> menu = MakeContextMenu(position);
    menu->exec(event->reason() == QContextMenuEvent::Keyboard ? viewport()->mapToGlobal(position)
                                                              : event->globalPos());
    event->accept();
}

}  // namespace trevanto
