// The text layer writes numbers with a full stop in any locale and shows user text printable.

#include "textformat.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

TEST(TextFormat, NumbersAreWrittenAsCsPrintfInTheCLocale)
{
    struct Case {
        std::string written;
        std::string expected;
    };
    const Case cases[] {
        { textformat::number(0.6666667), "0.666667" },
        { textformat::number(1e-5), "1e-05" },
        { textformat::number(123456789.0), "1.23457e+08" },
        { textformat::number(-0.0), "0" },
        { textformat::fixed(0.6666, 3), "0.667" },
        { textformat::fixed(12, 3), "12.000" },
        { textformat::fixed(-0.0004, 3), "0.000" },
        { textformat::fixed(1e300, 1), textformat::fixed(1e300, 1) }, // does not fail
        { textformat::shortest(0.1), "0.1" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.written, c.expected);
}

TEST(TextFormat, ALocaleWithADecimalCommaChangesNoNumber)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "the locale de_DE.UTF-8 is not installed (scripts/install-deps.sh makes it)";
    const std::string number = textformat::number(0.667);
    const std::string fixed = textformat::fixed(0.6666, 3);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(number, "0.667");
    EXPECT_EQ(fixed, "0.667");
}

TEST(TextFormat, ControlBytesOfUserTextAreShownEscaped)
{
    EXPECT_EQ(textformat::quoted(std::string("4O\0x\r", 5)), "'4O\\x00x\\x0D'");
    EXPECT_EQ(textformat::quoted("Grüße"), "'Grüße'");
    EXPECT_EQ(textformat::warningLine("w"), "warning: w");
}

} // namespace
