#pragma once
// What trevanto-cli makes of the shots once they exist, for slice and load:
// a shots file (--save), the shots as JPEG images (--jpeg) and a web
// publication (--publish), with the publishing options on the command line.
#include <optional>
#include <string>
#include <vector>

#include "cli/argument_parser.h"
#include "cli/cli_session.h"
#include "publish/publish_options.h"

namespace trevanto::cli {

struct OutputOptions {
    std::string saveFile;  // empty: no shots file
    std::string csvFile;   // empty: no CSV shot list
    std::string edlFile;   // empty: no EDL
    bool jpeg = false;
    std::string publishTarget;  // empty: no publication
    // The publishing options as given; the rest keep their defaults. The
    // command line never opens a browser unless --show is given.
    PublishOptions publish;
    bool targetGiven = false;
    // --video-link FIRST[-LAST]: shot numbers from 1; 0 for no link.
    int32_t linkFirst = 0;
    int32_t linkLast = 0;

    bool Any() const {
        return !saveFile.empty() || !csvFile.empty() || !edlFile.empty() || jpeg ||
               !publishTarget.empty() || linkFirst > 0;
    }
};

const std::vector<OptionSpec>& OutputOptionSpecs();
// The help paragraph on the outputs, for the subcommands' help texts.
std::string OutputHelp();
std::optional<OutputOptions> ParseOutputOptions(const ParsedArguments& arguments,
                                                std::string& error);
// --template, --quiet and the outputs, which slice and load share.
bool ParseSessionOptions(const ParsedArguments& arguments, std::string& templatePath, bool& quiet,
                         OutputOptions& outputs, std::string& error);
// "WxH" with both sides from 1 to 4096.
std::optional<std::pair<int, int>> ParseShotSize(const std::string& text);

// Makes the outputs from the document's shots, in the order save, video
// link, images, publication; the path of the publication's first page is the last line on
// standard output.
ExitStatus WriteOutputs(CliSession& session, const OutputOptions& options);
// The end of a run: prints the shots made (also after a failure), then makes
// the outputs when the run succeeded.
ExitStatus FinishRun(CliSession& session, ExitStatus run, const OutputOptions& options);

}  // namespace trevanto::cli
