// CsvTable: columns found by name, comments and blank lines skipped with the file's line numbers
// kept, strict numbers, and one clear message for each way a table can fail.

#include "csvtable.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

// What the message of a CsvError thrown by f says, or "" when f throws none.
template <typename F> std::string errorOf(F f)
{
    try {
        f();
    } catch (const CsvError& error) {
        return error.what();
    }
    return {};
}

const QString ages = QStringLiteral("# synthetic ages, made for a test\n"
                                    "\n"
                                    "system, age_ma ,sigma_ma,sample\n"
                                    "AHe,4.5,0.4,S1\n"
                                    "# a comment between rows\n"
                                    "\"ZHe\",1e1,,\"S 2, upper\"\n");

} // namespace

TEST(CsvTable, FindsColumnsByNameAndKeepsTheFilesLineNumbers)
{
    const CsvTable table = CsvTable::parse(ages, "ages.csv");
    ASSERT_EQ(table.rowCount(), 2);
    const int age = table.column("age_ma");
    const int sample = table.column("sample");
    EXPECT_EQ(table.number(0, age), 4.5);
    EXPECT_EQ(table.number(1, age), 10.0);
    EXPECT_EQ(table.number(1, table.column("sigma_ma")), std::nullopt); // empty field
    EXPECT_EQ(table.text(1, sample), "S 2, upper"); // quoted, comma inside
    EXPECT_EQ(table.text(1, table.column("system")), "ZHe");
    EXPECT_EQ(table.lineOf(0), 4);
    EXPECT_EQ(table.lineOf(1), 6);
}

TEST(CsvTable, AFieldThatIsNotAWholeFiniteNumberIsRefusedWithItsLineAndColumn)
{
    for (const char* word : { "abc", "1km", "nan", "inf", "-", "0x10", "1,5" }) {
        SCOPED_TRACE(word);
        const CsvTable table = CsvTable::parse(
            QStringLiteral("a,age_ma\n1,2\n3,\"%1\"\n").arg(QString::fromLatin1(word)), "t.csv");
        EXPECT_EQ(errorOf([&table] { (void)table.number(1, 1); }),
            "'t.csv' line 3: '" + std::string(word) + "' in column 'age_ma' is not a number");
    }
    const CsvTable table = CsvTable::parse("x\n+2.5e-3\n-7\n", "t.csv");
    EXPECT_EQ(table.number(0, 0), 2.5e-3);
    EXPECT_EQ(table.number(1, 0), -7.0);
}

TEST(CsvTable, EachFailureIsOneLineNamingTheFile)
{
    const QTemporaryDir dir;
    const QString missing = dir.filePath("none.csv");
    EXPECT_EQ(errorOf([&missing] { CsvTable::read(missing); }),
        "cannot read '" + missing.toStdString() + "': No such file or directory");
    EXPECT_EQ(errorOf([] { CsvTable::parse("# only a comment\n\n", "e.csv"); }),
        "'e.csv' is empty: a header row of column names is needed");
    const CsvTable table = CsvTable::parse(ages, "ages.csv");
    EXPECT_EQ(errorOf([&table] { (void)table.column("elevation_m"); }),
        "'ages.csv' has no column 'elevation_m'");
}
