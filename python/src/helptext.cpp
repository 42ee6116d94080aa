#include "helptext.h"

#include "textformat.h"

#include <algorithm>
#include <sstream>

namespace erosion_python {

namespace {

// Texts wrap at this width, which help() indents by 4 columns more; a meaning starts two
// columns after the longest name.
constexpr std::size_t lineWidth = 96;

// The words of text wrapped at lineWidth, the first line starting at column firstIndent and
// every further line indented to column indent.
std::string wrapped(std::string_view text, std::size_t indent, std::size_t firstIndent)
{
    std::string result;
    std::size_t column = firstIndent;
    std::istringstream words { std::string(text) };
    std::string word;
    bool lineStart = true;
    while (words >> word) {
        if (!lineStart && column + 1 + word.size() > lineWidth) {
            result += '\n' + std::string(indent, ' ');
            column = indent;
            lineStart = true;
        }
        if (!lineStart) {
            result += ' ';
            ++column;
        }
        result += word;
        column += word.size();
        lineStart = false;
    }
    return result;
}

} // namespace

std::string helpText(
    std::string_view summary, const std::vector<ArgumentHelp>& arguments, std::string_view returns)
{
    std::size_t nameWidth = 0;
    for (const ArgumentHelp& argument : arguments)
        nameWidth = std::max(nameWidth, argument.name.size());
    const std::size_t meaningColumn = 2 + nameWidth + 2;

    std::string text = wrapped(summary, 0, 0) + "\n\nArguments:\n";
    for (const ArgumentHelp& argument : arguments) {
        std::string line = "  " + std::string(argument.name);
        line.resize(meaningColumn, ' ');
        text += line + wrapped(argument.meaning, meaningColumn, meaningColumn) + '\n';
    }
    text += "\nReturns:\n  " + wrapped(returns, 2, 2) + '\n';
    return text;
}

std::string shownNumber(double value)
{
    return textformat::number(value);
}

} // namespace erosion_python
