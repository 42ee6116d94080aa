#include "strictnumber.h"

#include "decimal.h"

#include <cmath>

namespace decimal {

namespace {

bool isDigit(const char c)
{
    return c >= '0' && c <= '9';
}

// Position after an optional sign at i.
std::size_t skipSign(const std::string_view word, std::size_t i)
{
    return i < word.size() && (word[i] == '+' || word[i] == '-') ? i + 1 : i;
}

std::size_t skipDigits(const std::string_view word, std::size_t i)
{
    while (i < word.size() && isDigit(word[i])) {
        ++i;
    }
    return i;
}

// True when the whole word is  [sign] digits [. digits] [(e|E) [sign] digits]  with at least one
// digit in the significand.
bool isDecimalWord(const std::string_view word)
{
    std::size_t i = skipSign(word, 0);
    const std::size_t integerEnd = skipDigits(word, i);
    bool haveDigits = integerEnd > i;
    i = integerEnd;
    if (i < word.size() && word[i] == '.') {
        const std::size_t fractionEnd = skipDigits(word, i + 1);
        haveDigits = haveDigits || fractionEnd > i + 1;
        i = fractionEnd;
    }
    if (!haveDigits) {
        return false;
    }
    if (i < word.size() && (word[i] == 'e' || word[i] == 'E')) {
        const std::size_t exponentStart = skipSign(word, i + 1);
        const std::size_t exponentEnd = skipDigits(word, exponentStart);
        if (exponentEnd == exponentStart) {
            return false; // "7e" or "7e+": a letter without an exponent is stray text
        }
        i = exponentEnd;
    }
    return i == word.size();
}

} // namespace

std::optional<double> strictDouble(const std::string_view word)
{
    if (!isDecimalWord(word)) {
        return std::nullopt;
    }
    // The whole word is the longest decimal prefix, so the lenient reading gives its value.
    const double value = toDouble(word);
    if (!std::isfinite(value)) {
        return std::nullopt; // "1e400": too large for a double
    }
    return value;
}

std::optional<int> strictInt(const std::string_view word)
{
    const std::size_t digitsStart = skipSign(word, 0);
    if (digitsStart == word.size() || skipDigits(word, digitsStart) != word.size()) {
        return std::nullopt;
    }
    return toInt(word);
}

} // namespace decimal
