#pragma once
// The parameter table of the ensemble sampler (common/parametertable.h): its counts and its seed,
// each with its flag, the Python module's keyword, accepted range and help. The command line's
// options, the sampler's refusals (samplerSettingsError reads the ranges), the module's keywords
// and docstrings and the manual's table of the history fit are made from it.
//
// Two counts have a default that is not a count: walkers 0 (four walkers per parameter) and
// burn-in -1 (half the steps); their ranges admit those words of the table and samplerSettingsError
// checks what depends on the space (an even number, twice the parameters).

#include "historysampler.h"
#include "parametertable.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace ages {

using SamplerCount = parameters::Parameter<SamplerSettings, int>;
using SamplerSeed = parameters::Parameter<SamplerSettings, std::uint64_t>;

// Beyond these a fit cannot end within hours at a few ms a forward run, or its chain would not
// fit in memory: refused before any is run.
inline constexpr int maximumWalkers = 10000;
inline constexpr double maximumForwardRuns = 1e7;

// --steps, --walkers, --burn-in, --chains, in the order --help lists them.
extern const std::array<SamplerCount, 4> samplerCountTable;
extern const SamplerSeed samplerSeedParameter; // --seed

// The entry of flag; std::out_of_range for a flag the table does not hold.
const SamplerCount& samplerCount(std::string_view flag);

} // namespace ages
