#pragma once
// The deletion question with its "Do not show this message anymore" box.
#include <QDialog>

class QCheckBox;
class QLabel;

namespace trevanto {

class ConfirmDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ConfirmDialog(const QString& question, QWidget* parent = nullptr);

    bool DoNotShowAgain() const;
    QCheckBox* DoNotShowBox() const { return doNotShow_; }
    QLabel* Question() const { return question_; }

  private:
    QLabel* question_;
    QCheckBox* doNotShow_;
};

}  // namespace trevanto
