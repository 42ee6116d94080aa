// cooling_ages batch: a compilation of sites, each made by the program itself at its own rate,
// fitted group by group; refusals kept to their group; shards that take every group once and
// merge into the whole table; the groups' files that let a rerun skip what is done.

#include "programtables.h"

#include "batchrun.h"
#include "inputerror.h"
#include "stablehash.h"
#include "textformat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using agestest::Finished;
using agestest::runCoolingAges;

const std::string sweep = "0.3:1.2:0.03";
constexpr double sweepStep = 0.03;
const std::vector<std::string> transient { "-o", "12", "--rates", sweep };

// The fields of a line of the batch's table (quoted fields hold commas).
std::vector<std::string> fields(const std::string& line)
{
    return ages::batchFields(line);
}

// The batch's table as rows of named fields, and its header.
struct Table {
    std::vector<std::string> header;
    std::vector<std::map<std::string, std::string>> rows;

    const std::map<std::string, std::string>& group(const std::string& name) const
    {
        for (const auto& row : rows)
            if (row.at("group") == name)
                return row;
        throw std::out_of_range("no group " + name);
    }
};

Table tableOf(const std::string& text)
{
    Table table;
    std::istringstream in(text);
    std::string line;
    std::getline(in, line);
    table.header = fields(line);
    while (std::getline(in, line)) {
        const auto values = fields(line);
        EXPECT_EQ(values.size(), table.header.size()) << line;
        std::map<std::string, std::string> row;
        for (std::size_t k = 0; k < values.size() && k < table.header.size(); ++k)
            row[table.header[k]] = values[k];
        table.rows.push_back(row);
    }
    return table;
}

class Batch : public agestest::ScratchDirectoryTest {
protected:
    // The ages the transient model (-o 12) predicts at rate for an AHe, an AFT and a ZHe grain,
    // as rows "site,sample,system,age_ma,sigma_ma" with sigma 5 % of the age: measurements
    // without noise.
    std::string siteRows(const std::string& site, double rate) const
    {
        const std::string placeholders = write("placeholders.csv",
            "sample,system,age_ma,sigma_ma\n" + site + "-1,AHe,1,1\n" + site + "-2,AFT,1,1\n" + site
                + "-3,ZHe,1,1\n");
        const Finished made = runCoolingAges({ "transient", "-o", "12", "-r", std::to_string(rate),
            "--observed", placeholders, "--residuals", file("made.csv") });
        EXPECT_EQ(made.status, 0) << made.err;
        std::ifstream in(file("made.csv"));
        std::string line, rows;
        std::getline(in, line); // sample,system,method,elevation_m,age_ma,sigma_ma,predicted_age_ma
        while (std::getline(in, line)) {
            const auto values = agestest::csvFields(line);
            const double age = std::stod(values[6]);
            rows += site + "," + values[0] + "," + values[1] + "," + values[6] + ","
                + std::to_string(0.05 * age) + "\n";
        }
        return rows;
    }

    // A compilation of the sites at their rates, site by site.
    std::string compilation(const std::vector<std::pair<std::string, double>>& sites) const
    {
        std::string text
            = "# sites made by cooling_ages transient -o 12\nsite,sample,system,age_ma,sigma_ma\n";
        for (const auto& [site, rate] : sites)
            text += siteRows(site, rate);
        return write("compilation.csv", text);
    }

    Finished batch(const std::string& observed, std::vector<std::string> words = {}) const
    {
        std::vector<std::string> all { "batch", "--observed", observed, "--by", "site" };
        all.insert(all.end(), words.begin(), words.end());
        return runCoolingAges(all);
    }
};

TEST_F(Batch, NoiseFreeSitesComeBackAtTheirOwnRates)
{
    const std::map<std::string, double> rates { { "A", 0.4 }, { "B", 0.7 }, { "C", 1.0 } };
    const std::string observed = compilation({ { "A", 0.4 }, { "B", 0.7 }, { "C", 1.0 } });
    const Finished done = batch(observed, transient);
    ASSERT_EQ(done.status, 0) << done.err;
    EXPECT_EQ(done.err, "batch: 3 groups, 3 fitted, 0 refused\n");
    const Table table = tableOf(done.out);
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(table.header.begin(), table.header.begin() + 10),
        (std::vector<std::string> { "group", "ages", "status", "best_rate_mm_yr", "rate_low_mm_yr",
            "rate_high_mm_yr", "chi2", "reduced_chi2", "chi2_level", "range_scaled" }));
    EXPECT_EQ(table.header.back(), "refusal");
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& row = table.rows[i];
        const double rate = rates.at(row.at("group"));
        SCOPED_TRACE(row.at("group"));
        EXPECT_EQ(row.at("group"), std::string(1, static_cast<char>('A' + i))); // the file's order
        EXPECT_EQ(row.at("ages"), "3");
        EXPECT_EQ(row.at("status"), "fitted");
        EXPECT_NEAR(std::stod(row.at("best_rate_mm_yr")), rate, sweepStep);
        EXPECT_LE(std::stod(row.at("rate_low_mm_yr")), rate);
        EXPECT_GE(std::stod(row.at("rate_high_mm_yr")), rate);
        EXPECT_LT(std::stod(row.at("reduced_chi2")), 0.01);
        EXPECT_EQ(row.at("not_reset"), "0");
        EXPECT_EQ(row.at("range_at_low_end"), "no");
        EXPECT_EQ(row.at("minima"), "1");
        EXPECT_EQ(row.at("refusal"), "");
    }
}

TEST_F(Batch, EachRowIsTheFitOfItsGroupsRowsAlone)
{
    const std::string observed = compilation({ { "A", 0.5 }, { "B", 0.9 } });
    const Finished done = batch(observed, transient);
    ASSERT_EQ(done.status, 0) << done.err;
    const Table table = tableOf(done.out);
    for (const std::string& site : std::vector<std::string> { "A", "B" }) {
        SCOPED_TRACE(site);
        // The group's rows in a file of their own, fitted by the program as one data set.
        std::ifstream in(observed);
        std::string line, rows;
        while (std::getline(in, line))
            if (line.starts_with(site + ",") || line.starts_with("site,"))
                rows += line + "\n";
        std::vector<std::string> words { "transient", "--observed", write("one.csv", rows) };
        words.insert(words.end(), transient.begin(), transient.end());
        const Finished alone = runCoolingAges(words);
        ASSERT_EQ(alone.status, 0) << alone.err;
        std::smatch summary;
        ASSERT_TRUE(std::regex_search(alone.err, summary,
            std::regex("best rate: ([0-9.]+) mm/yr, range ([0-9.]+) to ([0-9.]+), reduced chi2 "
                       "([0-9.]+)")))
            << alone.err;
        const auto& row = table.group(site);
        for (const auto& [column, match] :
            { std::pair { "best_rate_mm_yr", 1 }, std::pair { "rate_low_mm_yr", 2 },
                std::pair { "rate_high_mm_yr", 3 }, std::pair { "reduced_chi2", 4 } }) {
            const std::string printed = summary[match];
            const auto decimals = printed.size() - printed.find('.') - 1;
            EXPECT_NEAR(std::stod(row.at(column)), std::stod(printed),
                0.5000001 * std::pow(10.0, -static_cast<double>(decimals)))
                << column;
        }
    }
}

TEST_F(Batch, ARefusedGroupHoldsItsRefusalAtTheFilesLineAndTheOthersGoOn)
{
    std::string text = "site,sample,system,age_ma,sigma_ma\n" + siteRows("A", 0.5);
    text += "B,b-1,AHe,3.1,0.2\nB,b-2,AFT,6.0,-1\n"; // lines 5 and 6
    text += siteRows("C", 0.8);
    const Finished done = batch(write("compilation.csv", text), transient);
    ASSERT_EQ(done.status, 0) << done.err;
    EXPECT_EQ(done.err, "batch: 3 groups, 2 fitted, 1 refused\n");
    const Table table = tableOf(done.out);
    const auto& refused = table.group("B");
    EXPECT_EQ(refused.at("status"), "refused");
    EXPECT_EQ(refused.at("ages"), "2");
    EXPECT_EQ(
        refused.at("refusal"), file("compilation.csv") + " line 6: sigma_ma must be > 0, got -1");
    EXPECT_EQ(refused.at("best_rate_mm_yr"), "");
    EXPECT_EQ(refused.at("range_scaled"), "");
    EXPECT_EQ(table.group("A").at("status"), "fitted");
    EXPECT_EQ(table.group("C").at("status"), "fitted");
}

TEST_F(Batch, RowsWithoutAGroupAreRefusedTogetherByTheirLines)
{
    std::string text = "site,sample,system,age_ma,sigma_ma\n" + siteRows("A", 0.5);
    text += ",x-1,AHe,3.1,0.2\n"; // line 5
    const Finished done = batch(write("compilation.csv", text), transient);
    ASSERT_EQ(done.status, 0) << done.err;
    const Table table = tableOf(done.out);
    EXPECT_EQ(table.group("").at("refusal"),
        "1 row has no value in column site (line 5): name their group, or leave them out");
}

TEST_F(Batch, EveryGroupRefusedRefusesTheBatchWithTheFirstRefusal)
{
    const std::string observed = write(
        "compilation.csv", "site,sample,system,age_ma,sigma_ma\nA,a,AHe,3,0\nB,b,AHe,3,0\n");
    const Finished done = batch(observed, transient);
    EXPECT_EQ(done.status, 1);
    EXPECT_NE(done.err.find("batch: 2 groups, 0 fitted, 2 refused\n"), std::string::npos)
        << done.err;
    EXPECT_NE(done.err.find("ERROR: every group was refused; the first, 'A': "), std::string::npos)
        << done.err;
}

TEST_F(Batch, WhatNoGroupCouldUseIsRefusedBeforeAnyWork)
{
    const std::string observed = compilation({ { "A", 0.5 } });
    const auto refusal = [&](std::vector<std::string> words) {
        const Finished done = batch(observed, words);
        EXPECT_EQ(done.status, 1);
        EXPECT_EQ(done.out, "");
        return done.err;
    };
    EXPECT_NE(
        refusal({ "--residuals", file("r.csv") }).find("--residuals writes a file of one fit"),
        std::string::npos);
    EXPECT_NE(refusal({ "--model", "path" })
                  .find("--model must be transient, periodic, history or terrain"),
        std::string::npos);
    EXPECT_NE(refusal({ "--model", "history", "--erosion", "12:0.5" }).find("add --fit-phases N"),
        std::string::npos);
    const std::string flat = write("flat.asc",
        "ncols 2\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1000\nNODATA_value -9999\n0 0\n0 0\n");
    EXPECT_NE(refusal({ "--model", "terrain", "--dem", flat, "--erosion", "12:0.5" })
                  .find("--model terrain fits an erosion history to every group: add --fit-phases N"),
        std::string::npos);
    EXPECT_NE(refusal({ "--model", "terrain", "--dem", flat, "--erosion", "12:0.5", "--fit-phases",
                          "1", "--age-map", file("ages.tif") })
                  .find("--age-map writes a file of one run"),
        std::string::npos);
    EXPECT_NE(refusal({ "--model", "terrain", "--dem", file("none.asc"), "--erosion", "12:0.5",
                          "--fit-phases", "1" })
                  .find("--dem " + file("none.asc") + ": no such file"),
        std::string::npos);
    EXPECT_NE(
        refusal({ "-o", "12", "--no-such-option" }).find("--no-such-option"), std::string::npos);
    EXPECT_EQ(batch(observed, { "--by", "region" }).status, 1);
    EXPECT_NE(runCoolingAges({ "batch", "--observed", observed, "--by", "region" })
                  .err.find("no column 'region' to group the rows by (found: site, sample, "
                            "system, age_ma, sigma_ma)"),
        std::string::npos);
    EXPECT_NE(refusal({ "--shard", "4/3" }).find("--shard expects I/N"), std::string::npos);
}

TEST_F(Batch, ThreadsChangeNoFieldOfTheTable)
{
    const std::string observed
        = compilation({ { "A", 0.4 }, { "B", 0.6 }, { "C", 0.8 }, { "D", 1.1 } });
    auto one = transient, two = transient;
    one.insert(one.end(), { "--threads", "1" });
    two.insert(two.end(), { "--threads", "2" });
    const Finished serial = batch(observed, one);
    const Finished parallel = batch(observed, two);
    ASSERT_EQ(serial.status, 0) << serial.err;
    EXPECT_EQ(serial.out, parallel.out);
}

TEST_F(Batch, ShardsTakeEveryGroupOnceAndMergeIntoTheWholeTable)
{
    const std::string observed = compilation(
        { { "A", 0.4 }, { "B", 0.5 }, { "C", 0.6 }, { "D", 0.7 }, { "E", 0.9 }, { "F", 1.1 } });
    const Finished whole = batch(observed, transient);
    ASSERT_EQ(whole.status, 0) << whole.err;
    std::multiset<std::string> seen;
    std::vector<std::string> shards;
    for (int i = 1; i <= 3; ++i) {
        auto words = transient;
        shards.push_back(file("shard" + std::to_string(i) + ".csv"));
        words.insert(
            words.end(), { "--shard", std::to_string(i) + "/3", "--output", shards.back() });
        const Finished part = batch(observed, words);
        ASSERT_EQ(part.status, 0) << part.err;
        for (const auto& row : tableOf(agestest::readFile(shards.back())).rows) {
            seen.insert(row.at("group"));
            EXPECT_EQ(ages::shardOfGroup(row.at("group"), 3), static_cast<unsigned>(i));
        }
    }
    EXPECT_EQ(seen, (std::multiset<std::string> { "A", "B", "C", "D", "E", "F" }));

    const Finished merged = runCoolingAges({ "batch", "--merge", shards[2], shards[0], shards[1],
        "--observed", observed, "--by", "site" });
    ASSERT_EQ(merged.status, 0) << merged.err;
    EXPECT_EQ(merged.out, whole.out);
    EXPECT_EQ(merged.err, "batch: 6 groups merged from 3 tables\n");

    const Finished twice = runCoolingAges({ "batch", "--merge", shards[0], shards[1], shards[2],
        shards[0], "--observed", observed, "--by", "site" });
    EXPECT_EQ(twice.status, 1);
    EXPECT_NE(twice.err.find("is in both " + shards[0] + " and " + shards[0]), std::string::npos)
        << twice.err;

    // Shard 3 left out: its groups are named, in the file's order.
    std::string missing;
    for (const std::string& group : std::vector<std::string> { "A", "B", "C", "D", "E", "F" })
        if (ages::shardOfGroup(group, 3) == 3)
            missing += (missing.empty() ? "'" : ", '") + group + "'";
    ASSERT_FALSE(missing.empty());
    const Finished partial = runCoolingAges(
        { "batch", "--merge", shards[0], shards[1], "--observed", observed, "--by", "site" });
    EXPECT_EQ(partial.status, 1);
    EXPECT_NE(partial.err.find("groups are in no table: " + missing), std::string::npos)
        << partial.err;
}

TEST(BatchShard, AGroupsShardIsOnePlusItsFnv1aHashModuloTheShards)
{
    // The published test values of 64-bit FNV-1a.
    EXPECT_EQ(stablehash::fnv1a64(""), 0xcbf29ce484222325ull);
    EXPECT_EQ(stablehash::fnv1a64("a"), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(stablehash::fnv1a64("foobar"), 0x85944171f73967e8ull);
    EXPECT_EQ(stablehash::hexadecimal(0xaf63dc4c8601ec8cull), "af63dc4c8601ec8c");
    EXPECT_EQ(ages::shardOfGroup("a", 4), 1u); // ...8c = 4 x 35 exactly
    EXPECT_EQ(ages::shardOfGroup("foobar", 5), 1 + 0x85944171f73967e8ull % 5);
    EXPECT_EQ(ages::shardOfGroup("anything", 1), 1u);
    const ages::Shard shard = ages::parseShard("2/8");
    EXPECT_EQ(shard.index, 2u);
    EXPECT_EQ(shard.count, 8u);
    for (const char* bad : { "0/3", "4/3", "3", "a/b", "1/0", "1/3x", "" })
        EXPECT_THROW(ages::parseShard(bad), ages::InputError) << bad;
}

TEST_F(Batch, ResultsKeepEachGroupWithItsProvenanceAndARerunFitsOnlyWhatChanged)
{
    const std::string observed = compilation({ { "A", 0.4 }, { "B", 0.7 }, { "C", 1.0 } });
    auto words = transient;
    words.insert(words.end(), { "--results", file("results") });
    const Finished first = batch(observed, words);
    ASSERT_EQ(first.status, 0) << first.err;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(m_dir / "results"))
        files.push_back(entry.path());
    ASSERT_EQ(files.size(), 3u);
    const std::string kept = agestest::readFile(ages::groupResultPath(m_dir / "results", "B"));
    EXPECT_TRUE(kept.starts_with("cooling_ages batch: the fit of one group\nversion: Cooling Ages "
                                 "from Erosion Models - v1.0\ninputs: fnv1a64 "))
        << kept;
    EXPECT_NE(kept.find("\nobserved: " + observed + ", lines "), std::string::npos) << kept;
    // Every option, the defaults too.
    for (const std::string& option :
        std::vector<std::string> { "--by=site", "--model=transient", "-o=12", "--rates=" + sweep,
            "-T=", "-B=0.025", "--keep-unreset=", "--apatite-kinetics=rdaam" })
        EXPECT_NE(kept.find(" " + option), std::string::npos) << option << "\n" << kept;
    const std::vector<std::string> firstLines = [&] {
        std::vector<std::string> lines;
        std::istringstream in(first.out);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }();
    EXPECT_TRUE(kept.ends_with("\n\n" + firstLines[0] + "\n" + firstLines[2] + "\n")) << kept;

    // The same inputs: every group was done.
    const Finished again = batch(observed, words);
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, first.out);
    EXPECT_EQ(again.err,
        "batch: 3 groups, 3 fitted, 0 refused; 3 of them done before, kept in " + file("results")
            + "\n");

    // One age of B changed, and C's file cut short (a disk that filled): those two are fitted
    // again, A is kept.
    std::string text = agestest::readFile(observed);
    const auto b = text.find("\nB,");
    const auto comma
        = text.find(',', text.find(',', text.find(',', text.find(',', b + 1) + 1) + 1));
    text.insert(comma, "1"); // the age of B's first row, a digit longer: B's fit changes
    std::ofstream(observed) << text;
    const auto cFile = ages::groupResultPath(m_dir / "results", "C");
    const std::string cText = agestest::readFile(cFile);
    std::ofstream(cFile) << cText.substr(0, cText.size() / 2);
    const Finished changed = batch(observed, words);
    ASSERT_EQ(changed.status, 0) << changed.err;
    EXPECT_NE(changed.err.find("; 1 of them done before"), std::string::npos) << changed.err;
    const Table before = tableOf(first.out), after = tableOf(changed.out);
    EXPECT_EQ(after.group("A"), before.group("A"));
    EXPECT_EQ(after.group("C"), before.group("C"));
    EXPECT_NE(after.group("B").at("chi2"), before.group("B").at("chi2"));

    // Another option: every group again.
    auto other = words;
    other[1] = "13";
    const Finished reoptioned = batch(observed, other);
    ASSERT_EQ(reoptioned.status, 0) << reoptioned.err;
    EXPECT_EQ(reoptioned.err.find("done before"), std::string::npos) << reoptioned.err;
}

TEST_F(Batch, TheHistoryModelFitsEachGroupsHistory)
{
    // Ages of the rock exposed under one constant rate, predicted by the history model itself.
    const std::string placeholders = write("placeholders.csv",
        "sample,system,age_ma,sigma_ma\ns-1,AHe,1,1\ns-2,AFT,1,1\ns-3,ZHe,1,1\n");
    std::string text = "site,sample,system,age_ma,sigma_ma\n";
    for (const auto& [site, rate] : { std::pair { "slow", 0.3 }, std::pair { "fast", 0.9 } }) {
        const Finished made
            = runCoolingAges({ "history", "--erosion", "20:" + std::to_string(rate), "--observed",
                placeholders, "--residuals", file("made.csv"), "--output", file("table.csv") });
        ASSERT_EQ(made.status, 0) << made.err;
        std::ifstream in(file("made.csv"));
        std::string line;
        std::getline(in, line);
        while (std::getline(in, line)) {
            const auto values = agestest::csvFields(line);
            text += std::string(site) + "," + values[0] + "," + values[1] + "," + values[6] + ","
                + std::to_string(0.05 * std::stod(values[6])) + "\n";
        }
    }
    const Finished done = batch(write("compilation.csv", text),
        { "--model", "history", "--erosion", "20:0.5", "--fit-phases", "1", "--rates", "0.1:2" });
    ASSERT_EQ(done.status, 0) << done.err;
    const Table table = tableOf(done.out);
    EXPECT_EQ(std::vector<std::string>(table.header.begin(), table.header.begin() + 8),
        (std::vector<std::string> { "group", "ages", "status", "best_history", "start_1_ma",
            "rate_1_mm_yr", "rate_1_low_mm_yr", "rate_1_high_mm_yr" }));
    for (const auto& [site, rate] : { std::pair { "slow", 0.3 }, std::pair { "fast", 0.9 } }) {
        const auto& row = table.group(site);
        EXPECT_EQ(row.at("start_1_ma"), "20");
        // The sweep's 100 rates are 3 % apart; the fit's resolution moves ages by 0.1 %.
        EXPECT_NEAR(std::stod(row.at("rate_1_mm_yr")), rate, 0.03 * rate) << site;
        EXPECT_LE(std::stod(row.at("rate_1_low_mm_yr")), std::stod(row.at("rate_1_mm_yr")));
        EXPECT_EQ(row.at("rate_at_bound"), "no");
    }
}

// With --fit-base the best base and its range join the columns after the history's; the groups
// were made at the default base, 1250 C, which their ranges hold.
TEST_F(Batch, AFittedBaseJoinsTheColumnsWithItsRange)
{
    const std::string placeholders = write("placeholders.csv",
        "sample,system,age_ma,sigma_ma\ns-1,AHe,1,1\ns-2,AFT,1,1\ns-3,ZHe,1,1\n");
    std::string text = "site,sample,system,age_ma,sigma_ma\n";
    for (const auto& [site, rate] : { std::pair { "slow", 0.3 }, std::pair { "fast", 0.6 } }) {
        const Finished made
            = runCoolingAges({ "history", "--erosion", "20:" + std::to_string(rate), "--observed",
                placeholders, "--residuals", file("made.csv"), "--output", file("table.csv") });
        ASSERT_EQ(made.status, 0) << made.err;
        std::ifstream in(file("made.csv"));
        std::string line;
        std::getline(in, line);
        while (std::getline(in, line)) {
            const auto values = agestest::csvFields(line);
            text += std::string(site) + "," + values[0] + "," + values[1] + "," + values[6] + ","
                + std::to_string(0.02 * std::stod(values[6])) + "\n";
        }
    }
    const Finished done = batch(write("compilation.csv", text),
        { "--model", "history", "--erosion", "20:0.5", "--fit-phases", "1", "--rates", "0.1:2",
            "--fit-base", "900:1500" });
    ASSERT_EQ(done.status, 0) << done.err;
    const Table table = tableOf(done.out);
    const auto chi2 = std::find(table.header.begin(), table.header.end(), "chi2");
    ASSERT_NE(chi2, table.header.end());
    EXPECT_EQ(std::vector<std::string>(chi2 - 3, chi2),
        (std::vector<std::string> {
            "base_temperature_c", "base_temperature_low_c", "base_temperature_high_c" }));
    for (const char* site : { "slow", "fast" }) {
        const auto& row = table.group(site);
        const double best = std::stod(row.at("base_temperature_c"));
        EXPECT_LE(std::stod(row.at("base_temperature_low_c")), std::min(best, 1250.0)) << site;
        EXPECT_GE(std::stod(row.at("base_temperature_high_c")), std::max(best, 1250.0)) << site;
    }
}

TEST_F(Batch, TheSamplersRowsHoldEachParametersDiagnosticsAndFlagFewEffectiveDraws)
{
    // 2 chains of 12 walkers x 20 steps keep 2 x 12 x 10 = 240 draws: fewer than 400, however
    // independent.
    const Finished done = batch(std::string(EXAMPLES_DIR) + "/history_ages.csv",
        { "--by", "sample", "--model", "history", "--erosion", "30:0.1", "--fit-phases", "2",
            "--sampler", "mcmc", "--steps", "20", "--chains", "2" });
    ASSERT_EQ(done.status, 0) << done.err;
    const Table table = tableOf(done.out);
    ASSERT_EQ(table.rows.size(), 1u);
    const auto& row = table.rows.front();
    for (const std::string parameter : { "rate_1", "start_2", "rate_2" }) {
        EXPECT_GT(std::stod(row.at(parameter + "_rhat")), 0) << parameter;
        EXPECT_LE(std::stod(row.at(parameter + "_ess")), 240 * std::log10(240.0)) << parameter;
    }
    EXPECT_LE(std::stod(row.at("start_2_p16_ma")), std::stod(row.at("start_2_median_ma")));
    EXPECT_EQ(row.at("few_effective"), "yes");
    EXPECT_NE(row.at("warnings").find("fewer than 400"), std::string::npos);
}

TEST_F(Batch, HelpListsTheBatchsOptionsAndTheProgramsHelpNamesTheBatch)
{
    const Finished help = runCoolingAges({ "batch", "--help" });
    EXPECT_EQ(help.status, 0);
    for (const char* option : { "--observed", "--by", "--model", "--shard", "--results", "--merge",
             "--output", "--threads" })
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    EXPECT_NE(
        runCoolingAges({ "--help" }).out.find("cooling_ages batch --observed FILE --by COLUMN"),
        std::string::npos);
}

} // namespace

// The terrain model in a batch. Under a flat DEM at sea level every column of the 3D model is the
// history model's 1D column, so its groups are fitted as that model fits them, to the flat-DEM
// tolerance; and each group's row is the fit of `cooling_ages terrain` to its rows alone.
class TerrainBatch : public Batch {
protected:
    // A 3 x 3 ESRI ASCII grid of 1 km cells, every node at height (local metres, no .prj).
    std::string flatDem(double height = 0) const
    {
        std::string grid = "ncols 3\nnrows 3\nxllcorner 0\nyllcorner 0\ncellsize 1000\n"
                           "NODATA_value -9999\n";
        for (int row = 0; row < 3; ++row)
            grid += std::to_string(height) + " " + std::to_string(height) + " "
                + std::to_string(height) + "\n";
        return write("flat.asc", grid);
    }

    // The ages the history model predicts under 40:rate for an AHe, an AFT and a ZHe grain, rows
    // "site,sample,system,age_ma,sigma_ma,x_m,y_m" (sigma 5 %) at the DEM's centre node.
    std::string historySiteRows(const std::string& site, double rate) const
    {
        const std::string placeholders = write("placeholders.csv",
            "sample,system,age_ma,sigma_ma\ns-1,AHe,1,1\ns-2,AFT,1,1\ns-3,ZHe,1,1\n");
        const Finished made = runCoolingAges({ "history", "--erosion", "40:" + std::to_string(rate),
            "--observed", placeholders, "--residuals", file("made.csv"), "--output",
            file("table.csv") });
        EXPECT_EQ(made.status, 0) << made.err;
        std::ifstream in(file("made.csv"));
        std::string line, rows;
        std::getline(in, line);
        while (std::getline(in, line)) {
            const auto values = agestest::csvFields(line);
            rows += site + "," + values[0] + "," + values[1] + "," + values[6] + ","
                + std::to_string(0.05 * std::stod(values[6])) + ",1500,1500\n";
        }
        return rows;
    }

    const std::vector<std::pair<std::string, double>> m_sites { { "slow", 0.3 }, { "fast", 0.9 } };
    // One phase from 40 Ma; 21 levels and 1 Myr steps keep the 3D runs small.
    const std::vector<std::string> m_fit { "--erosion", "40:0.5", "--fit-phases", "1", "--rates",
        "0.1:1.2" };
    const std::vector<std::string> m_grid { "--levels", "21", "--time-step", "1" };

    std::string sites() const
    {
        std::string text = "site,sample,system,age_ma,sigma_ma,x_m,y_m\n";
        for (const auto& [site, rate] : m_sites)
            text += historySiteRows(site, rate);
        return write("compilation.csv", text);
    }

    std::vector<std::string> terrainWords(const std::string& dem) const
    {
        std::vector<std::string> words { "--model", "terrain", "--dem", dem };
        words.insert(words.end(), m_fit.begin(), m_fit.end());
        words.insert(words.end(), m_grid.begin(), m_grid.end());
        return words;
    }
};

TEST_F(TerrainBatch, EachGroupIsItsOwnTerrainFitAndUnderAFlatDemTheHistoryModels)
{
    const std::string observed = sites();
    const std::string dem = flatDem();
    const Finished terrain = batch(observed, terrainWords(dem));
    ASSERT_EQ(terrain.status, 0) << terrain.err;
    std::vector<std::string> historyWords { "--model", "history" };
    historyWords.insert(historyWords.end(), m_fit.begin(), m_fit.end());
    const Finished history = batch(observed, historyWords);
    ASSERT_EQ(history.status, 0) << history.err;
    const Table terrainTable = tableOf(terrain.out), historyTable = tableOf(history.out);
    EXPECT_EQ(terrainTable.header, historyTable.header);

    for (const auto& [site, rate] : m_sites) {
        SCOPED_TRACE(site);
        const auto& row = terrainTable.group(site);
        ASSERT_EQ(row.at("status"), "fitted") << row.at("refusal");
        // The group's rows alone, fitted by cooling_ages terrain.
        std::string rows = "site,sample,system,age_ma,sigma_ma,x_m,y_m\n";
        std::istringstream all(agestest::readFile(observed));
        for (std::string line; std::getline(all, line);)
            if (line.starts_with(site + ","))
                rows += line + "\n";
        std::vector<std::string> own { "terrain", "--dem", dem, "--observed",
            write(site + ".csv", rows) };
        own.insert(own.end(), m_fit.begin(), m_fit.end());
        own.insert(own.end(), m_grid.begin(), m_grid.end());
        const Finished alone = runCoolingAges(own);
        ASSERT_EQ(alone.status, 0) << alone.err;
        EXPECT_NE(alone.err.find("best history: " + row.at("best_history") + ", chi2 "
                      + textformat::fixed(std::stod(row.at("chi2")), 2) + ","),
            std::string::npos)
            << alone.err;
        // The history model's column: 0.3 % between the two at these grids (measured 0.2 %).
        const double terrainRate = std::stod(row.at("rate_1_mm_yr"));
        EXPECT_NEAR(terrainRate, std::stod(historyTable.group(site).at("rate_1_mm_yr")),
            5e-3 * rate);
        EXPECT_NEAR(terrainRate, rate, 0.03 * rate); // the rate the ages were made at
    }
}

// The DEM's content is among a group's inputs: the same DEM keeps every group, a DEM changed
// under the same name refits them.
TEST_F(TerrainBatch, AChangedDemRefitsEveryGroup)
{
    const std::string observed = sites();
    auto words = terrainWords(flatDem());
    words.insert(words.end(), { "--results", file("results") });
    ASSERT_EQ(batch(observed, words).status, 0);
    const Finished again = batch(observed, words);
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.err.find("2 of them done before"), std::string::npos) << again.err;
    flatDem(100); // the land 100 m higher, the samples on its surface
    const Finished changed = batch(observed, words);
    ASSERT_EQ(changed.status, 0) << changed.err;
    EXPECT_EQ(changed.err.find("done before"), std::string::npos) << changed.err;
}
