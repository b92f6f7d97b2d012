#include "cli/cli_session.h"

#include <chrono>
#include <csignal>

#include "app/messages/settings_messages.h"

namespace trevanto::cli {
namespace {

// A graph that has delivered nothing for this long is taken as stuck.
constexpr std::chrono::seconds kStallLimit{30};

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) {
    interrupted = 1;
}

// While a run goes, Ctrl+C stops it (its workers end within a frame) and
// the shots found so far are printed, as after a failure; before and after,
// it ends the program as usual. Ignored stays ignored.
class InterruptStopsRun {
  public:
    InterruptStopsRun() {
        interrupted = 0;
        struct sigaction handler {};
        handler.sa_handler = OnInterrupt;
        sigemptyset(&handler.sa_mask);
        installed_ = ::sigaction(SIGINT, nullptr, &previous_) == 0 &&
                     previous_.sa_handler != SIG_IGN && ::sigaction(SIGINT, &handler, nullptr) == 0;
    }
    ~InterruptStopsRun() {
        if (installed_)
            ::sigaction(SIGINT, &previous_, nullptr);
    }
    InterruptStopsRun(const InterruptStopsRun&) = delete;
    InterruptStopsRun& operator=(const InterruptStopsRun&) = delete;

  private:
    struct sigaction previous_ {};
    bool installed_ = false;
};

}  // namespace

CliSession::CliSession(const CliStreams& streams, bool quiet, MediaGraphFactory factory)
    : streams_(streams),
      user_(streams.err),
      progress_(streams.err, streams.errIsTerminal && !quiet),
      frame_(progress_),
      doc_(std::move(factory), DocumentPorts{&view_, &frame_, nullptr, &user_}) {
    doc_.SetShotTemplate(&template_);
}

CliSession::~CliSession() {
    doc_.CloseVideo();  // the graph's thread ends before the waiter goes
}

bool CliSession::LoadTemplate(const std::string& path) {
    if (path.empty()) {
        template_.LoadBuiltIn();
        return true;
    }
    const TemplateLoadStatus status = template_.LoadTemplateFile(path);
    if (status == TemplateLoadStatus::Loaded)
        return true;
    user_.ShowMessage(message::TemplateLoadMessage(status, path));
    return false;
}

ExitStatus CliSession::OpenVideo(const std::string& path) {
    doc_.Slicing().SetPacedPlayback(false);
    doc_.Playback().SetPlaybackFramesShown(false);  // nothing is shown here
    doc_.SetGraphNotify(waiter_.Callback());
    if (!doc_.OpenVideo(path))
        return kFailure;
    doc_.Playback().Pause();
    doc_.HandleGraphEvents();
    return kSuccess;
}

ExitStatus CliSession::RunUntilSlicingEnds(int32_t firstFrame, int32_t lastFrame) {
    using Clock = std::chrono::steady_clock;
    progress_.Begin(firstFrame, lastFrame);
    Clock::time_point lastEvent = Clock::now();
    const InterruptStopsRun interrupt;
    while (doc_.Slicing().IsRunning()) {
        if (interrupted) {
            doc_.Slicing().StopSlicing();
            progress_.End();
            user_.ShowMessage("Stopped: the shots found so far follow.");
            return kFailure;
        }
        if (doc_.HandleNextGraphEvent()) {
            lastEvent = Clock::now();
            continue;
        }
        waiter_.Wait(std::chrono::milliseconds(500));
        if (Clock::now() - lastEvent > kStallLimit) {
            doc_.Slicing().StopSlicing();
            progress_.End();
            user_.ShowMessage("The video stopped delivering frames.");
            return kFailure;
        }
    }
    progress_.End();
    if (!doc_.Slicing().ReadToEnd()) {
        user_.ShowMessage("The video could not be read to the end.");
        return kFailure;
    }
    return kSuccess;
}

}  // namespace trevanto::cli
