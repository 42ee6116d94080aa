#include "samplelengthtable.h"

#include "agetable.h"

namespace ages {

void writeSampleLengthTable(std::ostream& out, const std::vector<SampleLengthPrediction>& samples)
{
    using thermochron::TrackLengthDistribution;
    out << "sample,length_um,pdf_projected,pdf_unprojected\n";
    for (const SampleLengthPrediction& sample : samples) {
        if (!sample.predicted)
            continue;
        const std::string name = csvText(sample.sample);
        const auto& projected = sample.predicted->projected.bins();
        const auto& unprojected = sample.predicted->unprojected.bins();
        for (std::size_t k = 0; k < TrackLengthDistribution::binCount; ++k)
            out << name << ',' << csvNumber((k + 0.5) * TrackLengthDistribution::binWidthUm) << ','
                << csvNumber(projected[k]) << ',' << csvNumber(unprojected[k]) << '\n';
    }
}

} // namespace ages
