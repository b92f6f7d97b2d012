#include "ui/video_link_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/messages/video_link_messages.h"

namespace trevanto {
namespace {

// An address of the kind the script url asks for.
constexpr const char* kScriptExample = "http://www.example.com/scripts/videolink.asp";

}  // namespace

VideoLinkDialog::VideoLinkDialog(const VideoLinkFields& fields, UserPort& user, QWidget* parent)
    : QDialog(parent), user_(user), fields_(fields) {
    setObjectName("videoLinkDialog");
    setWindowTitle("Create a video hyperlink");
    const std::string* const texts[4] = {&fields.start, &fields.end, &fields.videoUrl,
                                         &fields.scriptUrl};
    static constexpr int kLimits[4] = {32, 32, 2048, 2048};
    for (int field = 0; field < 4; ++field) {
        edits_[field] = new QLineEdit(QString::fromStdString(*texts[field]), this);
        edits_[field]->setMaxLength(kLimits[field]);
    }
    // The times are short; the urls get the dialog's width.
    const int timeWidth =
        fontMetrics().horizontalAdvance("00:00:00.0000") + fontMetrics().averageCharWidth() * 4;
    edits_[kStart]->setFixedWidth(timeWidth);
    edits_[kEnd]->setFixedWidth(timeWidth);
    edits_[kVideoUrl]->setMinimumWidth(fontMetrics().averageCharWidth() * 56);

    auto* form = new QFormLayout;
    form->addRow("Video clips starts at :", edits_[kStart]);
    form->addRow("and ends at :", edits_[kEnd]);
    form->addRow(new QLabel("Online video url :", this));
    form->addRow(edits_[kVideoUrl]);
    form->addRow(new QLabel(
        QString("Online asx script processing url : For instance,\n%1").arg(kScriptExample), this));
    form->addRow(edits_[kScriptUrl]);

    auto* buttons = new QDialogButtonBox(this);
    copy_ = buttons->addButton("Copy to clipboard", QDialogButtonBox::AcceptRole);
    copy_->setDefault(true);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &VideoLinkDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void VideoLinkDialog::accept() {
    VideoLinkFields typed{edits_[kStart]->text().toStdString(), edits_[kEnd]->text().toStdString(),
                          edits_[kVideoUrl]->text().toStdString(),
                          edits_[kScriptUrl]->text().toStdString()};
    if (!AcceptVideoLinkFields(typed, user_))
        return;
    fields_ = std::move(typed);
    QDialog::accept();
}

}  // namespace trevanto
