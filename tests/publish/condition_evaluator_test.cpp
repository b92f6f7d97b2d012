#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "publish/condition_evaluator.h"

namespace trevanto {
namespace {

std::optional<std::string> Evaluate(const std::string& expression) {
    ConditionEvaluator evaluator;
    if (!evaluator.Parse(expression))
        return std::nullopt;
    return evaluator.Evaluate();
}

TEST(ConditionEvaluatorTest, Results) {
    const struct {
        const char* expression;
        const char* result;
    } cases[] = {
        {"0", "0"},
        {"3 > 2", "1"},
        {"2 > 3", "0"},
        {"4 % 2 = 0", "1"},
        {"3 % 2 = 0", "0"},
        {"1 + 2 * 3", "7"},
        {"(1 + 2) * 3", "9"},
        {"7 / 2", "3.500000"},
        {"10 - 4 - 3", "3"},
        {"1 = 1 AND 2 = 3", "0"},
        {"1 = 1 OR 2 = 3", "1"},
        {"2 < 3 AND 3 < 4", "1"},
        {"5 != 5", "0"},
        {"5 != 6", "1"},
        {"== 3 = 3", "1"},
        {"3.9 = 3", "1"},
        {"7 % 0", "0"},
        {"(0 - 9) % (0 - 1)", "0"},
        {"(0 - 9) % 4", "-1"},
        {"1 / 0", "100000000"},
        {"\"a-b\"", "\"a-b\""},
        {"2 >", ""},
        {"> 2", ""},
        {"", ""},
        {"(1 + 2", "3"},
    };
    for (const auto& c : cases) {
        const auto result = Evaluate(c.expression);
        ASSERT_TRUE(result.has_value()) << c.expression;
        EXPECT_EQ(*result, c.result) << c.expression;
    }
}

TEST(ConditionEvaluatorTest, AStrayClosingParenthesisFailsTheParse) {
    ConditionEvaluator evaluator;
    EXPECT_FALSE(evaluator.Parse("1 + 2)"));
    EXPECT_FALSE(evaluator.Evaluate().has_value());
    EXPECT_TRUE(ConditionHolds("1 + 2)"));
}

TEST(ConditionEvaluatorTest, WhatShowsTheText) {
    EXPECT_FALSE(ConditionHolds("0"));
    EXPECT_TRUE(ConditionHolds("3 > 2"));
    EXPECT_FALSE(ConditionHolds("2 >"));
    EXPECT_FALSE(ConditionHolds("0.5"));
    EXPECT_TRUE(ConditionHolds("abc)"));
}

TEST(ConditionEvaluatorTest, IntegerValues) {
    EXPECT_EQ(IntegerValueOf("  -42abc"), -42);
    EXPECT_EQ(IntegerValueOf("+7"), 7);
    EXPECT_EQ(IntegerValueOf("x7"), 0);
    EXPECT_EQ(IntegerValueOf(""), 0);
    EXPECT_EQ(IntegerValueOf("3.99"), 3);
}

}  // namespace
}  // namespace trevanto
