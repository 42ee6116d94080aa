#include "strictnumber.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace ages {

namespace {

bool isDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Moves pos past a run of digits and returns how many there were.
std::size_t skipDigits(std::string_view word, std::size_t& pos)
{
    const std::size_t start = pos;
    while (pos < word.size() && isDigit(word[pos]))
        ++pos;
    return pos - start;
}

bool isSign(std::string_view word, std::size_t pos)
{
    return pos < word.size() && (word[pos] == '+' || word[pos] == '-');
}

// True when the whole word has the decimal form above.
bool isDecimalWord(std::string_view word)
{
    std::size_t pos = 0;
    if (isSign(word, pos))
        ++pos;
    std::size_t digits = skipDigits(word, pos);
    if (pos < word.size() && word[pos] == '.') {
        ++pos;
        digits += skipDigits(word, pos);
    }
    if (digits == 0)
        return false;
    if (pos < word.size() && (word[pos] == 'e' || word[pos] == 'E')) {
        ++pos;
        if (isSign(word, pos))
            ++pos;
        if (skipDigits(word, pos) == 0)
            return false;
    }
    return pos == word.size();
}

// from_chars takes no leading '+'.
std::string_view withoutPlus(std::string_view word)
{
    return !word.empty() && word.front() == '+' ? word.substr(1) : word;
}

} // namespace

std::optional<double> strictNumber(std::string_view word)
{
    if (!isDecimalWord(word))
        return std::nullopt;
    const std::string_view digits = withoutPlus(word);
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    // A value beyond the range of a double (either way) is refused rather than rounded.
    if (error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> strictInteger(std::string_view word)
{
    const std::string_view digits = withoutPlus(word);
    if (digits.empty() || (digits.size() == 1 && digits.front() == '-'))
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

std::string notANumberMessage(std::string_view option, std::string_view word)
{
    return "ERROR: " + std::string(option) + " expects a number, got '" + std::string(word) + "'";
}

} // namespace ages
