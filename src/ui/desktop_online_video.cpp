#include "ui/desktop_online_video.h"

#include <QApplication>
#include <QProgressDialog>
#include <QTimer>

#include <limits>

#include "net/script_download.h"
#include "video/debug_trace.h"

namespace trevanto {

ScriptFetch DesktopOnlineVideo::FetchScript(const std::string& url, const std::string& filePath,
                                            bool onlyScript) {
    ScriptDownload download;
    QProgressDialog progress("Downloading the asx stream script...", "Cancel", 0, 0, owner_);
    progress.setWindowModality(Qt::WindowModal);
    // Shown only when the download takes a while.
    progress.setMinimumDuration(std::numeric_limits<int>::max());
    QTimer::singleShot(1000, &progress, &QProgressDialog::show);
    QObject::connect(&progress, &QProgressDialog::canceled, &download, &ScriptDownload::Cancel);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ScriptFetch fetched = download.Run(url, filePath, onlyScript);
    QApplication::restoreOverrideCursor();
    return fetched;
}

std::optional<std::string> DesktopOnlineVideo::ChooseStream(
    const std::vector<std::string>& streams) {
    return user_.ChooseStream(streams);
}

std::optional<std::string> DesktopOnlineVideo::ChooseTitledStream(
    const std::vector<ScriptStream>& streams) {
    return user_.ChooseTitledStream(streams);
}

void DesktopOnlineVideo::Trace(const std::string& text) {
    if (DebugTraceEnabled())
        DebugTrace("%s", text.c_str());
}

}  // namespace trevanto
