#include "common/text_numbers.h"

#include <charconv>
#include <limits>

namespace trevanto {
namespace {

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Index of the first character after the blanks.
size_t SkipBlanks(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    return at;
}

}  // namespace

int64_t ReadLeadingInteger(std::string_view text, LeadingNumber* read) {
    size_t at = SkipBlanks(text);
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        ++at;
    int64_t value = 0;
    bool found = false;
    bool held = false;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        found = true;
        const int digit = text[at] - '0';
        constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
        if (held || value > (kMax - digit) / 10) {
            held = true;  // the digits go on being read
            continue;
        }
        value = value * 10 + digit;
    }
    if (read != nullptr)
        *read = {found, found ? at : 0};
    if (held)
        return negative ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    return negative ? -value : value;
}

double ReadLeadingDecimal(std::string_view text) {
    size_t at = SkipBlanks(text);
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        negative = text[at++] == '-';
    // from_chars would also take "inf" and "nan": only a digit or a point may start.
    if (at == text.size() || !(IsDigit(text[at]) || text[at] == '.'))
        return 0.0;
    double value = 0.0;
    const std::string_view number = text.substr(at);
    const std::errc error = std::from_chars(number.data(), number.data() + number.size(), value).ec;
    if (error == std::errc::result_out_of_range) {
        // Too small ("1e-999") reads as 0, too large as infinity.
        const size_t exponent = number.find_first_of("eE");
        const bool tiny = exponent != std::string_view::npos && exponent + 1 < number.size() &&
                          number[exponent + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (error != std::errc()) {
        return 0.0;
    }
    return negative ? -value : value;
}

}  // namespace trevanto
