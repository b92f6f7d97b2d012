#pragma once
// One document driven from the command line: its ports, the shot template,
// and the loop that hands graph events to the document until a run ends.
// Subcommands (slice, and later load) build on it.
#include <functional>
#include <ostream>
#include <string>

#include "app/document/player_doc.h"
#include "cli/cli_ports.h"
#include "cli/exit_status.h"
#include "cli/graph_waiter.h"
#include "export/shot_template.h"
#include "video/media_graph.h"

namespace trevanto::cli {

struct CliStreams {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false;
};

class CliSession {
  public:
    CliSession(const CliStreams& streams, bool quiet, MediaGraphFactory factory);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // The shot bitmap template from a file, or the built-in one for an empty
    // path. A file that cannot be used is reported.
    bool LoadTemplate(const std::string& path);
    // Opens the video for unpaced playback and pauses it at its start.
    ExitStatus OpenVideo(const std::string& path);
    // Hands graph events to the document while a slicing run is active.
    // Fails when the video could not be read to the end of the run.
    ExitStatus RunUntilSlicingEnds(int32_t firstFrame, int32_t lastFrame);
    // Unpaced playback and graph events for videos the document opens itself
    // (loading a shots file).
    void UseUnpacedGraph();
    // Hands graph events to the document until `done` holds (a chain of frame
    // requests has ended). Fails when the graph stops delivering.
    ExitStatus RunUntil(const std::function<bool()>& done);

    CPlayerDoc& Doc() { return doc_; }
    CliUser& User() { return user_; }
    std::ostream& Out() { return streams_.out; }
    std::ostream& Err() { return streams_.err; }

  private:
    CliStreams streams_;
    CliUser user_;
    CliView view_;
    ProgressLine progress_;
    CliFrame frame_;
    ShotTemplate template_;
    GraphWaiter waiter_;
    CPlayerDoc doc_;
};

}  // namespace trevanto::cli
