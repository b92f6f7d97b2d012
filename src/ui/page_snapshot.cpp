#include "ui/page_snapshot.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace trevanto {
namespace {

// A loaded page is painted with the next frames of the view.
constexpr int kPaintDelayMs = 100;

// A page's script may not open boxes over the dialog while it is previewed.
class QuietPage : public QWebEnginePage {
  public:
    using QWebEnginePage::QWebEnginePage;

  protected:
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override {
        return false;
    }
};

}  // namespace

void PageSnapshot::PrepareApplication() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

PageSnapshot::PageSnapshot(QObject* parent)
    : QObject(parent), timeout_(new QTimer(this)), paint_(new QTimer(this)) {
    timeout_->setSingleShot(true);
    paint_->setSingleShot(true);
    connect(timeout_, &QTimer::timeout, this, [this] { Finish({}); });
    connect(paint_, &QTimer::timeout, this, [this] {
        if (running_)
            Finish(view_->grab().toImage());
    });
}

PageSnapshot::~PageSnapshot() = default;

void PageSnapshot::Start(const QString& path) {
    Cancel();
    if (!view_) {
        // The engine's sandbox refuses to run as root (on build machines);
        // as any other user it stays on.
        if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        // Never on the screen, but laid out and painted at the page size.
        view_ = std::make_unique<QWebEngineView>();
        view_->setPage(new QuietPage(view_.get()));
        view_->setAttribute(Qt::WA_DontShowOnScreen);
        view_->resize(kWidth, kHeight);
        view_->show();
        connect(view_.get(), &QWebEngineView::loadFinished, this, &PageSnapshot::OnLoaded);
    }
    running_ = true;
    timeout_->start(kTimeoutMs);
    view_->load(QUrl::fromLocalFile(path));
}

void PageSnapshot::Cancel() {
    if (!running_)
        return;
    running_ = false;
    timeout_->stop();
    paint_->stop();
    view_->stop();
}

void PageSnapshot::OnLoaded(bool ok) {
    if (!running_)
        return;
    if (!ok) {
        Finish({});
        return;
    }
    paint_->start(kPaintDelayMs);
}

void PageSnapshot::Finish(const QImage& picture) {
    Cancel();
    emit Finished(picture);
}

}  // namespace trevanto
