// trevanto-cli: the headless front end. The work is in cli_app.cpp.
#include <unistd.h>

#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "common/temporary_file.h"
#include "video/open_media_graph.h"

int main(int argc, char** argv) {
    // Ctrl+C during a script download leaves no temporary file behind.
    trevanto::RemoveTemporaryFilesOnSignals();
    // Number pictures of templates use the user's separators, as in the
    // desktop program; the program's own numbers are read and written
    // without the locale.
    std::setlocale(LC_NUMERIC, "");
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const trevanto::cli::CliStreams streams{std::cout, std::cerr, isatty(STDERR_FILENO) == 1};
    return trevanto::cli::RunCli(arguments, streams, trevanto::OpenMediaGraph);
}
