#include "publish/format_number.h"

#include <clocale>

namespace trevanto {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlankPicture(std::string_view picture) {
    return picture.find_first_not_of(' ') == std::string_view::npos;
}

// Builds the integer part right to left. The value characters left over when
// the picture runs out extend the number to the left; in a grouped picture
// they keep being grouped by the picture's last group size, so "#,##0" groups
// every three digits of any longer number.
class IntegerPartWriter {
  public:
    IntegerPartWriter(std::string_view digits, std::string_view picture, char group)
        : value_(digits), next_(static_cast<long>(digits.size()) - 1), group_(group) {
        const size_t lastGroup = picture.rfind(group);
        if (lastGroup != std::string_view::npos) {
            grouped_ = true;
            for (size_t i = lastGroup + 1; i < picture.size(); ++i) {
                if (picture[i] == '0' || picture[i] == '#')
                    ++groupSize_;
            }
        }
    }

    void Walk(std::string_view picture) {
        bool digitSinceOther = false;
        for (size_t i = picture.size(); i-- > 0;) {
            const char c = picture[i];
            if (c == '0' || c == '#') {
                digitSinceOther = true;
                if (HasNext() && IsDigit(Peek())) {
                    PutDigit(Take());
                } else if (c == '0') {
                    PutDigit('0');
                }
            } else if (c == group_) {
                if (!HasNext())
                    continue;
                PutGroup();
                while (HasNext() && Peek() == group_)
                    Take();
            } else {
                if (digitSinceOther)
                    FlushRest();
                digitSinceOther = false;
                out_ += c;
            }
        }
        FlushRest();
    }

    std::string Result() const { return std::string(out_.rbegin(), out_.rend()); }

  private:
    bool HasNext() const { return next_ >= 0; }
    char Peek() const { return value_[static_cast<size_t>(next_)]; }
    char Take() { return value_[static_cast<size_t>(next_--)]; }

    void PutDigit(char c) {
        out_ += c;
        ++digitsInGroup_;
    }
    void PutGroup() {
        out_ += group_;
        digitsInGroup_ = 0;
    }

    void FlushRest() {
        while (HasNext()) {
            const char c = Take();
            if (grouped_ && groupSize_ > 0) {
                if (c == group_)
                    continue;
                if (IsDigit(c) && digitsInGroup_ >= groupSize_)
                    PutGroup();
            }
            if (IsDigit(c)) {
                PutDigit(c);
            } else {
                out_ += c;
            }
        }
    }

    std::string_view value_;
    long next_;
    char group_;
    bool grouped_ = false;
    int groupSize_ = 0;
    int digitsInGroup_ = 0;
    std::string out_;
};

std::string DecimalPart(std::string_view digits, std::string_view picture, NumberSeparators sep) {
    std::string out(1, sep.decimal);
    size_t start = 0;
    while (start < picture.size() && picture[start] == sep.decimal)
        ++start;
    size_t next = 0;
    const auto hasDigit = [&] { return next < digits.size() && IsDigit(digits[next]); };
    for (size_t i = start; i < picture.size(); ++i) {
        const char c = picture[i];
        if (c == '0') {
            out += hasDigit() ? digits[next++] : '0';
        } else if (c == '#') {
            if (hasDigit())
                out += digits[next++];
        } else if (c == sep.group) {
            out += c;
            while (next < digits.size() && digits[next] == sep.group)
                ++next;
        } else {
            out += c;
        }
    }
    return out;
}

std::string Limited(std::string text) {
    if (text.size() > kFormattedNumberLimit)
        text.resize(kFormattedNumberLimit);
    return text;
}

}  // namespace

NumberSeparators LocaleNumberSeparators() {
    NumberSeparators separators;
    const std::lconv* conventions = std::localeconv();
    if (conventions == nullptr)
        return separators;
    if (conventions->thousands_sep != nullptr && conventions->thousands_sep[0] != '\0') {
        separators.group = conventions->thousands_sep[0];
    }
    if (conventions->decimal_point != nullptr && conventions->decimal_point[0] != '\0') {
        separators.decimal = conventions->decimal_point[0];
    }
    return separators;
}

std::string FormatNumber(std::string_view value, std::string_view picture) {
    return FormatNumber(value, picture, LocaleNumberSeparators());
}

std::string FormatNumber(std::string_view value, std::string_view picture,
                         NumberSeparators separators) {
    if (value.empty())
        return {};
    if (IsBlankPicture(picture) || picture.find("Standard") != std::string_view::npos) {
        return Limited(std::string(value));
    }
    const size_t valueDot = value.find(separators.decimal);
    const size_t pictureDot = picture.find(separators.decimal);
    IntegerPartWriter integerPart(value.substr(0, valueDot), picture.substr(0, pictureDot),
                                  separators.group);
    integerPart.Walk(picture.substr(0, pictureDot));
    std::string result = integerPart.Result();
    if (pictureDot != std::string_view::npos) {
        const std::string_view valueDecimals =
            valueDot == std::string_view::npos ? std::string_view{} : value.substr(valueDot + 1);
        result += DecimalPart(valueDecimals, picture.substr(pictureDot), separators);
    }
    return Limited(std::move(result));
}

}  // namespace trevanto
