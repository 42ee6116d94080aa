// The rows of a compilation split by a column: groups in the order of their first rows, the
// column found in any case, and each group's text read by the ages reader with the file's own
// line numbers.

#include "observedages.h"
#include "observedgroups.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using ages::groupObservedRows;
using ages::ObservedAgesError;

const std::string compilation = "# a comment\n"
                                "Site,sample,system,age_ma,sigma_ma\n" // line 2
                                "B,b1,AHe,3.1,0.2\n"
                                "A,a1,AFT,6.0,0.5\n"
                                "\n"
                                "B,b2,AFT,7.5,0.6\n" // line 6
                                "\"C, north\",c1,ZHe,12,1\n"
                                "A,a2,AHe,2.0,-1\n"; // line 8

ages::ObservedGroups groups(const std::string& text, const std::string& column = "site")
{
    std::istringstream in(text);
    return groupObservedRows(in, "c.csv", column);
}

TEST(ObservedGroups, GroupsComeInTheOrderOfTheirFirstRowsWithTheirRowsInOrder)
{
    const auto found = groups(compilation);
    EXPECT_EQ(found.column, "Site");
    ASSERT_EQ(found.groups.size(), 3u);
    EXPECT_EQ(found.groups[0].name, "B");
    EXPECT_EQ(found.groups[1].name, "A");
    EXPECT_EQ(found.groups[2].name, "C, north"); // quotes removed, the comma kept
    ASSERT_EQ(found.groups[0].rows.size(), 2u);
    EXPECT_EQ(found.groups[0].rows[0].line, 3);
    EXPECT_EQ(found.groups[0].rows[1].line, 6);
    EXPECT_EQ(found.groups[0].rows[1].text, "B,b2,AFT,7.5,0.6");
    EXPECT_EQ(ages::groupContent(found.groups[0]),
        "Site,sample,system,age_ma,sigma_ma\nB,b1,AHe,3.1,0.2\nB,b2,AFT,7.5,0.6\n");
}

TEST(ObservedGroups, AGroupsTextReadsAsItsRowsAtTheFilesLines)
{
    const auto found = groups(compilation);
    std::istringstream b(ages::groupText(found.groups[0]));
    const auto ages = ages::parseObservedAges(b, "c.csv");
    ASSERT_EQ(ages.size(), 2u);
    EXPECT_EQ(ages[0].sample, "b1");
    EXPECT_EQ(ages[0].line, 3);
    EXPECT_EQ(ages[1].line, 6);
    EXPECT_DOUBLE_EQ(ages[1].ageMa, 7.5);
    // A's bad row is refused at its line of the file.
    std::istringstream a(ages::groupText(found.groups[1]));
    try {
        ages::parseObservedAges(a, "c.csv");
        FAIL() << "a negative sigma was read";
    } catch (const ObservedAgesError& error) {
        EXPECT_EQ(std::string(error.what()), "c.csv line 8: sigma_ma must be > 0, got -1");
    }
}

TEST(ObservedGroups, TheSampleColumnGroupsToo)
{
    const auto found = groups(compilation, "SAMPLE");
    EXPECT_EQ(found.groups.size(), 5u); // b1, a1, b2, c1, a2
}

TEST(ObservedGroups, RowsWithoutAValueGoToTheGroupWithTheEmptyName)
{
    const auto found = groups("site,sample,system,age_ma,sigma_ma\nA,a,AHe,3,1\n,b,AHe,3,1\nA\n");
    ASSERT_EQ(found.groups.size(), 2u);
    EXPECT_EQ(found.groups[1].name, "");
    EXPECT_EQ(found.groups[1].rows.size(), 1u);
    EXPECT_EQ(found.groups[0].rows.size(), 2u); // "A" alone: the reader refuses its field count
}

TEST(ObservedGroups, AFileWithoutTheColumnOrAHeaderIsRefused)
{
    try {
        groups(compilation, "region");
        FAIL() << "no column region";
    } catch (const ObservedAgesError& error) {
        EXPECT_EQ(std::string(error.what()),
            "c.csv line 2: no column 'region' to group the rows by (found: Site, sample, system, "
            "age_ma, sigma_ma)");
    }
    EXPECT_THROW(groups("# only a comment\n\n"), ObservedAgesError);
}

} // namespace
