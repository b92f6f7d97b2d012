#include "ui/confirm_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/message_box_user.h"

namespace trevanto {

ConfirmDialog::ConfirmDialog(const QString& question, QWidget* parent)
    : QDialog(parent, kMessageBoxFlags),
      question_(new QLabel(question, this)),
      doNotShow_(new QCheckBox("Do not show this message anymore", this)) {
    setObjectName("confirmDialog");
    setWindowTitle("Trevanto");
    question_->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton("OK", QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(question_);
    layout->addWidget(doNotShow_);
    layout->addWidget(buttons);
    // A question, not a window to resize.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool ConfirmDialog::DoNotShowAgain() const {
    return doNotShow_->isChecked();
}

}  // namespace trevanto
