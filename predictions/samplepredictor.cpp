#include "samplepredictor.h"

#include "thermochron/predict.h"

#include <algorithm>

namespace ages {

SamplePredictor::SamplePredictor(const std::vector<AgeKind>& kinds)
{
    m_kindOfSample.reserve(kinds.size());
    for (const auto& kind : kinds) {
        const auto found = std::find(m_kinds.begin(), m_kinds.end(), kind);
        m_kindOfSample.push_back(static_cast<std::size_t>(found - m_kinds.begin()));
        if (found == m_kinds.end()) {
            m_kinds.push_back(kind);
        }
    }
}

thermochron::Age SamplePredictor::predictKind(
    const thermochron::CoolingPath& path, const std::size_t kind) const
{
    const auto& wanted = m_kinds[kind];
    return thermochron::predictAge(
        path, wanted.system, wanted.method, wanted.grain, wanted.kineticsChoice);
}

std::vector<thermochron::Age> SamplePredictor::predict(const thermochron::CoolingPath& path) const
{
    // The grains of one system, method and kinetics are dated together: the models share the
    // work that depends on the path alone among them. Kinetics belong to the key: grains dated
    // with Farley's and with RDAAM kinetics share no work, and each must get its own.
    std::vector<thermochron::Age> kindAges(m_kinds.size());
    std::vector<bool> done(m_kinds.size(), false);
    for (std::size_t first = 0; first < m_kinds.size(); ++first) {
        if (done[first]) {
            continue;
        }
        std::vector<std::size_t> together;
        std::vector<thermochron::Grain> grains;
        for (std::size_t kind = first; kind < m_kinds.size(); ++kind) {
            if (m_kinds[kind].system == m_kinds[first].system
                && m_kinds[kind].method == m_kinds[first].method
                && m_kinds[kind].kinetics == m_kinds[first].kinetics) {
                together.push_back(kind);
                grains.push_back(m_kinds[kind].grain);
                done[kind] = true;
            }
        }
        const auto ages = thermochron::predictAges(path, m_kinds[first].system,
            m_kinds[first].method, grains, m_kinds[first].kineticsChoice);
        for (std::size_t i = 0; i < together.size(); ++i) {
            kindAges[together[i]] = ages[i];
        }
    }
    std::vector<thermochron::Age> ages;
    ages.reserve(m_kindOfSample.size());
    for (const std::size_t kind : m_kindOfSample) {
        ages.push_back(kindAges[kind]);
    }
    return ages;
}

} // namespace ages
