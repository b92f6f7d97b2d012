#include "ui/stream_entry_dialog.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace trevanto {

StreamEntryDialog::StreamEntryDialog(const std::vector<ScriptStream>& streams, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)) {
    setObjectName("streamEntryDialog");
    setWindowTitle("Url video stream");
    setWindowIcon(QIcon(":/icons/trevanto.svg"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSortingEnabled(true);
    for (const ScriptStream& stream : streams) {
        const QString url = QString::fromStdString(stream.url);
        auto* item =
            new QListWidgetItem(stream.title.empty() ? url : QString::fromStdString(stream.title));
        item->setData(Qt::UserRole, url);
        item->setToolTip(url);
        list_->addItem(item);
    }
    // Wide enough for the longest stream, within reason; longer ones scroll.
    const int character = list_->fontMetrics().averageCharWidth();
    const int wanted = list_->sizeHintForColumn(0) + 2 * list_->frameWidth() + 2 * character;
    list_->setMinimumWidth(std::clamp(wanted, 56 * character, 100 * character));

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton("OK", QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &StreamEntryDialog::OnOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Select the actual video stream", this));
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

void StreamEntryDialog::OnOk() {
    const QListWidgetItem* item = list_->currentItem();
    if (item == nullptr || !item->isSelected())
        return;
    const QString url = item->data(Qt::UserRole).toString();
    if (url.isEmpty())
        return;
    selectedUrl_ = url.toStdString();
    accept();
}

}  // namespace trevanto
