#pragma once
// The 3D terrain model (terrain/terrainmodel.h) as a source of cooling paths for measured
// samples: the samples placed in the DEM, each on its own vertical path, and the misfit of their
// ages to an erosion history, which the history fits minimise.
//
// Every row of the measured ages names its sample; the rows of one sample are one rock, placed
// once, at x_m, y_m in the DEM's coordinate system or at lon, lat (WGS 84, projected into the
// DEM's system by GDAL), and at elevation_m (the model's surface there when it is left empty).
// The rock's path is followed back in time through the field of one thermal run shared by all
// samples, so that a history costs one 3D run and, per sample, one age per distinct grain.
//
//     const TerrainSamples placed = placeTerrainSamples(ages, dem, "ages.csv");
//     const TerrainAgeMisfit misfit(dem, parameters, placed, ages, kinds);
//     const HistoryFit fit = fitHistory(space, std::cref(misfit), settings);

#include "agekind.h"
#include "historyparameters.h"
#include "observedages.h"
#include "samplepath.h"
#include "samplepredictor.h"

#include "dem.h"
#include "terrainmodel.h"
#include "terrainparameters.h"
#include "thermochron/age.h"

#include <cmath>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ages {

// The distinct samples of a set of measured ages, where the model takes them.
struct TerrainSamples {
    std::vector<std::string> names; // one per distinct sample, in the order they first appear
    std::vector<terrain::SamplePoint> points; // where each is, in the DEM's system, m
    std::vector<std::size_t> pointOfAge; // per measured age: the index of its sample
};

// Places the samples. Throws InputError naming the file (fileName) and the line, for a row
// without a position, rows of one sample at different positions, lon and lat on a DEM without a
// coordinate system, a point GDAL cannot transform, a sample outside the DEM or above the
// model's surface there.
TerrainSamples placeTerrainSamples(
    const std::vector<ObservedAge>& ages, const terrain::Dem& dem, std::string_view fileName);

// A rock's path as the age models read it: its points and its depth below the surface of each
// time.
SamplePath samplePathOf(const terrain::RockPath& rock);

class TerrainAgeMisfit {
public:
    // One kind per measured age (sampleAgeKinds); placed made from the same ages.
    TerrainAgeMisfit(terrain::Dem dem, terrain::TerrainParameters parameters,
        const TerrainSamples& placed, const std::vector<ObservedAge>& ages,
        const std::vector<AgeKind>& kinds);

    // The ages, in the order of the measured ages, along each sample's path under history, with
    // the base of the crust (its temperature, or with a held heat flow that flow) set to base, or
    // kept as given when base is NaN; nothing when the model cannot run the history
    // (terrain::runError, at that base) or a path leaves the
    // temperatures the age models take. Pure: safe from many threads at once.
    std::optional<std::vector<thermochron::Age>> predictions(
        const ErosionHistory& history, double base = std::nan("")) const;
    // The same from a run already made with the samples' points, in their order.
    std::optional<std::vector<thermochron::Age>> predictions(const terrain::TerrainRun& run) const;

    // chi2 of the measured ages for history at base (NaN: as given); NaN when predictions()
    // gives nothing. The history fits call it with the base they try (--fit-base).
    double operator()(const ErosionHistory& history, double base = std::nan("")) const;
    double chi2(const std::vector<thermochron::Age>& predicted) const;

    std::size_t sampleCount() const { return m_measured.size(); }

    // The model's parameters with the base set to base (NaN: as given).
    terrain::TerrainParameters parametersAt(double base) const;

private:
    terrain::Dem m_dem;
    terrain::TerrainParameters m_parameters;
    std::vector<terrain::SamplePoint> m_points;
    std::vector<MeasuredAge> m_measured;
    // Per point: its predictor, and the measured ages it predicts, in the predictor's order.
    std::vector<SamplePredictor> m_predictors;
    std::vector<std::vector<std::size_t>> m_agesOfPoint;
};

} // namespace ages
