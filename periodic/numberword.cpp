#include "numberword.h"

#include <array>
#include <charconv>
#include <cmath>

namespace periodic {

namespace {
constexpr int significantDigits = 6;
}

std::string numberWord(const double value)
{
    if (std::isnan(value)) {
        return "NaN";
    }
    // "-1.23457e-308" is 13 characters; room to spare.
    std::array<char, 32> buffer {};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value + 0.0,
        std::chars_format::general, significantDigits);
    return std::string(buffer.data(), result.ptr);
}

} // namespace periodic
