#include "boundsword.h"

#include "inputerror.h"
#include "strictnumber.h"

#include <string_view>

namespace ages {

ValueBounds parseBoundsWord(const std::string& option, const std::string& word, const char* unit)
{
    const std::size_t colon = word.find(':');
    const auto low = decimal::strictDouble(std::string_view(word).substr(0, colon));
    const auto high = colon == std::string::npos
        ? std::nullopt
        : decimal::strictDouble(std::string_view(word).substr(colon + 1));
    if (!low || !high)
        throw InputError(
            option + " expects MIN:MAX (" + unit + "), two numbers, got '" + word + "'");
    return { *low, *high };
}

} // namespace ages
