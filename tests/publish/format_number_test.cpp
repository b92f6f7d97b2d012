#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "publish/format_number.h"

namespace trevanto {
namespace {

TEST(FormatNumberTest, Pictures) {
    const NumberSeparators comma{',', '.'};
    const struct {
        const char* value;
        const char* picture;
        const char* expected;
    } cases[] = {
        {"7", "0000", "0007"},
        {"12345", "0000", "12345"},
        {"0", "0000", "0000"},
        {"-7", "0000", "-0007"},
        {"7", "####", "7"},
        {"", "0000", ""},
        {"1234", "Standard", "1234"},
        {"1234", "x Standard y", "1234"},
        {"1234", "", "1234"},
        {"1234", "   ", "1234"},
        {"1234567", "#,##0", "1,234,567"},
        {"1234", "#,##0", "1,234"},
        {"123", "#,##0", "123"},
        {"0", "#,##0", "0"},
        {"1234567890", "#,##0", "1,234,567,890"},
        {"3.14159", "0.00", "3.14"},
        {"3.999", "0.00", "3.99"},
        {"7", "0.00", "7.00"},
        {"2.5", "0.##", "2.5"},
        {"2.5", "00..0", "02.5"},
        {"42", "No 000", "No 042"},
        {"42", "[0]", "[42]"},
        {"12345", "0 pcs", "12345 pcs"},
        {"abc", "0000", "abc0000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNumber(c.value, c.picture, comma), c.expected)
            << c.value << " with " << c.picture;
    }
}

TEST(FormatNumberTest, ResultIsCutAt255Characters) {
    const std::string longValue(300, '9');
    EXPECT_EQ(FormatNumber(longValue, "0", {',', '.'}).size(), 255u);
    EXPECT_EQ(FormatNumber(longValue, "Standard").size(), 255u);
}

TEST(FormatNumberTest, SeparatorsComeFromTheLocale) {
    // The C locale has no thousands separator: a blank takes its place.
    std::setlocale(LC_NUMERIC, "C");
    const NumberSeparators separators = LocaleNumberSeparators();
    EXPECT_EQ(separators.group, ' ');
    EXPECT_EQ(separators.decimal, '.');
    EXPECT_EQ(FormatNumber("1234567", "# ##0"), "1 234 567");
    EXPECT_EQ(FormatNumber("1234567", "#,##0"), ",1234567");
}

}  // namespace
}  // namespace trevanto
