// The desktop program's shot engine against the headless one: the real
// desktop window (run it offscreen or under Xvfb) slices a clip with the
// preview visible, and the longest time its UI thread went without turning
// the event loop is measured with a 5 ms timer; the same clip is sliced by
// trevanto-cli's document in this process. Best of three each.
// Goals: the desktop within 10 % of the headless time; the UI thread never
// blocked for 50 ms or more.
//   bench_desktop_slicing [clip]   (default: the 720 x 576 benchmark clip)
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>

#include "app/commands/command_ids.h"
#include "app/document/player_doc.h"
#include "cli/cli_session.h"
#include "clipgen/clips.h"
#include "ui/desktop_user_port.h"
#include "ui/main_frame.h"
#include "ui/trevanto_app.h"
#include "video/open_media_graph.h"

namespace {

using Clock = std::chrono::steady_clock;
using trevanto::CPlayerDoc;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct RunResult {
    double seconds = 0.0;
    int32_t shots = 0;
    double longestBlockMs = 0.0;
};

// Answers nothing: a message box would stop the run.
struct SilentUser : trevanto::DesktopUserPort {
    void ShowMessage(const std::string& text, trevanto::MessageKind) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    bool AskYesNo(const std::string&) override { return false; }
    SaveAnswer AskSaveDiscardCancel(const std::string&) override { return SaveAnswer::Discard; }
    bool ConfirmDelete(const std::string&, bool&) override { return true; }
};

// From the engine command on a paused video at frame 0 to the end of the run.
RunResult HeadlessRun(const std::string& clip) {
    std::ostringstream out;
    std::ostringstream err;
    trevanto::cli::CliSession session({out, err, false}, true, trevanto::OpenMediaGraph);
    session.LoadTemplate("");
    RunResult result;
    if (session.OpenVideo(clip) != trevanto::cli::kSuccess)
        return result;
    CPlayerDoc& doc = session.Doc();
    const Clock::time_point start = Clock::now();
    doc.Slicing().StartEngine();
    session.RunUntilSlicingEnds(0, doc.GetPlayer().FrameCount() - 1);
    result.seconds = SecondsSince(start);
    result.shots = doc.ShotCount();
    return result;
}

// Runs the event loop as the program's own would, sleeping while nothing
// happens (a busy loop would take a core from the decoder).
bool SpinUntil(const std::function<bool()>& done, double limitSeconds) {
    const Clock::time_point start = Clock::now();
    QTimer wake;  // no wait lasts longer than this
    wake.start(20);
    while (!done()) {
        if (SecondsSince(start) > limitSeconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

RunResult DesktopRun(const std::string& clip) {
    const QTemporaryDir folder;
    SilentUser user;
    trevanto::CTrevantoApp app(
        trevanto::AppOptions{(folder.path() + "/trevanto.conf").toStdString(), {}, &user, true});
    RunResult result;
    if (!app.Start() || !app.OpenVideo(clip))
        return result;
    CPlayerDoc& doc = app.Document();
    app.OnCommand(trevanto::command::kPause);
    doc.Playback().SeekToFrame(0);
    const trevanto::Player& player = doc.GetPlayer();
    if (!SpinUntil([&] { return !player.SeekIssued() && player.CurrentFrame() == 0; }, 20.0))
        return result;

    // The longest gap between two turns of a 5 ms timer, less its period.
    QElapsedTimer gap;
    qint64 longestNs = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestNs = std::max(longestNs, gap.nsecsElapsed());
        gap.restart();
    });
    gap.start();
    ticker.start(5);
    const Clock::time_point start = Clock::now();
    app.OnCommand(trevanto::command::kEngine);
    // Waiting in the event loop: the timer and the graph's events take turns.
    if (!SpinUntil([&] { return !doc.Slicing().IsRunning(); }, 600.0))
        return result;
    result.seconds = SecondsSince(start);
    ticker.stop();
    result.shots = doc.ShotCount();
    result.longestBlockMs = std::max(0.0, static_cast<double>(longestNs) / 1e6 - 5.0);
    std::printf("  desktop status: %s\n",
                app.Frame().StatusPane(2)->text().toLocal8Bit().constData());
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const std::string clip =
        argc > 1 ? argv[1] : trevanto::clipgen::MediaPath(trevanto::clipgen::BenchmarkClip());
    std::printf("clip: %s\n", clip.c_str());
    RunResult headless{1e9, 0, 0.0};
    RunResult desktop{1e9, 0, 0.0};
    double worstBlockMs = 0.0;
    for (int i = 0; i < 3; ++i) {
        const RunResult h = HeadlessRun(clip);
        const RunResult d = DesktopRun(clip);
        std::printf(
            "run %d: headless %.3f s (%d shots), desktop %.3f s (%d shots), UI blocked "
            "at most %.1f ms\n",
            i + 1, h.seconds, h.shots, d.seconds, d.shots, d.longestBlockMs);
        if (h.seconds > 0.0)
            headless = h.seconds < headless.seconds ? h : headless;
        if (d.seconds > 0.0)
            desktop = d.seconds < desktop.seconds ? d : desktop;
        worstBlockMs = std::max(worstBlockMs, d.longestBlockMs);
    }
    const double ratio = desktop.seconds / headless.seconds;
    std::printf("best: headless %.3f s, desktop %.3f s, desktop / headless %.2f (goal <= 1.10)\n",
                headless.seconds, desktop.seconds, ratio);
    std::printf("UI thread blocked at most %.1f ms over the runs (goal < 50 ms)\n", worstBlockMs);
    std::printf("shots: headless %d, desktop %d%s\n", headless.shots, desktop.shots,
                headless.shots == desktop.shots ? "" : "  DIFFER");
    return headless.shots == desktop.shots && headless.seconds < 1e9 && desktop.seconds < 1e9 ? 0
                                                                                              : 1;
}
