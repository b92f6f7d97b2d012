// Waiting for the document's chains of frame requests (rebuilding shots,
// exporting images) on the command line.
#include <chrono>

#include "cli/cli_session.h"

namespace trevanto::cli {
namespace {

// A chain whose frame has not come for this long is taken as stuck.
constexpr std::chrono::seconds kChainStallLimit{30};

}  // namespace

void CliSession::UseUnpacedGraph() {
    doc_.Slicing().SetPacedPlayback(false);
    doc_.SetGraphNotify(waiter_.Callback());
}

ExitStatus CliSession::RunUntil(const std::function<bool()>& done) {
    using Clock = std::chrono::steady_clock;
    Clock::time_point lastEvent = Clock::now();
    while (!done()) {
        if (doc_.HandleNextGraphEvent()) {
            lastEvent = Clock::now();
            continue;
        }
        waiter_.Wait(std::chrono::milliseconds(500));
        // A frame the chain waits for in vain ends its item, not the run.
        doc_.CheckFrameWait();
        if (Clock::now() - lastEvent > kChainStallLimit) {
            user_.ShowMessage("The video stopped delivering frames.");
            return kFailure;
        }
    }
    return kSuccess;
}

}  // namespace trevanto::cli
