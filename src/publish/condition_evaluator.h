#pragma once
// Evaluates the expression of a template's $(IF,"...") statement: numbers in
// text form, + - * / % > < = != AND OR and parentheses, by precedence.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trevanto {

// The value of the leading decimal digits (leading blanks and one sign
// allowed); 0 when there are none.
int64_t IntegerValueOf(std::string_view text);

class ConditionEvaluator {
  public:
    // Builds the postfix sequence; false when a ")" has no "(".
    bool Parse(std::string_view expression);
    // The result text; empty when an operator lacked an operand. Nothing when
    // nothing was parsed.
    std::optional<std::string> Evaluate() const;

  private:
    struct Token {
        std::string text;
        bool isOperator = false;
    };
    std::vector<Token> postfix_;
    bool parsed_ = false;
};

// True when the expression shows its text: it parses, evaluates, and its
// result is neither empty nor of integer value 0. A faulty expression shows
// the text too.
bool ConditionHolds(std::string_view expression);

}  // namespace trevanto
