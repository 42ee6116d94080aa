#include "samplerparametertable.h"

#include <stdexcept>
#include <string>

namespace ages {

using parameters::Range;

const std::array<SamplerCount, 4> samplerCountTable { {
    { { "--steps", "steps", "steps of the ensemble", "", Range { .lowest = 2 },
          "mcmc: steps of the ensemble, each moving every walker" },
        &SamplerSettings::steps },
    { { "--walkers", "walkers", "walkers", "", Range { .lowest = 0, .highest = maximumWalkers },
          "mcmc: walkers, even (0: 4 x the parameters)" },
        &SamplerSettings::walkers },
    { { "--burn-in", "burn_in", "burn-in", "", Range { .lowest = -1 },
          "mcmc: steps left out of the posterior while the walkers forget their start (-1: half "
          "the steps)" },
        &SamplerSettings::burnIn },
    { { "--chains", "chains", "chains", "", Range { .lowest = 1 },
          "mcmc: independent ensembles, chain k seeded from --seed and k, merged; each "
          "parameter's split R-hat and effective sample size say whether they agree" },
        &SamplerSettings::chains },
} };

const SamplerSeed samplerSeedParameter { { "--seed", "seed", "seed", "", Range { .lowest = 0 },
                                             "mcmc: seed of the random numbers (the same seed, the "
                                             "same chain)" },
    &SamplerSettings::seed };

const SamplerCount& samplerCount(const std::string_view flag)
{
    for (const SamplerCount& entry : samplerCountTable) {
        if (entry.text.flag == flag)
            return entry;
    }
    throw std::out_of_range("no sampler option " + std::string(flag));
}

} // namespace ages
