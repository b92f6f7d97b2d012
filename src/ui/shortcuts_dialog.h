#pragma once
// Help > "Keyboard shortcuts": the keys of every command, made from the
// command table (ui/desktop_commands), so that the list cannot drift from
// the keys the program answers.
#include <QDialog>
#include <QString>

#include <vector>

class QTableWidget;

namespace trevanto {

struct ShortcutRow {
    // The menu text without its mnemonic marks; the keys of the thumbnail
    // view say so.
    QString command;
    QString keys;  // as the desktop writes them ("Ctrl+O")
};

// One row per command of the table that has a key, in the table's order.
std::vector<ShortcutRow> ShortcutRows();

class ShortcutsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ShortcutsDialog(QWidget* parent = nullptr);
    QTableWidget* Table() const { return table_; }

  private:
    QTableWidget* table_;
};

}  // namespace trevanto
