#pragma once
// Downloads an ASX stream script into a file with Qt Network: redirects
// followed a few times, the size bounded, the time bounded, cancellable.
#include <QObject>

#include <cstdint>
#include <string>

#include "online/stream_script.h"

class QFile;
class QNetworkReply;

namespace trevanto {

struct DownloadLimits {
    int64_t maxBytes = kMaxScriptBytes;
    int32_t timeoutMs = 30000;
    int32_t maxRedirects = 5;
};

class ScriptDownload : public QObject {
    Q_OBJECT
  public:
    explicit ScriptDownload(DownloadLimits limits = {});

    // Downloads `url` into the existing file `filePath` (emptied first) and
    // returns when it ends, running an event loop meanwhile (and a
    // QCoreApplication for it when the program has none). With
    // `onlyScript`, an answer whose content type is no script's ends the
    // download at once with NotScript.
    ScriptFetch Run(const std::string& url, const std::string& filePath, bool onlyScript);

  public slots:
    // Ends a running download with Cancelled.
    void Cancel();

  private:
    void Finish(ScriptFetch status);

    DownloadLimits limits_;
    QNetworkReply* reply_ = nullptr;
    bool ended_ = false;
    ScriptFetch status_ = ScriptFetch::Failed;
};

}  // namespace trevanto
