#include "ui/shortcuts_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/desktop_commands.h"

namespace trevanto {

std::vector<ShortcutRow> ShortcutRows() {
    std::vector<ShortcutRow> rows;
    for (const DesktopCommand& command : DesktopCommands()) {
        if (*command.shortcut == '\0')
            continue;
        // "&&" would be a real ampersand; no command text has one.
        QString text = QString(command.text).remove('&');
        if (IsThumbViewCommand(command.id))
            text += " (in the shot list)";
        rows.push_back({text, QKeySequence(command.shortcut).toString(QKeySequence::NativeText)});
    }
    rows.push_back({"Stop a slicing run (while one runs)",
                    QKeySequence(Qt::Key_Escape).toString(QKeySequence::NativeText)});
    return rows;
}

ShortcutsDialog::ShortcutsDialog(QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(this)) {
    setWindowTitle("Keyboard shortcuts");
    setObjectName("shortcutsDialog");
    table_->setObjectName("shortcutsTable");
    const std::vector<ShortcutRow> rows = ShortcutRows();
    table_->setColumnCount(2);
    table_->setRowCount(static_cast<int>(rows.size()));
    table_->setHorizontalHeaderLabels({"Command", "Keys"});
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        table_->setItem(row, 0, new QTableWidgetItem(rows[static_cast<size_t>(row)].command));
        table_->setItem(row, 1, new QTableWidgetItem(rows[static_cast<size_t>(row)].keys));
    }
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(460, 560);
}

}  // namespace trevanto
