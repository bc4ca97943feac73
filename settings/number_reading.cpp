#include "settings/number_reading.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tapkeys {

namespace {

// Walks the text the way the reading sees it: blanks, tabs and line feeds do not exist for it, so
// "1 2" is twelve and "- 3" is minus three.
class NumberCursor {
public:
    explicit NumberCursor(std::wstring_view text) : text_(text) {}

    wchar_t peek() {
        while (pos_ < text_.size() && isSkipped(text_[pos_])) ++pos_;
        return pos_ < text_.size() ? text_[pos_] : L'\0';
    }
    void advance() { ++pos_; }
    bool take(wchar_t lower, wchar_t upper) {
        const wchar_t c = peek();
        if (c != lower && c != upper) return false;
        advance();
        return true;
    }

private:
    static bool isSkipped(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n'; }

    std::wstring_view text_;
    size_t pos_ = 0;
};

bool isDecimalDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

int digitValue(wchar_t c, int base) {
    int value = base;
    if (c >= L'0' && c <= L'9') value = c - L'0';
    if (c >= L'a' && c <= L'f') value = c - L'a' + 10;
    if (c >= L'A' && c <= L'F') value = c - L'A' + 10;
    return value < base ? value : -1;
}

// "&H" / "&O" numbers; the cursor stands after the "&".
double readPrefixed(NumberCursor& cursor) {
    int base = 0;
    if (cursor.take(L'h', L'H')) base = 16;
    if (base == 0 && cursor.take(L'o', L'O')) base = 8;
    if (base == 0) return 0;
    // Accumulating in double saturates to infinity on absurdly long digit runs instead of wrapping.
    double value = 0;
    for (int digit = digitValue(cursor.peek(), base); digit >= 0; digit = digitValue(cursor.peek(), base)) {
        value = value * base + digit;
        cursor.advance();
    }
    return value;
}

// Exponents beyond this make every mantissa the text can hold overflow or underflow, so clamping keeps
// the arithmetic below in range without changing the result.
constexpr long long kExponentClamp = 1'000'000'000;

long long readExponent(NumberCursor& cursor) {
    if (!cursor.take(L'e', L'E') && !cursor.take(L'd', L'D')) return 0;
    bool negative = false;
    if (cursor.take(L'-', L'-'))
        negative = true;
    else
        cursor.take(L'+', L'+');
    long long exponent = 0;
    while (isDecimalDigit(cursor.peek())) {
        exponent = std::min(exponent * 10 + (cursor.peek() - L'0'), kExponentClamp);
        cursor.advance();
    }
    return negative ? -exponent : exponent;
}

// The decimal exponent of the first significant digit of a mantissa like "0012.50" (here 1), so an
// out-of-range conversion can tell overflow from underflow.
long long leadingMagnitude(const std::string& mantissa) {
    const size_t first = mantissa.find_first_of("123456789");
    if (first == std::string::npos) return 0;
    const auto pointAt = static_cast<long long>(std::min(mantissa.find('.'), mantissa.size()));
    const auto firstAt = static_cast<long long>(first);
    return firstAt < pointAt ? pointAt - firstAt - 1 : pointAt - firstAt;
}

double readDecimal(NumberCursor& cursor) {
    bool negative = false;
    if (cursor.take(L'-', L'-'))
        negative = true;
    else
        cursor.take(L'+', L'+');

    // The digits are copied into a plain ASCII buffer and converted by std::from_chars, which neither
    // consults the locale nor rounds twice.
    std::string mantissa;
    bool anyDigit = false;
    bool seenPoint = false;
    for (wchar_t c = cursor.peek();; c = cursor.peek()) {
        if (isDecimalDigit(c)) {
            anyDigit = true;
        } else if (c != L'.' || seenPoint) {
            break;
        } else {
            seenPoint = true;
        }
        mantissa += static_cast<char>(c);
        cursor.advance();
    }
    if (!anyDigit) return 0;
    const long long exponent = readExponent(cursor);

    const std::string number = mantissa + 'e' + std::to_string(exponent);
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        value = leadingMagnitude(mantissa) + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

double roundHalfToEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction < 0.5) return lower;
    if (fraction > 0.5) return lower + 1;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

template <typename Int>
std::optional<Int> roundToInt(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double rounded = roundHalfToEven(value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
        return std::nullopt;
    }
    return static_cast<Int>(rounded);
}

}  // namespace

double readNumber(std::wstring_view text) {
    NumberCursor cursor(text);
    if (cursor.take(L'&', L'&')) return readPrefixed(cursor);
    return readDecimal(cursor);
}

std::optional<std::int16_t> roundToInt16(double value) {
    return roundToInt<std::int16_t>(value);
}

std::optional<std::int32_t> roundToInt32(double value) {
    return roundToInt<std::int32_t>(value);
}

}  // namespace tapkeys
