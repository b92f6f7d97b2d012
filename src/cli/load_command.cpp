#include "cli/load_command.h"

namespace trevanto::cli {

const std::vector<OptionSpec>& LoadOptionSpecs() {
    static const std::vector<OptionSpec> specs = [] {
        std::vector<OptionSpec> all = {
            {"template", 1, "BMP", "shot bitmap template (100 x 80) for the thumbnails"},
            {"quiet", 0, "", "no progress line on a terminal"},
            {"help", 0, "", "show this help"},
        };
        const auto& outputs = OutputOptionSpecs();
        all.insert(all.end() - 2, outputs.begin(), outputs.end());
        return all;
    }();
    return specs;
}

std::string LoadHelp() {
    return "usage: trevanto-cli load FILE.hpv [--template BMP] [--save OTHER.hpv]\n"
           "                          [--csv FILE] [--edl FILE]\n"
           "                          [--jpeg [--target PATH]] [--publish TARGET]\n"
           "                          [--shot-size WxH --stretch] [publishing options]\n"
           "                          [--quiet]\n"
           "\n"
           "Reads a shots file, opens the video it names and rebuilds every shot at its\n"
           "image frame, after which the shots are printed as slice prints them: number,\n"
           "start frame, end frame and caption, separated by tabs.\n"
           "\n" +
           OutputHelp() +
           "\n"
           "options:\n" +
           FormatOptionHelp(LoadOptionSpecs()) +
           "\n"
           "exit status: 0 done, 1 the shots file or its video cannot be used, or an\n"
           "output failed, 2 bad arguments.\n";
}

std::optional<LoadOptions> ParseLoadOptions(const ParsedArguments& arguments, std::string& error) {
    LoadOptions options;
    if (arguments.Positionals().size() != 1) {
        error = arguments.Positionals().empty() ? "no shots file given"
                                                : "more than one shots file given";
        return std::nullopt;
    }
    options.shotsFile = arguments.Positionals()[0];
    if (!ParseSessionOptions(arguments, options.templatePath, options.quiet, options.outputs,
                             error))
        return std::nullopt;
    return options;
}

int RunLoad(const LoadOptions& options, const CliStreams& streams, MediaGraphFactory factory) {
    CliSession session(streams, options.quiet, std::move(factory));
    if (!session.LoadTemplate(options.templatePath))
        return kFailure;
    session.UseUnpacedGraph();
    CPlayerDoc& doc = session.Doc();
    session.User().SetFileAnswer(options.shotsFile);
    doc.ShotsFile().LoadShots();  // says what went wrong itself
    session.User().SetFileAnswer(std::nullopt);
    if (!doc.IsOpen())
        return kFailure;
    const ExitStatus rebuilt = session.RunUntil([&doc] { return !doc.ShotsFile().IsRebuilding(); });
    return FinishRun(session, rebuilt, options.outputs);
}

}  // namespace trevanto::cli
