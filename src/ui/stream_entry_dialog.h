#pragma once
// "Url video stream": the streams of an ASX script, sorted; OK takes the
// selected one.
#include <QDialog>

#include <string>
#include <vector>

class QListWidget;

namespace trevanto {

class StreamEntryDialog : public QDialog {
    Q_OBJECT
  public:
    explicit StreamEntryDialog(const std::vector<std::string>& streamUrls,
                               QWidget* parent = nullptr);

    // The stream confirmed with OK.
    const std::string& SelectedUrl() const { return selectedUrl_; }
    QListWidget* List() const { return list_; }

  private:
    void OnOk();

    QListWidget* list_;
    std::string selectedUrl_;
};

}  // namespace trevanto
