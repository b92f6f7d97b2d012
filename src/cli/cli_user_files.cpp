// The command line's answers to the file dialogs and its way of showing a
// published page.
#include <spawn.h>

#include <vector>

#include "cli/cli_ports.h"

extern char** environ;

namespace trevanto::cli {

std::optional<std::string> CliUser::ChooseFile(FileDialogKind /*kind*/,
                                               const std::string& /*filter*/,
                                               const std::string& /*defaultExtension*/) {
    return fileAnswer_;
}

bool CliUser::OpenWithDefaultHandler(const std::string& pathOrUrl) {
    std::string program = "xdg-open";
    std::string target = pathOrUrl;
    std::vector<char*> argv{program.data(), target.data(), nullptr};
    pid_t pid = 0;
    // The viewer outlives the command; nobody waits for it.
    return posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0;
}

}  // namespace trevanto::cli
