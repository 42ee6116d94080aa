#pragma once
// One point of an output file: two words, first then second. A second value that is NaN stands
// for "no value here" and is written as the word NaN, which the viewers skip.

#include <vector>

namespace periodic {

struct WordPair {
    double first = 0;
    double second = 0;
};

using Series = std::vector<WordPair>;

} // namespace periodic
