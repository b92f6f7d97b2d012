#include "publish/condition_evaluator.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "common/text_format.h"

namespace trevanto {
namespace {

constexpr std::array<std::string_view, 13> kOperators = {"+", "-",  "*", "/", ">",   "<", "=",
                                                         "%", "!=", "(", ")", "AND", "OR"};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view OperatorAt(std::string_view text, size_t at) {
    for (const std::string_view op : kOperators) {
        if (text.substr(at, op.size()) == op)
            return op;
    }
    return {};
}

int Precedence(std::string_view op) {
    if (op == "*" || op == "/")
        return 20;
    if (op == "AND" || op == "OR")
        return 5;
    return 10;
}

double DecimalValueOf(const std::string& text) {
    const char* begin = text.c_str();
    while (IsBlank(*begin))
        ++begin;
    return std::strtod(begin, nullptr);
}

// Whole results are written as whole numbers, others with "%f".
std::string NumberText(double value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 9.0e15) {
        return FormatText("%lld", static_cast<long long>(value));
    }
    return FormatText("%f", value);
}

std::string Apply(std::string_view op, const std::string& left, const std::string& right) {
    if (op == "+" || op == "-" || op == "*" || op == "/") {
        const double a = DecimalValueOf(left);
        double b = DecimalValueOf(right);
        if (op == "+")
            return NumberText(a + b);
        if (op == "-")
            return NumberText(a - b);
        if (op == "*")
            return NumberText(a * b);
        if (std::fabs(b) < 1e-8)
            b = 1e-8;
        return NumberText(a / b);
    }
    const int64_t a = IntegerValueOf(left);
    const int64_t b = IntegerValueOf(right);
    if (op == "%") {
        // A remainder by zero gives 0 (and so does one by -1, which cannot overflow then).
        return FormatText("%lld", static_cast<long long>(b == 0 || b == -1 ? 0 : a % b));
    }
    bool result = false;
    if (op == ">")
        result = a > b;
    if (op == "<")
        result = a < b;
    if (op == "=")
        result = a == b;
    if (op == "!=")
        result = a != b;
    if (op == "AND")
        result = a != 0 && b != 0;
    if (op == "OR")
        result = a != 0 || b != 0;
    return result ? "1" : "0";
}

}  // namespace

int64_t IntegerValueOf(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t value = 0;
    constexpr int64_t kLimit = std::numeric_limits<int64_t>::max() / 10 - 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < kLimit)
            value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

bool ConditionEvaluator::Parse(std::string_view expression) {
    postfix_.clear();
    parsed_ = false;
    std::vector<std::string_view> operators;
    size_t i = 0;
    while (i < expression.size() && (IsBlank(expression[i]) || expression[i] == '='))
        ++i;
    while (i < expression.size()) {
        if (IsBlank(expression[i])) {
            ++i;
            continue;
        }
        const std::string_view op = OperatorAt(expression, i);
        if (op.empty()) {
            // An operand runs to the next operator outside double quotes.
            const size_t start = i;
            bool quoted = false;
            while (i < expression.size() && (quoted || OperatorAt(expression, i).empty())) {
                if (expression[i] == '"')
                    quoted = !quoted;
                ++i;
            }
            size_t stop = i;
            while (stop > start && IsBlank(expression[stop - 1]))
                --stop;
            postfix_.push_back({std::string(expression.substr(start, stop - start)), false});
            continue;
        }
        i += op.size();
        if (op == "(") {
            operators.push_back(op);
        } else if (op == ")") {
            while (!operators.empty() && operators.back() != "(") {
                postfix_.push_back({std::string(operators.back()), true});
                operators.pop_back();
            }
            if (operators.empty())
                return false;
            operators.pop_back();
        } else {
            while (!operators.empty() && operators.back() != "(" &&
                   Precedence(operators.back()) >= Precedence(op)) {
                postfix_.push_back({std::string(operators.back()), true});
                operators.pop_back();
            }
            operators.push_back(op);
        }
    }
    // An unclosed "(" groups up to the end.
    while (!operators.empty()) {
        if (operators.back() != "(")
            postfix_.push_back({std::string(operators.back()), true});
        operators.pop_back();
    }
    parsed_ = true;
    return true;
}

std::optional<std::string> ConditionEvaluator::Evaluate() const {
    if (!parsed_)
        return std::nullopt;
    std::vector<std::string> operands;
    for (const Token& token : postfix_) {
        if (!token.isOperator) {
            operands.push_back(token.text);
            continue;
        }
        if (operands.size() < 2) {
            operands.clear();
            continue;
        }
        const std::string right = std::move(operands.back());
        operands.pop_back();
        const std::string left = std::move(operands.back());
        operands.pop_back();
        operands.push_back(Apply(token.text, left, right));
    }
    return operands.empty() ? std::string() : operands.back();
}

bool ConditionHolds(std::string_view expression) {
    ConditionEvaluator evaluator;
    if (!evaluator.Parse(expression))
        return true;
    const std::optional<std::string> result = evaluator.Evaluate();
    if (!result)
        return true;
    return !result->empty() && IntegerValueOf(*result) != 0;
}

}  // namespace trevanto
