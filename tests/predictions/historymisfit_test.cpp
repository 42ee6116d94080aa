// The history misfit with placed samples: on the steady geotherm of a long constant rate (no
// lapse rate) a sample h higher is h / rate older in every system; samples at the mean surface
// are the one rock; borehole temperatures and the surface heat flow enter chi2 against the
// steady closed form; the base given to the misfit is the base the column runs with.

#include "agekind.h"
#include "historymisfit.h"
#include "steadygeotherm.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using ages::HistoryAgeMisfit;
using ages::HistoryPlacement;
using ages::ObservedAge;
using thermochron::System;

std::vector<ObservedAge> samplesOf(const std::vector<System>& systems)
{
    std::vector<ObservedAge> samples;
    for (const System system : systems) {
        ObservedAge sample;
        sample.line = static_cast<int>(samples.size()) + 2;
        sample.sample = "S";
        sample.system = system;
        sample.ageMa = 5;
        sample.sigmaMa = 0.5;
        samples.push_back(sample);
    }
    return samples;
}

TEST(HistoryMisfit, ASampleHHigherIsHOverRateOlderInEverySystem)
{
    // A column that 0.5 mm/yr brings to its steady state long before the systems close: the
    // field stands still, and a rock h higher passes every isotherm h / rate later.
    thermal::ThermalParameters p;
    p.baseDepthM = 30000.0;
    p.baseTemperatureC = 750.0;
    const double rateMmYr = 0.5, heightM = 600.0;
    const std::vector<System> systems { System::AHe, System::AFT, System::ZHe, System::ZFT };
    std::vector<ObservedAge> samples = samplesOf(systems);
    const std::vector<ObservedAge> low = samples;
    samples.insert(samples.end(), low.begin(), low.end());
    const auto kinds = ages::sampleAgeKinds(samples, {}, "test");
    HistoryPlacement placement;
    placement.lapseRateCm = 0.0;
    for (std::size_t i = 0; i < samples.size(); ++i)
        placement.presentDepthsM.push_back(i < low.size() ? 0.0 : -heightM);
    const HistoryAgeMisfit misfit(p, samples, kinds, thermal::Resolution {}, placement);
    EXPECT_EQ(misfit.pathCount(), 2u);
    const auto ages = misfit.predictions({ { 55, rateMmYr } });
    ASSERT_TRUE(ages);
    const double delayMyr = heightM / (rateMmYr * 1000.0); // 1.2 Myr
    // The higher rock's path is the lower's, h / rate earlier, and then h / rate at the surface.
    // An age that counts time (helium kept, Dodson's closure) grows by that time exactly; the
    // fission-track age counts the young tracks of the surface, longer than those of the age
    // standard it is scaled by, by some 5 % more than their time.
    for (std::size_t k = 0; k < systems.size(); ++k) {
        const double lowMa = (*ages)[k].ageMa, highMa = (*ages)[k + systems.size()].ageMa;
        const double tolerance = systems[k] == System::AFT ? 0.07 : 0.01;
        EXPECT_NEAR(highMa - lowMa, delayMyr, tolerance * delayMyr)
            << thermochron::systemName(systems[k]) << ": " << lowMa << " and " << highMa << " Ma";
    }
}

TEST(HistoryMisfit, SamplesAtTheMeanSurfaceAreTheOneRock)
{
    thermal::ThermalParameters p;
    const auto samples = samplesOf({ System::AHe, System::AFT, System::ZHe });
    const auto kinds = ages::sampleAgeKinds(samples, {}, "test");
    const HistoryAgeMisfit oneRock(p, samples, kinds);
    HistoryPlacement placement;
    placement.presentDepthsM.assign(samples.size(), 0.0);
    const HistoryAgeMisfit placed(p, samples, kinds, ages::fitResolution, placement);
    for (const ages::ErosionHistory& history : { ages::ErosionHistory { { 30, 0.2 }, { 8, 0.6 } },
             ages::ErosionHistory { { 20, 0.4 } } }) {
        const auto a = oneRock.predictions(history), b = placed.predictions(history);
        ASSERT_TRUE(a && b);
        for (std::size_t i = 0; i < samples.size(); ++i)
            EXPECT_EQ((*a)[i].ageMa, (*b)[i].ageMa);
        EXPECT_EQ(oneRock(history), placed(history));
    }
}

TEST(HistoryMisfit, BoreholeTemperaturesAndHeatFlowEnterChi2AgainstTheSteadyColumn)
{
    thermal::ThermalParameters p;
    p.heatProductionUWm3 = 1.0;
    const double rateMmYr = 0.3;
    const ages::ErosionHistory history { { 150, rateMmYr } };
    const thermal::SteadyGeotherm steady(p, rateMmYr);
    const auto samples = samplesOf({ System::AHe });
    const auto kinds = ages::sampleAgeKinds(samples, {}, "test");
    const double flow = p.conductivityWmK * steady.surfaceGradientCm() * 1000.0;

    // The column's own present state measured: chi2 is the ages' alone; each datum a sigma off
    // adds 1.
    for (const double offset : { 0.0, 1.0 }) {
        HistoryPlacement placement;
        for (const double depthM : { 500.0, 1800.0, 3300.0 })
            placement.temperatures.push_back(
                { depthM, { steady.temperatureC(depthM) + offset * 0.5, 0.5 } });
        placement.heatFlowsMWm2.push_back({ flow + offset * 2.0, 2.0 });
        const HistoryAgeMisfit misfit(p, samples, kinds, thermal::Resolution {}, placement);
        EXPECT_EQ(misfit.dataCount(), 5u);
        const auto predicted = misfit.prediction(history, std::nan(""));
        ASSERT_TRUE(predicted);
        const double agesOnly = misfit.chi2(predicted->ages);
        EXPECT_NEAR(misfit.chi2(*predicted) - agesOnly, 4 * offset * offset, 0.02);
    }

    // The base the misfit is given is the base the column runs with.
    HistoryPlacement placement;
    placement.temperatures.push_back({ 20000.0, { 0.0, 1.0 } });
    const HistoryAgeMisfit misfit(p, samples, kinds, thermal::Resolution {}, placement);
    thermal::ThermalParameters hotter = p;
    hotter.baseTemperatureC = 1400.0;
    const auto at1400 = misfit.prediction(history, 1400.0);
    ASSERT_TRUE(at1400);
    EXPECT_NEAR(at1400->temperaturesC[0],
        thermal::SteadyGeotherm(hotter, rateMmYr).temperatureC(20000.0), 0.1);
}

} // namespace
