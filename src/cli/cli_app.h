#pragma once
// trevanto-cli's entry: picks the subcommand and runs it. Each subcommand is
// one entry of a table (name, help, options, run), so a new one is one more
// entry.
#include <string>
#include <vector>

#include "cli/cli_session.h"
#include "video/media_graph.h"

namespace trevanto::cli {

// `arguments` without the program name. Returns the exit status.
int RunCli(const std::vector<std::string>& arguments, const CliStreams& streams,
           MediaGraphFactory factory);

}  // namespace trevanto::cli
