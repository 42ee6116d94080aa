#include "csvfields.h"

#include <algorithm>
#include <cctype>

namespace ages::csv {

namespace {

// One field: blanks around it and a pair of double quotes around that are not part of the value.
std::string_view fieldValue(std::string_view text)
{
    text = trimmed(text);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = trimmed(text.substr(1, text.size() - 2));
    }
    return text;
}

// The next comma that ends a field at or after start.
std::size_t fieldEnd(std::string_view line, std::size_t start)
{
    bool quoted = false;
    for (std::size_t i = start; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ',' && !quoted)
            return i;
    }
    return std::string_view::npos;
}

} // namespace

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const auto comma = fieldEnd(line, start);
        fields.push_back(fieldValue(line.substr(start, comma - start)));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

std::string lowerCase(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::optional<std::string_view> otherSeparator(std::string_view headerLine)
{
    if (headerLine.find(',') != std::string_view::npos) {
        return std::nullopt;
    }
    if (headerLine.find(';') != std::string_view::npos) {
        return "semicolons";
    }
    if (headerLine.find('\t') != std::string_view::npos) {
        return "tabs";
    }
    return std::nullopt;
}

std::size_t editDistance(std::string_view a, std::string_view b)
{
    std::vector<std::size_t> previous(b.size() + 1), current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j)
            current[j] = std::min({ previous[j] + 1, current[j - 1] + 1,
                previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1) });
        std::swap(previous, current);
    }
    return previous[b.size()];
}

} // namespace ages::csv
