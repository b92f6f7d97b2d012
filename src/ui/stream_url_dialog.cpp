#include "ui/stream_url_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace trevanto {

StreamUrlDialog::StreamUrlDialog(UrlHistory& history, Resolver resolve, QWidget* parent)
    : QDialog(parent), history_(history), resolve_(std::move(resolve)), url_(new QComboBox(this)) {
    setObjectName("streamUrlDialog");
    setWindowTitle("Define the Url of the online video stream");
    setWindowIcon(QIcon(":/icons/trevanto.svg"));
    url_->setEditable(true);
    url_->setInsertPolicy(QComboBox::NoInsert);
    url_->lineEdit()->setMaxLength(kMaxUrlLength);
    url_->setMinimumContentsLength(48);
    url_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // Oldest first, as kept: the most recent URL is the last of the list.
    for (const std::string& entry : history_.entries)
        url_->addItem(QString::fromStdString(entry));
    url_->setEditText(QString::fromStdString(history_.current));

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok_->setDefault(true);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &StreamUrlDialog::OnOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Enter the url to the video stream (wmv, wvx, asf, asx)", this));
    layout->addWidget(url_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

void StreamUrlDialog::OnOk() {
    const std::string url = url_->currentText().toStdString();
    if (url.empty())
        return;
    // A script that cannot be read, or a stream choice cancelled, keeps the
    // dialog open with the history unchanged.
    const std::optional<std::string> stream = resolve_(url);
    if (!stream)
        return;
    history_.AddUrl(*stream);
    accept();
}

}  // namespace trevanto
