// The condition language of template pages and the number pictures.
#include <gtest/gtest.h>

#include <clocale>

#include "publish/condition_evaluator.h"
#include "publish/format_number.h"

namespace trevanto {
namespace {

TEST(ConditionEvaluatorTest, Results) {
    // Result "x": the parse fails. Holds: whether the text between IF and ENDIF shows.
    const struct {
        const char *expression, *result;
        bool holds;
    } rows[] = {{"3 > 2", "1", true},

                {"4 % 2 = 0", "1", true},
                {"1 + 2 * 3", "7", true},
                {"(1 + 2) * 3", "9", true},
                {"7 / 2", "3.500000", true},

                {"1 = 1 AND 2 = 3", "0", false},
                {"1 = 1 OR 2 = 3", "1", true},

                {"5 != 6", "1", true},
                {"== 3 = 3", "1", true},
                {"3.9 = 3", "1", true},
                {"7 % 0", "0", false},
                {"(0 - 9) % (0 - 1)", "0", false},
                {"(0 - 9) % 4", "-1", true},
                {"1 / 0", "100000000", true},
                {"\"a-b\"", "\"a-b\"", false},
                {"2 >", "", false},

                {"", "", false},
                {"(1 + 2", "3", true},
                {"0.5", "0.5", false},
                {"1 + 2)", "x", true},
                {"abc)", "x", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expression);
        ConditionEvaluator evaluator;
        const bool parsed = evaluator.Parse(row.expression);
        EXPECT_EQ(parsed, std::string(row.result) != "x");
        EXPECT_EQ(evaluator.Evaluate().value_or("x"), row.result);
        EXPECT_EQ(ConditionHolds(row.expression), row.holds);
    }
    const std::pair<const char*, int> integers[] = {
        {"  -42abc", -42}, {"+7", 7}, {"x7", 0}, {"", 0}, {"3.99", 3}};
    for (const auto& [text, value] : integers)
        EXPECT_EQ(IntegerValueOf(text), value) << text;
}

TEST(FormatNumberTest, Pictures) {
    const char* rows[][3] = {{"7", "0000", "0007"},
                             {"12345", "0000", "12345"},
                             {"-7", "0000", "-0007"},
                             {"", "0000", ""},
                             {"1234", "x Standard y", "1234"},
                             {"1234567890", "#,##0", "1,234,567,890"},
                             {"0", "#,##0", "0"},
                             {"3.999", "0.00", "3.99"},
                             {"7", "0.00", "7.00"},
                             {"2.5", "0.##", "2.5"},
                             {"2.5", "00..0", "02.5"},
                             {"42", "No 000", "No 042"},
                             {"12345", "0 pcs", "12345 pcs"},
                             {"abc", "0000", "abc0000"}};
    for (const auto& row : rows)
        EXPECT_EQ(FormatNumber(row[0], row[1], {',', '.'}), row[2]) << row[0] << " with " << row[1];
    const std::string longValue(300, '9');  // results are cut at 255 characters
    EXPECT_EQ(FormatNumber(longValue, "0", {',', '.'}).size(), 255u);
    EXPECT_EQ(FormatNumber(longValue, "Standard").size(), 255u);
    // The C locale has no thousands separator: a blank takes its place.
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(LocaleNumberSeparators().decimal, '.');
    EXPECT_EQ(FormatNumber("1234567", "# ##0"), "1 234 567");
    EXPECT_EQ(FormatNumber("1234567", "#,##0"), ",1234567");
}

}  // namespace
}  // namespace trevanto
