#pragma once
// The tables plot_ages draws, read from the suite's CSV files into plain records.
//
// Columns are found by their header names; a file without a column that its plot needs, a file
// that cannot be read and a field that is not a number each end the start-up with one line
// naming the file (ViewerStartError). Optional fields that are empty (an elevation in a
// transient run, a closure temperature of an age that was never reset) are simply absent.

#include <QString>

#include <optional>
#include <vector>

// One predicted age of the ages table (cooling_ages --output).
struct PredictedAge {
    std::optional<double> rate {}; // mm/yr; absent for a path file
    std::optional<double> x {}; // m, the profile point of a periodic run, or a terrain sample's
    std::optional<double> y {}; // m, a terrain sample's
    std::optional<double> elevation {}; // m, at a profile point of a periodic run or of a sample
    QString sample {}; // the terrain model's sample; empty in the other models' tables
    QString system {}; // AHe, AFT, ZHe, ...
    QString method {}; // dodson, diffusion or annealing
    double age = 0.0; // Ma
    std::optional<double> closureTemperature {}; // C
    bool reset = true; // false: the age is a minimum (the path never reached closure)
    // The grain of a history's profile along elevation (history --elevation-output), where its
    // method reads the value; absent in the other tables.
    std::optional<double> radius {}; // um
    std::optional<double> uranium {}; // ppm
    std::optional<double> thorium {}; // ppm
    std::optional<double> samarium {}; // ppm
    std::optional<double> dpar {}; // um
};

// Where a sample stands on a map: the x_m and y_m of any table that has them (the terrain
// model's ages, measured ages placed by x_m and y_m), its sample name where there is one.
struct SamplePlace {
    QString sample;
    double x = 0.0; // m, in the map's coordinate system
    double y = 0.0;
};

// One measured age (the observed file).
struct ObservedAge {
    QString sample;
    QString system;
    double age = 0.0; // Ma
    double sigma = 0.0; // Ma, one standard deviation
    std::optional<double> elevation; // m above sea level
};

// One rate of a misfit sweep (cooling_ages --fit-output).
struct MisfitPoint {
    // A point without a level: a file without the chi2_level column.
    MisfitPoint(double rateMmYr, double misfit, std::optional<double> rangeLevel = std::nullopt)
        : rate(rateMmYr)
        , chi2(misfit)
        , level(rangeLevel)
    {
    }

    double rate = 0.0; // mm/yr
    double chi2 = 0.0;
    std::optional<double> level; // chi2_level: the level the program read the range at
};

// One point of a cooling path (cooling_ages --path-output, or a path file with a header).
struct PathPoint {
    double time = 0.0; // Ma before present
    double temperature = 0.0; // C
};

// One sample at the best fit (cooling_ages --residuals).
struct Residual {
    QString sample;
    QString system;
    QString method; // empty when the file has no method column
    std::optional<double> elevation; // m
    double residualSigma = 0.0; // (observed - predicted) / sigma
    bool reset = true; // false: the prediction is a minimum age
    std::optional<double> predictedAge; // Ma, at the best rate
    // The grain the sample was predicted with; absent where its method does not read the value
    // (or the file predates these columns).
    std::optional<double> radius; // um
    std::optional<double> uranium; // ppm
    std::optional<double> thorium; // ppm
    std::optional<double> samarium; // ppm
    std::optional<double> dpar; // um
};

// Columns needed: system, method, age_ma, and rate_mm_yr but in a history's profile along
// elevation (which has elevation_m and no rate); x_m, elevation_m, closure_temperature_c, reset
// and the grain's radius_um, u_ppm, th_ppm, sm_ppm and dpar_um are read when present.
std::vector<PredictedAge> readPredictedAges(const QString& path);
// Columns needed: sample, system, age_ma, sigma_ma; elevation_m is read when present. A sigma
// that is not positive is refused with its line.
std::vector<ObservedAge> readObservedAges(const QString& path);
// The places of the samples of a table with x_m and y_m, each once.
std::vector<SamplePlace> readSamplePlaces(const QString& path);
// Columns needed: rate_mm_yr, chi2; chi2_level is read when present. Sorted by rate.
std::vector<MisfitPoint> readMisfitCurve(const QString& path);
// Columns needed: time_ma, temperature_c.
std::vector<PathPoint> readCoolingPath(const QString& path);
// Columns needed: sample, system, residual_sigma; method, elevation_m, reset (yes/no),
// predicted_age_ma and the grain's radius_um, u_ppm, th_ppm, sm_ppm and dpar_um are read when
// present, and the file's other columns are ignored.
std::vector<Residual> readResiduals(const QString& path);
