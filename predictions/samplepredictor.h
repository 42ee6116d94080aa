#pragma once
// Predicted ages of a set of samples along one cooling path. Samples that need the same
// computation (same system, method, kinetics and grain) share it, so a data set of many grains of
// few kinds costs no more than the kinds; grains of one system, method and kinetics, each
// different, share the work that depends on the path alone (thermochron::predictAges), each
// with the kinetics its kind names.

#include "agekind.h"
#include "thermochron/age.h"
#include "thermochron/coolingpath.h"

#include <vector>

namespace ages {

class SamplePredictor {
public:
    explicit SamplePredictor(const std::vector<AgeKind>& kinds);

    // One age per kind given to the constructor, in that order. Pure: safe from many threads.
    std::vector<thermochron::Age> predict(const thermochron::CoolingPath& path) const;

    // The same piecewise: which computation a sample needs, and one computation's age.
    std::size_t kindOfSample(std::size_t sample) const { return m_kindOfSample[sample]; }
    thermochron::Age predictKind(const thermochron::CoolingPath& path, std::size_t kind) const;

    std::size_t sampleCount() const { return m_kindOfSample.size(); }
    std::size_t kindCount() const { return m_kinds.size(); }

private:
    std::vector<AgeKind> m_kinds; // distinct kinds
    std::vector<std::size_t> m_kindOfSample; // index into m_kinds per sample
};

} // namespace ages
