#include "fittables.h"

#include "agesettings.h"
#include "agetable.h"

#include <cmath>

namespace ages {

namespace {

// A sample name as one CSV field: quoted (quotes doubled) when it holds a comma or a quote.
std::string textField(const std::string& text)
{
    return csvText(text);
}

// A grain value where the sample's method read it (grainValuesRead: the He models the radius, U,
// Th and Sm, argon the radius, apatite annealing Dpar); Dodson's closure reads none, so its
// fields are left empty rather than showing values that did not enter the age.
double grainValue(const Residual& r, bool GrainValuesRead::*read, double value)
{
    return grainValuesRead(r.sample->system, r.method).*read ? value : NAN;
}

constexpr TableColumn<Residual> residualColumns[] = {
    { "sample", [](const Residual& r) -> TableValue { return r.sample->sample; } },
    { "system",
        [](const Residual& r) -> TableValue {
            return std::string(thermochron::systemName(r.sample->system));
        } },
    { "method",
        [](const Residual& r) -> TableValue {
            return std::string(thermochron::methodName(r.method));
        } },
    { "elevation_m",
        [](const Residual& r) -> TableValue { return r.sample->elevationM.value_or(NAN); } },
    { "age_ma", [](const Residual& r) -> TableValue { return r.sample->ageMa; } },
    { "sigma_ma", [](const Residual& r) -> TableValue { return r.sample->sigmaMa; } },
    { "predicted_age_ma", [](const Residual& r) -> TableValue { return r.predictedAgeMa; } },
    { "residual_sigma", [](const Residual& r) -> TableValue { return r.inSigmas(); } },
    { "reset",
        [](const Residual& r) -> TableValue { return std::string(r.reset ? "yes" : "no"); } },
    { "kinetics",
        [](const Residual& r) -> TableValue {
            return std::string(thermochron::kineticsName(r.kinetics));
        } },
    { "in_chi2",
        [](const Residual& r) -> TableValue { return std::string(r.inChi2 ? "yes" : "no"); } },
    { "radius_um",
        [](const Residual& r) -> TableValue {
            return grainValue(r, &GrainValuesRead::radius, r.grain.radiusUm);
        } },
    { "u_ppm",
        [](const Residual& r) -> TableValue {
            return grainValue(r, &GrainValuesRead::parentContents, r.grain.uPpm);
        } },
    { "th_ppm",
        [](const Residual& r) -> TableValue {
            return grainValue(r, &GrainValuesRead::parentContents, r.grain.thPpm);
        } },
    { "sm_ppm",
        [](const Residual& r) -> TableValue {
            return grainValue(r, &GrainValuesRead::parentContents, r.grain.smPpm);
        } },
    { "dpar_um",
        [](const Residual& r) -> TableValue {
            return grainValue(r, &GrainValuesRead::dpar, r.grain.dparUm);
        } },
};

constexpr TableColumn<LengthComparison> lengthColumns[] = {
    { "sample", [](const LengthComparison& c) -> TableValue { return c.sample; } },
    { "set",
        [](const LengthComparison& c) -> TableValue {
            return std::string(c.projected ? "projected" : "unprojected");
        } },
    { "count",
        [](const LengthComparison& c) -> TableValue { return static_cast<double>(c.count); } },
    { "measured_mean_um",
        [](const LengthComparison& c) -> TableValue { return c.measuredMeanUm; } },
    { "measured_sd_um", [](const LengthComparison& c) -> TableValue { return c.measuredSdUm; } },
    { "predicted_mean_um",
        [](const LengthComparison& c) -> TableValue { return c.predictedMeanUm; } },
    { "predicted_sd_um", [](const LengthComparison& c) -> TableValue { return c.predictedSdUm; } },
    { "ks_d",
        [](const LengthComparison& c) -> TableValue { return c.kolmogorovSmirnov.statistic; } },
    { "ks_p", [](const LengthComparison& c) -> TableValue { return c.kolmogorovSmirnov.pValue; } },
    { "kuiper_v", [](const LengthComparison& c) -> TableValue { return c.kuiper.statistic; } },
    { "kuiper_p", [](const LengthComparison& c) -> TableValue { return c.kuiper.pValue; } },
};

} // namespace

std::span<const TableColumn<Residual>> residualTableColumns()
{
    return residualColumns;
}

std::span<const TableColumn<LengthComparison>> lengthComparisonColumns()
{
    return lengthColumns;
}

void writeMisfitTable(std::ostream& out, const RateFit& fit)
{
    // The level is the same on every row: a reader of the file finds the printed range with it.
    out << "rate_mm_yr,chi2,chi2_level\n";
    const std::string level = csvNumber(fit.rangeLevel);
    for (std::size_t i = 0; i < fit.rates.size(); ++i) {
        out << csvNumber(fit.rates[i]) << ',' << csvNumber(fit.chi2[i]) << ',' << level << '\n';
    }
}

void writeMisfitMap(std::ostream& out, const std::vector<double>& rates,
    const std::string& baseColumn, const std::vector<double>& bases,
    const std::vector<double>& chi2, const double level)
{
    out << "rate_mm_yr," << baseColumn << ",chi2,chi2_level\n";
    const std::string levelText = csvNumber(level);
    for (std::size_t j = 0; j < bases.size(); ++j)
        for (std::size_t i = 0; i < rates.size(); ++i)
            out << csvNumber(rates[i]) << ',' << csvNumber(bases[j]) << ','
                << csvNumber(chi2[j * rates.size() + i]) << ',' << levelText << '\n';
}

void writeResidualTable(std::ostream& out, const std::vector<Residual>& residuals)
{
    std::string_view separator;
    for (const TableColumn<Residual>& column : residualTableColumns()) {
        out << separator << column.name;
        separator = ",";
    }
    out << '\n';
    for (const auto& residual : residuals) {
        separator = {};
        for (const TableColumn<Residual>& column : residualTableColumns()) {
            // Sample names are the user's own words: quoted where they hold a comma or a quote.
            const TableValue value = column.value(residual);
            out << separator
                << (std::holds_alternative<std::string>(value)
                           ? textField(std::get<std::string>(value))
                           : csvField(value));
            separator = ",";
        }
        out << '\n';
    }
}

void writePathTable(std::ostream& out, const SamplePath& path)
{
    out << "time_ma,temperature_c,depth_m\n";
    for (std::size_t i = 0; i < path.path.size(); ++i) {
        out << csvNumber(path.path[i].timeMa) << ',' << csvNumber(path.path[i].temperatureC) << ','
            << (i < path.depthM.size() ? csvNumber(path.depthM[i]) : std::string()) << '\n';
    }
}

void writeMisfitFile(const std::filesystem::path& file, const RateFit& fit)
{
    writeFileAtomically(file, [&](std::ostream& out) { writeMisfitTable(out, fit); });
}

void writeResidualFile(const std::filesystem::path& file, const std::vector<Residual>& residuals)
{
    writeFileAtomically(file, [&](std::ostream& out) { writeResidualTable(out, residuals); });
}

void writePathFile(const std::filesystem::path& file, const SamplePath& path)
{
    writeFileAtomically(file, [&](std::ostream& out) { writePathTable(out, path); });
}

} // namespace ages
