#pragma once
// Numbers read from the start of a text the way the dialogs read their edit
// boxes: blanks skipped, then as much of a number as there is; the rest of
// the text is ignored.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace trevanto {

struct LeadingNumber {
    bool found = false;  // at least one digit was read
    size_t length = 0;   // characters used, blanks included
};

// Blanks, an optional sign, decimal digits. Values past 64 bits are held at
// the nearest end. No digits give 0.
int64_t ReadLeadingInteger(std::string_view text, LeadingNumber* read = nullptr);
// Blanks, an optional sign, digits with an optional fraction and exponent
// ("12.5", "-.5", "1e3"). No digits give 0; no "inf", "nan" or hexadecimal.
double ReadLeadingDecimal(std::string_view text);

}  // namespace trevanto
