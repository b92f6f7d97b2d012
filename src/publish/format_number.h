#pragma once
// Number pictures in the manner of spreadsheet formats: "0000", "#,##0",
// "0.00". The picture never cuts integer digits and never rounds decimals.
#include <string>
#include <string_view>

namespace trevanto {

struct NumberSeparators {
    char group = ' ';
    char decimal = '.';
};

// The first characters of the C library locale's thousands and decimal
// separators; ' ' and '.' where the locale gives none.
NumberSeparators LocaleNumberSeparators();

// At most kFormattedNumberLimit characters.
inline constexpr size_t kFormattedNumberLimit = 255;
std::string FormatNumber(std::string_view value, std::string_view picture);
std::string FormatNumber(std::string_view value, std::string_view picture,
                         NumberSeparators separators);

}  // namespace trevanto
