#pragma once
// A picture of a web page as a browser draws it in an 800 x 600 window: a
// hidden Qt WebEngine view loads the page and is grabbed once it has loaded.
// Nothing blocks while the page loads, and a page that takes longer than
// the time given yields no picture. The view is kept for later pages, which
// then come at once.
#include <QImage>
#include <QObject>
#include <QString>

#include <memory>

class QTimer;
class QWebEngineView;

namespace trevanto {

class PageSnapshot : public QObject {
    Q_OBJECT
  public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;
    // About the time the page preview has always waited for a page.
    static constexpr int kTimeoutMs = 5000;

    // Before the application object is made: the web engine shares the
    // application's OpenGL contexts.
    static void PrepareApplication();

    explicit PageSnapshot(QObject* parent = nullptr);
    ~PageSnapshot() override;

    // Starts drawing the page of a local file; a running snapshot is
    // cancelled first.
    void Start(const QString& path);
    // Ends a running snapshot without a report.
    void Cancel();

  signals:
    // The page's picture; null when it failed to load or took too long.
    void Finished(const QImage& picture);

  private:
    void OnLoaded(bool ok);
    void Finish(const QImage& picture);

    std::unique_ptr<QWebEngineView> view_;
    QTimer* timeout_ = nullptr;
    QTimer* paint_ = nullptr;
    bool running_ = false;
};

}  // namespace trevanto
