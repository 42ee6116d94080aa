#pragma once
// The table of predicted ages as CSV: one header row, one row per age, "." as decimal point,
// empty fields where a column does not apply.
//
// Columns: rate_mm_yr, x_m, elevation_m, site, system, method, age_ma, raw_age_ma,
// closure_temperature_c, closure_depth_m, reset, mean_track_length_um, path_start_ma, kinetics,
// track_length_sd_um, mean_track_length_unprojected_um, track_length_sd_unprojected_um. The
// columns after mean_track_length_um came later, at the end, so that a script reading the earlier
// columns by position reads the same ones. The track lengths are those of AFT by annealing: the
// mean and standard deviation of the c-axis projected distribution (mean_track_length_um,
// track_length_sd_um) and of the unprojected one.

#include "agerow.h"

#include <filesystem>
#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ages {

// A number whose digits beyond the sixth count, written with ten significant digits: a map
// coordinate, such as a UTM northing of 4052914.5 m, which six would move by tens of metres, and
// ten give to the millimetre.
struct FullNumber {
    double value;
};

// The value of one field of a table: a number (NaN where the column does not apply), a number
// written in full, or a text.
using TableValue = std::variant<double, std::string, FullNumber>;

// One column of a table of rows of type Row: its name and its value in a row. The CSV writers
// format these values, and the Python module hands the same values on as arrays, so that both
// have the same columns.
template <class Row> struct TableColumn {
    std::string_view name;
    TableValue (*value)(const Row& row);
};

// The columns of the table of predicted ages, in order.
std::span<const TableColumn<AgeRow>> ageTableColumns();
// The first of them, which say where a row belongs: rate_mm_yr, x_m, elevation_m, site.
std::span<const TableColumn<AgeRow>> ageTableKeys();

// The terrain model's table: the same columns (x_m and elevation_m the sample's position,
// written in full, rate_mm_yr today's rate), then y_m (in full) and sample.
std::span<const TableColumn<AgeRow>> terrainAgeTableColumns();

// A number as a field of the suite's tables: 6 significant digits, locale-free; empty for NaN.
std::string csvNumber(double value);

// Replaces file with the text of write() (wholefile::replaceWholeFile): a temporary beside it,
// renamed over file once complete, so that file is either the whole new content or untouched; a
// link and a file that is not a regular one are treated as writeAgeTableFile says. Throws
// InputError (with the system's reason) when it cannot be written.
void writeFileAtomically(
    const std::filesystem::path& file, const std::function<void(std::ostream&)>& write);

// A value as a field of the suite's tables: a number as csvNumber writes it, a full number with
// ten significant digits (empty for NaN), a text as it is.
std::string csvField(const TableValue& value);

// A text as one CSV field: quoted (quotes doubled) when it holds a comma or a quote.
std::string csvText(const std::string& text);

// The header row, without its line end.
std::string ageTableHeader(std::span<const TableColumn<AgeRow>> columns = ageTableColumns());

// One row, without its line end. A number that is not a number is an empty field. reset is "yes",
// or "no" where the path does not erase what the grain held before it began: a kinetic age is
// then the age accumulated since the path's start, a lower bound for a rock older than the path,
// and a Dodson age of a path that never reaches closure is the path's start. kinetics is the
// catalogue's name of the kinetics that made the age.
std::string ageTableRow(
    const AgeRow& row, std::span<const TableColumn<AgeRow>> columns = ageTableColumns());

void writeAgeTable(std::ostream& out, const std::vector<AgeRow>& rows,
    std::span<const TableColumn<AgeRow>> columns = ageTableColumns());

// The table of predicted length distributions (--lengths-output): the keys of each row of rows
// that holds bins (AFT by annealing, AgeSettings::keepLengthBins), then length_um (the middle of
// each 0.1 um bin from 0 to 20 um), pdf_projected and pdf_unprojected (the share of the c-axis
// projected and of the unprojected tracks in the bin); one block of 200 lines per such row, in
// the order of the rows.
void writeLengthTable(std::ostream& out, const std::vector<AgeRow>& rows);

// The number of rows that hold bins: the blocks writeLengthTable writes.
std::size_t lengthBlockCount(const std::vector<AgeRow>& rows);

// Writes the table to a temporary file beside file and renames it over file once it is complete,
// so that file is either the whole new table or untouched. A link is followed to the file it
// names; a file that exists but is not a regular one (a pipe, /dev/stdout) is written directly.
// Throws InputError (with the system's reason) when it cannot be written.
void writeAgeTableFile(const std::filesystem::path& file, const std::vector<AgeRow>& rows);

} // namespace ages
