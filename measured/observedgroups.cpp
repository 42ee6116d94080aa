#include "observedgroups.h"

#include "csvfields.h"
#include "observedages.h"
#include "textformat.h"
#include "textlines.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <unordered_map>

namespace ages {

namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(),
            [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

ObservedGroups groupObservedRows(
    std::istream& text, const std::string_view fileName, const std::string_view column)
{
    ObservedGroups result;
    std::unordered_map<std::string, std::size_t> indexOf; // group name -> index in groups
    std::string header;
    int headerLine = 0;
    std::size_t columnIndex = 0;
    std::string line;
    textlines::LineReader lines(text);
    for (;;) {
        try {
            if (!lines.next(line))
                break;
        } catch (const std::length_error& error) {
            throw ObservedAgesError(std::string(fileName) + " " + error.what());
        }
        const std::string_view content = csv::trimmed(line);
        if (content.empty() || content.front() == '#')
            continue;
        const auto fields = splitObservedFields(content);
        if (headerLine == 0) {
            const auto found = std::find_if(fields.begin(), fields.end(),
                [&](std::string_view name) { return sameIgnoringCase(name, column); });
            if (found == fields.end()) {
                std::string names;
                for (const auto field : fields)
                    names += (names.empty() ? "" : ", ") + textformat::printable(field);
                throw ObservedAgesError(std::string(fileName) + " line "
                    + std::to_string(lines.lineNumber()) + ": no column "
                    + textformat::quoted(column) + " to group the rows by (found: " + names + ")");
            }
            columnIndex = static_cast<std::size_t>(found - fields.begin());
            result.column = std::string(*found);
            header = std::string(content);
            headerLine = lines.lineNumber();
            continue;
        }
        const std::string name
            = columnIndex < fields.size() ? std::string(fields[columnIndex]) : std::string();
        auto [where, added] = indexOf.try_emplace(name, result.groups.size());
        if (added)
            result.groups.push_back({ name, result.column, headerLine, header, {} });
        result.groups[where->second].rows.push_back({ lines.lineNumber(), std::string(content) });
    }
    if (text.bad())
        throw ObservedAgesError(std::string(fileName) + ": cannot be read");
    if (headerLine == 0)
        throw ObservedAgesError(
            std::string(fileName) + ": no header row (sample, system, age_ma, sigma_ma ...)");
    return result;
}

std::string groupText(const ObservedGroup& group)
{
    std::string text;
    int line = 1;
    const auto lineAt = [&](int number, const std::string& content) {
        text.append(static_cast<std::size_t>(number - line), '\n');
        text += content;
        text += '\n';
        line = number + 1;
    };
    lineAt(group.headerLine, group.header);
    for (const ObservedRow& row : group.rows)
        lineAt(row.line, row.text);
    return text;
}

std::string groupContent(const ObservedGroup& group)
{
    std::string text = group.header + '\n';
    for (const ObservedRow& row : group.rows)
        text += row.text + '\n';
    return text;
}

} // namespace ages
