#include "fitdatasets.h"

#include "fitoptions.h"
#include "observedfit.h"

#include <pcg_random.hpp>

#include <cmath>
#include <fstream>
#include <numbers>
#include <stdexcept>

namespace fitdata {

namespace {

constexpr double profileRateMmYr = 0.3;
constexpr double grainsRateMmYr = 0.45;
constexpr double relativeSigma = 0.05;
constexpr std::uint64_t seed = 20260316;

// Uniform on [0, 1) from the generator's 32 bits, then Box-Muller for normals: the same numbers
// with every standard library.
class Draws {
public:
    double uniform(double low, double high) { return low + (high - low) * unit(); }
    double normal()
    {
        const double u1 = 1.0 - unit(); // (0, 1]
        const double u2 = unit();
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
    }

private:
    double unit() { return m_generator() / 4294967296.0; }
    pcg32 m_generator { seed };
};

// The model's ages of the samples at rate, with sigma 5 % and noise of that sigma.
void makeAges(std::vector<ages::ObservedAge>& samples, const ages::AgeRequest& request,
    double rateMmYr, Draws& draws)
{
    const ages::FitOptions options;
    const ages::ObservedFit fit(request, options, samples);
    const std::vector<double> predicted = fit.predictedAges(rateMmYr);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i].sigmaMa = relativeSigma * predicted[i];
        samples[i].ageMa = predicted[i] + samples[i].sigmaMa * draws.normal();
    }
}

ages::AgeRequest kinetic(ages::AgeRequest request)
{
    request.settings.methods = ages::MethodChoice::kinetic;
    request.settings.systems = { thermochron::System::AHe };
    return request;
}

} // namespace

ages::AgeRequest profile25Request()
{
    ages::AgeRequest request;
    request.model = ages::Model::periodic;
    request.periodic.reliefAmplitude = 850;
    request.periodic.wavelength = 20000;
    request.periodic.historyDuration = 60;
    request.sweep = ages::RateSweep { 0.05, 0.6, 0.01 };
    return kinetic(request);
}

ages::AgeRequest grains10000Request()
{
    ages::AgeRequest request;
    request.model = ages::Model::transient;
    request.sweep = ages::RateSweep { 0.2, 0.7, 0.01 };
    return kinetic(request);
}

std::vector<ages::ObservedAge> profile25()
{
    Draws draws;
    std::vector<ages::ObservedAge> samples;
    for (int i = 0; i < 25; ++i) {
        ages::ObservedAge sample;
        sample.line = i + 2;
        sample.sample = std::string("P").append(std::to_string(i + 1));
        sample.elevationM = std::round(800.0 - 1600.0 * i / 24);
        sample.radiusUm = std::round(draws.uniform(40, 100));
        sample.uPpm = std::round(draws.uniform(5, 40));
        sample.thPpm = std::round(draws.uniform(5, 80));
        samples.push_back(sample);
    }
    makeAges(samples, profile25Request(), profileRateMmYr, draws);
    return samples;
}

std::vector<ages::ObservedAge> grains10000()
{
    Draws draws;
    std::vector<ages::ObservedAge> samples;
    for (int i = 0; i < 10000; ++i) {
        ages::ObservedAge sample;
        sample.line = i + 2;
        sample.sample = std::string("G").append(std::to_string(i + 1));
        // Two decimals of um and ppm: no two of the 10 000 grains alike.
        sample.radiusUm = std::round(100 * draws.uniform(40, 100)) / 100;
        sample.uPpm = std::round(100 * draws.uniform(5, 60)) / 100;
        sample.thPpm = std::round(100 * draws.uniform(5, 100)) / 100;
        samples.push_back(sample);
    }
    makeAges(samples, grains10000Request(), grainsRateMmYr, draws);
    return samples;
}

void writeObservedFile(
    const std::filesystem::path& file, const std::vector<ages::ObservedAge>& samples)
{
    std::ofstream out(file);
    out.precision(6);
    out << "sample,system,elevation_m,radius_um,u_ppm,th_ppm,age_ma,sigma_ma\n";
    for (const auto& sample : samples) {
        out << sample.sample << ",AHe,";
        if (sample.elevationM)
            out << *sample.elevationM;
        out << ',' << *sample.radiusUm << ',' << *sample.uPpm << ',' << *sample.thPpm << ','
            << sample.ageMa << ',' << sample.sigmaMa << '\n';
    }
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

} // namespace fitdata
