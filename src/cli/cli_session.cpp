#include "cli/cli_session.h"

#include <chrono>

#include "app/messages/settings_messages.h"

namespace trevanto::cli {
namespace {

// A graph that has delivered nothing for this long is taken as stuck.
constexpr std::chrono::seconds kStallLimit{30};

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
    while (doc_.Slicing().IsRunning()) {
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
