#pragma once
// A small command line parser: long options ("--name") taking a fixed number
// of values, and positional arguments. Each subcommand declares its options;
// the same declarations produce the help text.
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace trevanto::cli {

struct OptionSpec {
    std::string name;        // without the leading "--"
    int valueCount = 0;      // values following the option
    std::string valueNames;  // shown in the help, e.g. "OPTION VALUE"
    std::string help;
    // May be given more than once (one value each); the values are kept in order.
    bool repeatable = false;
    // An option without values takes the next argument as its one value when
    // that argument ends so (case aside): "--index" or "--index all.mhtml".
    std::string optionalValueEnding = {};
};

class ParsedArguments {
  public:
    bool Has(const std::string& name) const { return options_.count(name) != 0; }
    // The option's i-th value; empty when absent.
    std::string Value(const std::string& name, size_t index = 0) const;
    // Every value of the option, in the order given; empty when absent.
    std::vector<std::string> Values(const std::string& name) const;
    const std::vector<std::string>& Positionals() const { return positionals_; }

  private:
    friend std::optional<ParsedArguments> ParseArguments(const std::vector<std::string>&,
                                                         const std::vector<OptionSpec>&,
                                                         std::string&);
    std::vector<std::string> positionals_;
    std::map<std::string, std::vector<std::string>> options_;
};

// Parses `arguments` (without the program and subcommand names). An unknown
// option, a missing value or an option given twice gives nothing and a
// reason in `error`; a repeatable option may be given again. "--" ends the options.
std::optional<ParsedArguments> ParseArguments(const std::vector<std::string>& arguments,
                                              const std::vector<OptionSpec>& specs,
                                              std::string& error);

// One line per option: "  --name VALUES" padded, then its help.
std::string FormatOptionHelp(const std::vector<OptionSpec>& specs);

// Whole-string number parsing; nothing on any stray character or overflow.
std::optional<int> ParseInteger(const std::string& text);

// The whole number option `name` gives, from `lowest` to `highest`; nothing,
// with "--NAME needs WHAT from LOWEST to HIGHEST, not 'VALUE'" in `error`,
// when it gives another.
std::optional<int> ParseNumberOption(const ParsedArguments& arguments, const std::string& name,
                                     int lowest, int highest, const std::string& what,
                                     std::string& error);
std::optional<double> ParseNumber(const std::string& text);

}  // namespace trevanto::cli
