#pragma once
// What the tests of cooling_ages share: the program's main run in this process on a list of
// words, the CSV tables it writes read back as named fields, and a scratch directory per test
// for the files a run reads and writes.

#include "agerun.h"
#include "coolingages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace agestest {

struct Finished {
    int status = -1;
    std::string out;
    std::string err;
};

// cooling_ages WORDS..., run by its main in this process.
inline Finished runCoolingAges(std::vector<std::string> words)
{
    words.insert(words.begin(), "cooling_ages");
    std::vector<const char*> argv;
    for (const std::string& word : words)
        argv.push_back(word.c_str());
    std::ostringstream out, err;
    Finished result;
    result.status = ages::coolingAgesMain(static_cast<int>(argv.size()), argv.data(), out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

inline std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The fields of one CSV line; a line ending in a comma ends in an empty field.
inline std::vector<std::string> csvFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');)
        fields.push_back(field);
    if (!line.empty() && line.back() == ',')
        fields.emplace_back();
    return fields;
}

// One CSV row as named fields.
using Row = std::map<std::string, std::string>;

// The rows of a table with one header line; every row must have the header's field count.
inline std::vector<Row> rowsOf(const std::string& table)
{
    std::istringstream in(table);
    std::string line;
    std::getline(in, line);
    const std::vector<std::string> names = csvFields(line);
    std::vector<Row> rows;
    while (std::getline(in, line)) {
        const std::vector<std::string> fields = csvFields(line);
        EXPECT_EQ(fields.size(), names.size()) << line;
        Row row;
        for (std::size_t k = 0; k < names.size() && k < fields.size(); ++k)
            row[names[k]] = fields[k];
        rows.push_back(row);
    }
    return rows;
}

// A test with a directory of its own, removed when the test ends.
class ScratchDirectoryTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path()
            / ("cooling-ages-test-" + std::to_string(std::random_device {}()));
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string file(const std::string& name) const { return (m_dir / name).string(); }

    // Writes text to the file name of the directory and returns its path.
    std::string write(const std::string& name, const std::string& text) const
    {
        std::ofstream(file(name)) << text;
        return file(name);
    }

    std::filesystem::path m_dir;
};

} // namespace agestest
