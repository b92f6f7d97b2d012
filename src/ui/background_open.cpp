#include "ui/background_open.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <limits>
#include <memory>
#include <thread>
#include <utility>

#include "common/paths.h"

namespace trevanto {
namespace {

// How long an open may take before the dialog shows.
constexpr int kDialogDelayMs = 500;

std::unique_ptr<MediaGraph> OpenWaiting(const MediaGraphFactory& open, QWidget* owner,
                                        const OpenRequest& request, OpenError& error) {
    std::atomic<bool> cancel{false};
    OpenRequest cancellable = request;
    cancellable.cancel = &cancel;
    std::unique_ptr<MediaGraph> graph;
    OpenError failure;
    std::atomic<bool> done{false};
    QEventLoop loop;
    std::thread worker([&] {
        graph = open(cancellable, failure);
        done = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QProgressDialog progress(QString::fromStdString("Opening " + FileNamePart(request.url) + "..."),
                             "Cancel", 0, 0, owner);
    progress.setWindowTitle("Trevanto");
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(std::numeric_limits<int>::max());  // shown below
    QObject::connect(&progress, &QProgressDialog::canceled, [&cancel] { cancel = true; });
    // Until the dialog shows, the user's clicks and keys wait: the window
    // must not start other work while a video opens.
    QTimer::singleShot(kDialogDelayMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!done) {
        progress.show();
        loop.exec();
    }
    worker.join();
    if (cancel && graph) {  // opened as the user gave up
        graph.reset();
        failure = {OpenFailure::Cancelled, {MediaErrorCode::Cancelled, {}}};
    }
    error = std::move(failure);
    return graph;
}

}  // namespace

MediaGraphFactory OpenInBackground(MediaGraphFactory open, QPointer<QWidget> owner) {
    auto busy = std::make_shared<bool>(false);
    return [open = std::move(open), owner, busy](const OpenRequest& request,
                                                 OpenError& error) -> std::unique_ptr<MediaGraph> {
        if (*busy) {
            error = {OpenFailure::Cancelled, {MediaErrorCode::AnotherOpening, {}}};
            return nullptr;
        }
        *busy = true;
        std::unique_ptr<MediaGraph> graph = OpenWaiting(open, owner, request, error);
        *busy = false;
        return graph;
    };
}

}  // namespace trevanto
