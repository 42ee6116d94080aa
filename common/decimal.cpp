#include "decimal.h"

#include <charconv>
#include <climits>
#include <cstdlib>
#include <string>

#include <locale.h>

namespace decimal {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t skipBlanks(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return i;
}

std::size_t skipDigits(std::string_view text, std::size_t i)
{
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i;
}

// strtod in the "C" locale, for the rare prefix that from_chars reports out of range: it gives
// the infinity of an overflow and the (possibly subnormal) value of an underflow.
double strtodInCLocale(const std::string& prefix)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return strtod_l(prefix.c_str(), nullptr, cLocale);
}

} // namespace

double toDouble(std::string_view text)
{
    const std::size_t start = skipBlanks(text);
    std::size_t i = start;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;

    const std::size_t integerEnd = skipDigits(text, i);
    bool haveDigits = integerEnd > i;
    i = integerEnd;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionEnd = skipDigits(text, i + 1);
        haveDigits = haveDigits || fractionEnd > i + 1;
        i = fractionEnd;
    }
    if (!haveDigits)
        return 0.0;

    // An exponent counts only when at least one digit follows the letter and its sign.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        const std::size_t exponentEnd = skipDigits(text, j);
        if (exponentEnd > j)
            i = exponentEnd;
    }

    // from_chars takes no leading '+' and is exact and locale-free for the rest.
    std::size_t first = start;
    if (text[first] == '+')
        ++first;
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data() + first, text.data() + i, value);
    if (error == std::errc::result_out_of_range)
        return strtodInCLocale(std::string(text.substr(start, i - start)));
    (void)end;
    return value;
}

int toInt(std::string_view text)
{
    std::size_t i = skipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate negatively so that INT_MIN itself is reachable.
    long long value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 - (text[i] - '0');
        if (value < INT_MIN)
            return negative ? INT_MIN : INT_MAX;
    }
    if (negative)
        return static_cast<int>(value);
    return value < -static_cast<long long>(INT_MAX) ? INT_MAX : static_cast<int>(-value);
}

} // namespace decimal
