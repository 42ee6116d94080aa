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
    std::vector<thermochron::Age> kindAges;
    kindAges.reserve(m_kinds.size());
    for (std::size_t kind = 0; kind < m_kinds.size(); ++kind) {
        kindAges.push_back(predictKind(path, kind));
    }
    std::vector<thermochron::Age> ages;
    ages.reserve(m_kindOfSample.size());
    for (const std::size_t kind : m_kindOfSample) {
        ages.push_back(kindAges[kind]);
    }
    return ages;
}

} // namespace ages
