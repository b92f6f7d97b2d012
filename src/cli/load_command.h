#pragma once
// "trevanto-cli load": reads a shots file, opens the video it names, rebuilds
// every shot at its image frame as the desktop program does, prints the
// shots and makes the outputs asked for.
#include <optional>
#include <string>
#include <vector>

#include "cli/argument_parser.h"
#include "cli/cli_session.h"
#include "cli/output_options.h"

namespace trevanto::cli {

struct LoadOptions {
    std::string shotsFile;
    std::string templatePath;  // empty: the built-in template
    bool quiet = false;
    OutputOptions outputs;
};

const std::vector<OptionSpec>& LoadOptionSpecs();
std::string LoadHelp();
std::optional<LoadOptions> ParseLoadOptions(const ParsedArguments& arguments, std::string& error);

int RunLoad(const LoadOptions& options, const CliStreams& streams, MediaGraphFactory factory);

}  // namespace trevanto::cli
