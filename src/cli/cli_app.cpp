#include "cli/cli_app.h"

#include <algorithm>
#include <functional>
#include <iostream>

#include "cli/argument_parser.h"
#include "cli/batch_command.h"
#include "cli/exit_status.h"
#include "cli/load_command.h"
#include "cli/slice_command.h"
#include "trevanto_version.h"

namespace trevanto::cli {
namespace {

struct Subcommand {
    std::string name;
    std::string summary;
    std::function<const std::vector<OptionSpec>&()> options;
    std::function<std::string()> help;
    // Runs with parsed arguments; returns the exit status.
    std::function<int(const ParsedArguments&, const CliStreams&, MediaGraphFactory)> run;
};

int RunSliceCommand(const ParsedArguments& arguments, const CliStreams& streams,
                    MediaGraphFactory factory) {
    std::string error;
    const auto options = ParseSliceOptions(arguments, error);
    if (!options) {
        streams.err << "trevanto-cli slice: " << error << "\n(see trevanto-cli slice --help)\n";
        return kBadArguments;
    }
    return RunSlice(*options, streams, std::move(factory));
}

int RunLoadCommand(const ParsedArguments& arguments, const CliStreams& streams,
                   MediaGraphFactory factory) {
    std::string error;
    const auto options = ParseLoadOptions(arguments, error);
    if (!options) {
        streams.err << "trevanto-cli load: " << error << "\n(see trevanto-cli load --help)\n";
        return kBadArguments;
    }
    return RunLoad(*options, streams, std::move(factory));
}

int RunBatchCommand(const ParsedArguments& arguments, const CliStreams& streams,
                    MediaGraphFactory factory) {
    std::string error;
    const auto options = ParseBatchOptions(arguments, error);
    if (!options) {
        streams.err << "trevanto-cli batch: " << error << "\n(see trevanto-cli batch --help)\n";
        return kBadArguments;
    }
    if (options->merge)
        return RunBatchMerge(*options, streams);
    // A video's child runs the command line `slice` would be given, with its
    // output and messages in the child's own files.
    const ChildEntry slice = [factory](const std::vector<std::string>& childArguments) {
        const CliStreams childStreams{std::cout, std::cerr, false};
        return RunCli(childArguments, childStreams, factory);
    };
    return RunBatch(*options, streams, slice);
}

const std::vector<Subcommand>& Subcommands() {
    static const std::vector<Subcommand> commands = {
        {"slice", "cut a video into shots and list them", SliceOptionSpecs, SliceHelp,
         RunSliceCommand},
        {"load", "rebuild the shots of a shots file and list them", LoadOptionSpecs, LoadHelp,
         RunLoadCommand},
        {"batch", "slice every video of folders and lists, resumably", BatchOptionSpecs, BatchHelp,
         RunBatchCommand},
    };
    return commands;
}

std::string GeneralHelp() {
    std::string text =
        "usage: trevanto-cli COMMAND [ARGUMENTS]\n"
        "\n"
        "Trevanto without windows: slices videos into shots, saves and loads shots\n"
        "files, writes the shots as JPEG images and publishes them as web pages.\n"
        "\n"
        "commands:\n";
    for (const Subcommand& command : Subcommands()) {
        text += "  " + command.name +
                std::string(10 - std::min<size_t>(command.name.size(), 9), ' ') + command.summary +
                "\n";
    }
    text +=
        "\n'trevanto-cli COMMAND --help' explains a command's options;\n"
        "'trevanto-cli --version' prints the version.\n";
    return text;
}

bool IsHelp(const std::string& argument) {
    return argument == "--help" || argument == "-h" || argument == "help";
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments, const CliStreams& streams,
           MediaGraphFactory factory) {
    if (arguments.empty()) {
        streams.err << GeneralHelp();
        return kBadArguments;
    }
    const std::string& name = arguments[0];
    if (name == "--version" && arguments.size() == 1) {
        streams.out << "trevanto-cli " << kTrevantoVersion << "\n";
        return kSuccess;
    }
    if (IsHelp(name) && arguments.size() == 1) {
        streams.out << GeneralHelp();
        return kSuccess;
    }
    const bool helpForCommand = name == "help";
    const std::string& commandName = helpForCommand ? arguments[1] : name;
    const auto& commands = Subcommands();
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [&](const Subcommand& c) { return c.name == commandName; });
    if (command == commands.end()) {
        streams.err << "trevanto-cli: unknown command '" << commandName << "'\n\n" << GeneralHelp();
        return kBadArguments;
    }
    const std::vector<std::string> rest(arguments.begin() + (helpForCommand ? 2 : 1),
                                        arguments.end());
    if (helpForCommand || std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
        streams.out << command->help();
        return kSuccess;
    }
    std::string error;
    const auto parsed = ParseArguments(rest, command->options(), error);
    if (!parsed) {
        streams.err << "trevanto-cli " << command->name << ": " << error << "\n(see trevanto-cli "
                    << command->name << " --help)\n";
        return kBadArguments;
    }
    return command->run(*parsed, streams, std::move(factory));
}

}  // namespace trevanto::cli
