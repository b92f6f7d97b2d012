#include "net/script_download.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

namespace trevanto {

ScriptDownload::ScriptDownload(DownloadLimits limits) : limits_(limits) {}

ScriptFetch ScriptDownload::Run(const std::string& url, const std::string& filePath,
                                bool onlyScript) {
    // trevanto-cli has no application object of its own; the download's
    // event loop needs one.
    static int argc = 1;
    static char name[] = "trevanto";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> ownApplication;
    if (QCoreApplication::instance() == nullptr)
        ownApplication = std::make_unique<QCoreApplication>(argc, argv);

    QFile file(QString::fromStdString(filePath));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return ScriptFetch::Failed;
    QNetworkAccessManager manager;
    QNetworkRequest request(QUrl(QString::fromStdString(url)));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(limits_.maxRedirects);
    ended_ = false;
    status_ = ScriptFetch::Failed;
    QNetworkReply* reply = manager.get(request);
    reply_ = reply;

    qint64 received = 0;
    const auto take = [&] {
        const QByteArray bytes = reply->readAll();
        received += bytes.size();
        if (received > limits_.maxBytes) {
            Finish(ScriptFetch::TooLarge);
        } else if (file.write(bytes) != bytes.size()) {
            Finish(ScriptFetch::Failed);
        }
    };
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, [this] { Finish(ScriptFetch::TimedOut); });
    connect(reply, &QNetworkReply::metaDataChanged, this, [&] {
        // Redirects and errors are judged when the reply finishes.
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (ended_ || status < 200 || status >= 300)
            return;
        // A video is played whatever its size: the bound is a script's only.
        if (onlyScript &&
            !IsScriptContentType(
                reply->header(QNetworkRequest::ContentTypeHeader).toString().toStdString())) {
            Finish(ScriptFetch::NotScript);
            return;
        }
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limits_.maxBytes)
            Finish(ScriptFetch::TooLarge);
    });
    connect(reply, &QNetworkReply::readyRead, this, [&] {
        if (!ended_)
            take();
    });
    connect(reply, &QNetworkReply::finished, &loop, [&] {
        if (!ended_ && reply->error() == QNetworkReply::NoError)
            take();
        Finish(reply->error() == QNetworkReply::NoError ? ScriptFetch::Done : ScriptFetch::Failed);
        loop.quit();
    });
    timer.start(limits_.timeoutMs);
    if (!reply->isFinished())
        loop.exec();
    reply_ = nullptr;
    reply->disconnect(this);
    file.close();
    return status_;
}

void ScriptDownload::Cancel() {
    if (reply_ != nullptr)
        Finish(ScriptFetch::Cancelled);
}

void ScriptDownload::Finish(ScriptFetch status) {
    if (ended_)
        return;
    ended_ = true;
    status_ = status;
    if (reply_ != nullptr)
        reply_->abort();
}

}  // namespace trevanto
