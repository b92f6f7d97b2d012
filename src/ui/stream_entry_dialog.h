#pragma once
// "Url video stream": the streams of an ASX script, each shown by its
// entry's title (its URL when it has none, and as its tooltip), sorted; OK
// takes the selected one's URL.
#include <QDialog>

#include <string>
#include <vector>

#include "online/stream_script.h"

class QListWidget;

namespace trevanto {

class StreamEntryDialog : public QDialog {
    Q_OBJECT
  public:
    explicit StreamEntryDialog(const std::vector<ScriptStream>& streams, QWidget* parent = nullptr);

    // The stream confirmed with OK.
    const std::string& SelectedUrl() const { return selectedUrl_; }
    QListWidget* List() const { return list_; }

  private:
    void OnOk();

    QListWidget* list_;
    std::string selectedUrl_;
};

}  // namespace trevanto
