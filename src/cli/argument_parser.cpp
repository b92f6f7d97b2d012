#include "cli/argument_parser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace trevanto::cli {

namespace {

bool EndsWithIgnoringCase(const std::string& text, const std::string& ending) {
    if (ending.empty() || text.size() <= ending.size() || text.compare(0, 2, "--") == 0)
        return false;
    return std::equal(ending.rbegin(), ending.rend(), text.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

}  // namespace

std::string ParsedArguments::Value(const std::string& name, size_t index) const {
    const auto found = options_.find(name);
    if (found == options_.end() || index >= found->second.size())
        return {};
    return found->second[index];
}

std::vector<std::string> ParsedArguments::Values(const std::string& name) const {
    const auto found = options_.find(name);
    return found == options_.end() ? std::vector<std::string>{} : found->second;
}

std::optional<ParsedArguments> ParseArguments(const std::vector<std::string>& arguments,
                                              const std::vector<OptionSpec>& specs,
                                              std::string& error) {
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument.compare(0, 2, "--") != 0) {
            parsed.positionals_.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const std::string name = argument.substr(2);
        const auto option = std::find_if(specs.begin(), specs.end(),
                                         [&name](const OptionSpec& s) { return s.name == name; });
        if (option == specs.end()) {
            error = "unknown option " + argument;
            return std::nullopt;
        }
        if (parsed.Has(name) && !option->repeatable) {
            error = "option " + argument + " given twice";
            return std::nullopt;
        }
        if (arguments.size() - 1 - i < static_cast<size_t>(option->valueCount)) {
            error = "option " + argument + " needs " + option->valueNames;
            return std::nullopt;
        }
        std::vector<std::string>& values = parsed.options_[name];
        for (int v = 0; v < option->valueCount; ++v)
            values.push_back(arguments[++i]);
        if (!optionsEnded && option->valueCount == 0 && i + 1 < arguments.size() &&
            EndsWithIgnoringCase(arguments[i + 1], option->optionalValueEnding)) {
            values.push_back(arguments[++i]);
        }
    }
    return parsed;
}

std::string FormatOptionHelp(const std::vector<OptionSpec>& specs) {
    constexpr size_t kColumn = 26;
    std::string text;
    for (const OptionSpec& option : specs) {
        std::string head = "  --" + option.name;
        if (!option.valueNames.empty())
            head += " " + option.valueNames;
        head += head.size() + 2 <= kColumn ? std::string(kColumn - head.size(), ' ')
                                           : "\n" + std::string(kColumn, ' ');
        text += head + option.help + "\n";
    }
    return text;
}

std::optional<int> ParseInteger(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

std::optional<double> ParseNumber(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    // Whatever the user's locale, the point is the decimal separator.
    const size_t sign = text[0] == '+' && text.size() > 1 && text[1] != '-' ? 1 : 0;
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data() + sign, end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> ParseNumberOption(const ParsedArguments& arguments, const std::string& name,
                                     int lowest, int highest, const std::string& what,
                                     std::string& error) {
    const auto number = ParseInteger(arguments.Value(name));
    if (!number || *number < lowest || *number > highest) {
        error = "--" + name + " needs " + what + " from " + std::to_string(lowest) + " to " +
                std::to_string(highest) + ", not '" + arguments.Value(name) + "'";
        return std::nullopt;
    }
    return number;
}

}  // namespace trevanto::cli
