#include "textformat.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace textformat {

namespace {

// Adding 0.0 turns -0.0 into +0.0 and leaves every other value as it is; a value that rounds to
// zero at the precision asked keeps its sign in to_chars, so it is checked after rounding.
std::string withoutMinusZero(std::string written)
{
    if (written.starts_with('-') && written.find_first_not_of("-0.") == std::string::npos)
        written.erase(0, 1);
    return written;
}

} // namespace

std::string number(const double value, const int significant)
{
    // "-1.23456789012345678e-308" fits; so do "nan" and "inf".
    std::array<char, 64> buffer {};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value + 0.0,
        std::chars_format::general, significant);
    return withoutMinusZero(std::string(buffer.data(), result.ptr));
}

std::string fixed(const double value, const int decimals)
{
    // A fixed-notation double can have 309 digits before the point.
    std::array<char, 400> buffer {};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value + 0.0,
        std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return number(value);
    return withoutMinusZero(std::string(buffer.data(), result.ptr));
}

std::string shortest(const double value)
{
    std::array<char, 64> buffer {};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value + 0.0);
    return std::string(buffer.data(), result.ptr);
}

std::string printable(const std::string_view userText)
{
    std::string shown;
    shown.reserve(userText.size());
    for (const char c : userText) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            std::array<char, 5> escaped {};
            std::snprintf(escaped.data(), escaped.size(), "\\x%02X", byte);
            shown += escaped.data();
        } else {
            shown += c;
        }
    }
    return shown;
}

std::string quoted(const std::string_view userText)
{
    std::string text(1, '\'');
    return text.append(printable(userText)).append(1, '\'');
}

std::string warningLine(const std::string_view what)
{
    return "warning: " + std::string(what);
}

std::string noteLine(const std::string_view what)
{
    return "note: " + std::string(what);
}

} // namespace textformat
