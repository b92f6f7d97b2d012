#pragma once
// "Define the Url of the online video stream": the URL, with the URL history
// in the drop-down. OK hands the URL to a resolver (a script is downloaded
// and a stream chosen there); the dialog closes only when it yields a
// stream, which becomes the history's current URL.
#include <QDialog>

#include <functional>
#include <optional>
#include <string>

#include "online/url_history.h"

class QComboBox;
class QPushButton;

namespace trevanto {

class StreamUrlDialog : public QDialog {
    Q_OBJECT
  public:
    using Resolver = std::function<std::optional<std::string>(const std::string& url)>;
    static constexpr int kMaxUrlLength = 1023;

    StreamUrlDialog(UrlHistory& history, Resolver resolve, QWidget* parent = nullptr);

    QComboBox* UrlBox() const { return url_; }
    QPushButton* OkButton() const { return ok_; }

  private:
    void OnOk();

    UrlHistory& history_;
    Resolver resolve_;
    QComboBox* url_;
    QPushButton* ok_;
};

}  // namespace trevanto
