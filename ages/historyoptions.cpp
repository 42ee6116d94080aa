#include "historyoptions.h"

#include "boundsword.h"
#include "fitparametertable.h"
#include "historysampler.h"
#include "samplerparametertable.h"
#include "inputerror.h"
#include "terrainrequest.h"
#include "thermalparametertable.h"

#include "strictnumber.h"

#include <charconv>
#include <stdexcept>

namespace ages {

namespace {

using thermal::ThermalParameters;

// "MIN:MAX" as two strict numbers; the order and signs are the fit's to judge.
ValueBounds parseBounds(const std::string& option, const std::string& word, const char* unit)
{
    return parseBoundsWord(option, word, unit);
}

std::uint64_t parseSeed(const std::string& word)
{
    std::uint64_t seed = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), seed);
    if (word.empty() || error != std::errc() || end != word.data() + word.size())
        throw InputError(seedError(word));
    return seed;
}

// --fit-base MIN:MAX, in the unit of the base the column holds: usable bases only.
ValueBounds parseFitBase(const std::string& word, const ThermalParameters& p)
{
    const bool flow = p.base == thermal::BaseCondition::HeatFlow;
    const ValueBounds bounds = parseBounds("--fit-base", word, flow ? "mW/m2" : "C");
    if (const std::string error = fitBaseError(bounds, p); !error.empty())
        throw InputError("--fit-base " + word + ": " + error);
    return bounds;
}

// A bounds option of the fit's table, its help and default the table's.
void addBounds(CLI::App& command, const std::string_view flag, std::string& word)
{
    const parameters::BoundsParameter& parameter = fitBounds(flag);
    command.add_option(std::string(flag), word, boundsOptionHelp(parameter))->type_name("MIN:MAX");
}

bool given(const CLI::Option* option)
{
    return option != nullptr && option->count() > 0;
}

} // namespace


void HistoryOptions::add(
    CLI::App& command, NumberOptions& numbers, HistoryRequest& request, const bool initialState)
{
    command
        .add_option("--erosion", m_erosionWord,
            "the erosion history, START:RATE,... oldest first, START in Ma before present and "
            "RATE in mm/yr, e.g. 20:0.3,5:0.6; a phase may also be a ramp START:RATE0~RATE1 or "
            "a decay START:RATE0/TAU (TAU in Myr), and a rate 0 (a pause) or negative (burial); "
            "with --fit-phases its first START is where every fitted history starts")
        ->type_name("PHASES")
        ->required();

    ThermalParameters& p = request.thermal;
    for (const thermal::ThermalParameter& parameter : thermal::thermalParameterTable) {
        const std::string_view flag = parameter.text.flag;
        // A model that starts from its own steady state takes no initial state.
        if (flag == "-B" && !initialState)
            continue;
        CLI::Option* option = numbers.add(command, parameter, p);
        if (flag == "--h-depth" && initialState) {
            command
                .add_option("--initial", m_initialWord,
                    "the column when the first phase begins: steady (the steady geotherm without "
                    "erosion) or linear (T0 + G depth, with G from -B)")
                ->type_name("STATE")
                ->capture_default_str()
                ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
        }
        if (flag == "-b")
            m_baseTemperature = option;
        else if (flag == "-q")
            m_baseHeatFlow = option;
        else if (flag == "--hr")
            m_productionScale = option;
        else if (flag == "--h-depth")
            m_productionDepth = option;
        else if (flag == "-B")
            m_initialGradient = option;
    }

    // Samples placed in the 1D column; the terrain model places its samples in 3D.
    if (initialState) {
        m_meanElevation = numbers.add(command, "--mean-elevation", m_meanElevationM,
            "field elevation of the column's surface: a sample with elevation_m e lies e - M above "
            "it (needed when the samples carry elevations)",
            "m");
        numbers.add(command, "-L", request.lapseRateCkm,
            "lapse rate: the surface temperature of a sample above the mean surface is T0 less this "
            "per km of height",
            "C/km");
    }
    // The column's 1D runs are cheap; every base the terrain model tries is a sweep of 3D runs.
    const parameters::BoundsParameter& base = fitBounds("--fit-base");
    command
        .add_option(std::string(base.text.flag), m_fitBaseWord,
            initialState ? boundsOptionHelp(base)
                         : boundsOptionHelp(base) + "; " + std::to_string(terrainFitBaseCount)
                    + " bases, each a sweep of the rates (or rows of the grid) of 3D runs: the "
                      "fit costs "
                    + std::to_string(terrainFitBaseCount) + " times one at a held base")
        ->type_name("MIN:MAX");
    numbers.addCount(command, fitPhaseParameter, request);
    addBounds(command, "--rates", m_ratesWord);
    addBounds(command, "--change-times", m_changeTimesWord);
    command
        .add_option("--sampler", m_samplerWord,
            "grid (1 or 2 phases: a sweep, or a grid with inner minimisations; one ramp or "
            "decay: a grid of its two parameters and a simplex) or mcmc (the ensemble sampler); "
            "default grid for 1 phase or 2 constant ones, mcmc otherwise")
        ->type_name("ENGINE");
    // The shape of each fitted phase and the bounds of a decay's TAU: the column's fits (the
    // terrain model runs each phase at a constant rate).
    if (initialState) {
        command
            .add_option("--fit-shapes", m_fitShapesWord,
                "the shape of each fitted phase, one word per phase of --fit-phases, oldest first: "
                "constant (a rate), ramp (its start and end rates, both within --rates) or decay "
                "(its start rate and TAU, within --decay-times); default all constant")
            ->type_name("SHAPES");
        addBounds(command, "--decay-times", m_decayTimesWord);
    }
    SamplerSettings& mcmc = request.fit.mcmc;
    m_steps = numbers.addCount(command, samplerCount("--steps"), mcmc);
    m_walkers = numbers.addCount(command, samplerCount("--walkers"), mcmc);
    m_burnIn = numbers.addCount(command, samplerCount("--burn-in"), mcmc);
    m_chains = numbers.addCount(command, samplerCount("--chains"), mcmc);
    m_seed = command
                 .add_option(std::string(samplerSeedParameter.text.flag), m_seedWord,
                     std::string(samplerSeedParameter.text.help))
                 ->type_name("N")
                 ->default_str(std::to_string(samplerSeedParameter.defaultValue()));
}

void HistoryOptions::interpret(HistoryRequest& request) const
{
    try {
        request.erosion = thermal::parseErosionHistory(m_erosionWord);
    } catch (const std::invalid_argument& error) {
        throw InputError(error.what()); // it names the phase and the fix
    }

    ThermalParameters& p = request.thermal;
    applyThermalChoices({ .baseTemperature = given(m_baseTemperature),
                            .baseHeatFlow = given(m_baseHeatFlow),
                            .productionScale = given(m_productionScale),
                            .productionDepth = given(m_productionDepth),
                            .initialGradient = given(m_initialGradient),
                            .initialWord = m_initialWord },
        p);
    if (const auto error = thermal::parameterError(p))
        throw InputError(*error);

    // The fit's options mean nothing without a fit.
    const bool fits = request.fitPhases != 0;
    for (const auto& [name, isGiven] : { std::pair { "--rates", !m_ratesWord.empty() },
             std::pair { "--change-times", !m_changeTimesWord.empty() },
             std::pair { "--sampler", !m_samplerWord.empty() },
             std::pair { "--fit-base", !m_fitBaseWord.empty() },
             std::pair { "--fit-shapes", !m_fitShapesWord.empty() },
             std::pair { "--decay-times", !m_decayTimesWord.empty() },
             std::pair { "--steps", given(m_steps) }, std::pair { "--walkers", given(m_walkers) },
             std::pair { "--burn-in", given(m_burnIn) }, std::pair { "--seed", given(m_seed) },
             std::pair { "--chains", given(m_chains) } }) {
        if (isGiven && !fits)
            throw InputError(std::string(name)
                + " sets up a fit: add --fit-phases N (and the measured ages, --observed FILE)");
    }
    if (!m_ratesWord.empty())
        request.ratesMmYr = parseBounds("--rates", m_ratesWord, "mm/yr");
    if (!m_changeTimesWord.empty())
        request.changeTimesMa = parseBounds("--change-times", m_changeTimesWord, "Ma");
    setFitShapes(request, m_fitShapesWord,
        m_decayTimesWord.empty()
            ? std::nullopt
            : std::optional(parseBounds("--decay-times", m_decayTimesWord, "Myr")));
    if (!m_samplerWord.empty())
        request.fit.sampler = parseHistorySampler(m_samplerWord);
    if (given(m_meanElevation))
        request.meanElevationM = m_meanElevationM;
    if (!m_fitBaseWord.empty())
        request.fitBase = parseFitBase(m_fitBaseWord, request.thermal);
    if (!m_seedWord.empty())
        request.fit.mcmc.seed = parseSeed(m_seedWord);
    checkSamplerChoices(request,
        { .steps = given(m_steps),
            .walkers = given(m_walkers),
            .burnIn = given(m_burnIn),
            .seed = given(m_seed),
            .chains = given(m_chains) });
}

} // namespace ages
