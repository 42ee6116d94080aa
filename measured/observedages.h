#pragma once
// The measured ages a fit compares the model with: one sample and thermochronometer per row of a
// CSV file whose columns are found by their header names, in any order.
//
//   required  sample, system, age_ma, sigma_ma
//   optional  elevation_m, radius_um, u_ppm, th_ppm, sm_ppm, dpar_um, depth_m,
//             x_m, y_m (a position in a DEM's coordinate system), lon, lat (WGS 84, degrees)
//   system T  a temperature measured today at a depth (a borehole): depth_m, temperature_c,
//             sigma_c (and elevation_m where the site has one), age_ma and sigma_ma empty
//   system Q  the surface heat flow measured today: heat_flow_mw_m2, sigma_mw_m2
//
// depth_m (>= 0) places a sample below today's surface at its site (a borehole or a tunnel):
// only the history model's column takes such samples and the rows of T and Q (ObservedData);
// parseObservedAges, for the other models, refuses them.
//
// A position is a pair: x_m with y_m, lon with lat, both or neither in every row.
// Column names and system names are read in any case (Age_Ma, aft). A column the reader does not
// know is refused when it is a known column without its unit suffix or within two edits of one
// ("unknown column 'dpar': did you mean dpar_um?"), for such a typo would fit every sample with
// the default grain; any other is ignored and named in one note. A sigma below a millionth of
// its age is refused. Lines end in LF, CR LF or CR; no line may exceed textlines::longestLine.
// Lines starting with '#' and blank lines are comments. An optional value left empty means "not
// measured": the sample then takes the program's age options. Every value that is given must be a
// whole, finite decimal number, an age no older than the Earth (an age in ka typed as Ma would be).
// A file that breaks any rule is refused as a whole, with its line number and the reason (a header
// without a required column lists the columns it has; a header separated by semicolons or tabs says
// so), so that no fit is ever made on part of a data set.

#include "thermochron/system.h"

#include <filesystem>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ages {

struct ObservedAge {
    int line = 0; // line of the file, counted from 1, for messages
    std::string sample;
    thermochron::System system = thermochron::System::AHe;
    double ageMa = 0; // as published: Ft-corrected for (U-Th)/He
    double sigmaMa = 0; // one standard error, Ma, > 0
    std::optional<double> elevationM; // above sea level
    std::optional<double> radiusUm; // the grain's own equivalent-sphere radius
    std::optional<double> uPpm;
    std::optional<double> thPpm;
    std::optional<double> smPpm; // total samarium
    std::optional<double> dparUm;
    std::optional<double> xM; // east, in the coordinate system of a DEM (the terrain model)
    std::optional<double> yM; // north
    std::optional<double> longitudeDeg; // WGS 84, -180 to 180
    std::optional<double> latitudeDeg; // -90 to 90
    std::optional<double> depthM; // below today's surface at the site, >= 0
};

// A temperature measured today in a borehole (system T).
struct ObservedTemperature {
    int line = 0;
    std::string sample;
    double depthM = 0; // below today's surface at the site, >= 0
    std::optional<double> elevationM; // of the site
    double temperatureC = 0;
    double sigmaC = 1; // > 0
};

// The surface heat flow measured today (system Q).
struct ObservedHeatFlow {
    int line = 0;
    std::string sample;
    double heatFlowMWm2 = 0;
    double sigmaMWm2 = 1; // > 0
};

// Everything a file of measured data holds: at least one age, and any temperatures and heat flows.
struct ObservedData {
    std::vector<ObservedAge> ages;
    std::vector<ObservedTemperature> temperatures;
    std::vector<ObservedHeatFlow> heatFlows;
};

// A refused file: what() reads "FILE line N: reason" (or "FILE: reason" for the file as a whole).
class ObservedAgesError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The fields of one line of such a file, each without the blanks and the pair of double quotes
// around it; a comma between double quotes belongs to its field.
std::vector<std::string_view> splitObservedFields(std::string_view line);

// Reads every row of text, ages, temperatures and heat flows; fileName only labels the messages.
// Throws ObservedAgesError.
ObservedData parseObservedData(
    std::istream& text, std::string_view fileName, std::vector<std::string>* notes = nullptr);
ObservedData readObservedData(
    const std::filesystem::path& file, std::vector<std::string>* notes = nullptr);

// The ages alone: refuses rows of T and Q and samples with depth_m, which only the history
// model places. Reads every row of text; fileName only labels the messages. Throws
// ObservedAgesError. notes, if given, receives the note line naming the columns the reader does not
// know and ignores.
std::vector<ObservedAge> parseObservedAges(
    std::istream& text, std::string_view fileName, std::vector<std::string>* notes = nullptr);

// The same for a file on disk (refused as unreadable when it cannot be opened).
std::vector<ObservedAge> readObservedAges(
    const std::filesystem::path& file, std::vector<std::string>* notes = nullptr);

// The warning line for samples whose sigma exceeds their age (naming their lines), which a
// careful user checks for a unit or a column mix-up; nullopt when there is none.
std::optional<std::string> sigmaAboveAgeWarning(
    const std::vector<ObservedAge>& samples, std::string_view fileName);

// A periodic model places a sample at its elevation minus the mean surface elevation; that point
// must lie on the model's surface, within +-reliefAmplitudeM. Returns the refusal of the first
// sample that has no elevation or lies outside, naming its line and the model's range; nullopt
// when all fit.
std::optional<std::string> elevationOutsideRelief(const std::vector<ObservedAge>& samples,
    std::string_view fileName, double meanElevationM, double reliefAmplitudeM);

} // namespace ages
