#pragma once
// The "Create a video hyperlink" dialog: the start and end times of the link
// and the two urls it is made of. "Copy to clipboard" accepts the fields once
// they pass their checks.
#include <QDialog>

#include <array>

#include "publish/video_link.h"

class QLineEdit;
class QPushButton;

namespace trevanto {

class UserPort;

class VideoLinkDialog : public QDialog {
    Q_OBJECT
  public:
    enum Field { kStart, kEnd, kVideoUrl, kScriptUrl };

    // Refused fields are told to `user`, and the dialog stays open.
    VideoLinkDialog(const VideoLinkFields& fields, UserPort& user, QWidget* parent = nullptr);

    // The fields as accepted: the times in order.
    const VideoLinkFields& Fields() const { return fields_; }
    QLineEdit* Edit(Field field) const { return edits_.at(field); }
    QPushButton* CopyButton() const { return copy_; }

  public slots:
    void accept() override;

  private:
    UserPort& user_;
    VideoLinkFields fields_;
    std::array<QLineEdit*, 4> edits_{};
    QPushButton* copy_ = nullptr;
};

}  // namespace trevanto
