#include "numbertext.h"

#include <array>
#include <charconv>

namespace thermal {

std::string numberText(const double value)
{
    // "-1.23457e-308" is 13 characters; "nan" and "inf" fit too.
    std::array<char, 32> buffer {};
    const auto result = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), value + 0.0, std::chars_format::general, 6);
    return std::string(buffer.data(), result.ptr);
}

} // namespace thermal
