// Number pictures: FormatNumber with any value, picture and separators.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "publish/format_number.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace trevanto;
    FuzzedDataProvider input(data, size);
    NumberSeparators separators;
    separators.group = input.ConsumeIntegral<char>();
    separators.decimal = input.ConsumeIntegral<char>();
    const std::string value = input.ConsumeRandomLengthString(1024);
    const std::string picture = input.ConsumeRemainingBytesAsString();
    const std::string formatted = FormatNumber(value, picture, separators);
    if (formatted.size() > kFormattedNumberLimit)
        std::abort();
    if (value.empty() != formatted.empty() && value.empty())
        std::abort();
    return 0;
}
