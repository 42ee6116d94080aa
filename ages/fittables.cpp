#include "fittables.h"

#include "agetable.h"

namespace ages {

namespace {

// A sample name as one CSV field: quoted (quotes doubled) when it holds a comma or a quote.
std::string textField(const std::string& text)
{
    if (text.find_first_of(",\"") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

} // namespace

void writeMisfitTable(std::ostream& out, const RateFit& fit)
{
    // The level is the same on every row: a reader of the file finds the printed range with it.
    out << "rate_mm_yr,chi2,chi2_level\n";
    const std::string level = csvNumber(fit.rangeLevel);
    for (std::size_t i = 0; i < fit.rates.size(); ++i) {
        out << csvNumber(fit.rates[i]) << ',' << csvNumber(fit.chi2[i]) << ',' << level << '\n';
    }
}

void writeResidualTable(std::ostream& out, const std::vector<Residual>& residuals)
{
    out << "sample,system,method,elevation_m,age_ma,sigma_ma,predicted_age_ma,residual_sigma,"
           "reset,kinetics\n";
    for (const auto& residual : residuals) {
        const ObservedAge& sample = *residual.sample;
        out << textField(sample.sample) << ',' << thermochron::systemName(sample.system) << ','
            << thermochron::methodName(residual.method) << ','
            << (sample.elevationM ? csvNumber(*sample.elevationM) : std::string()) << ','
            << csvNumber(sample.ageMa) << ',' << csvNumber(sample.sigmaMa) << ','
            << csvNumber(residual.predictedAgeMa) << ',' << csvNumber(residual.inSigmas()) << ','
            << (residual.reset ? "yes" : "no") << ','
            << thermochron::kineticsName(residual.kinetics) << '\n';
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
