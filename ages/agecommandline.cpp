#include "agecommandline.h"

#include "cataloguetext.h"
#include "inputerror.h"
#include "parametertables.h"

namespace ages {

const char* const versionString = "Cooling Ages from Erosion Models - v1.0";

AgeCommandLine::AgeCommandLine()
    : m_app("Predicted thermochronometer ages along the cooling paths of the erosion models or of "
            "a path file; a CSV table, one row per age.",
        "cooling_ages")
    , m_systemsWord(systemList(m_request.settings.systems))
{
    for (const KineticsOption& option : kineticsOptions)
        m_kineticsWords[option.system]
            = thermochron::kineticsName(m_request.settings.kinetics.*option.choice);
    m_app.set_version_flag("--version", versionString, "Print the version and exit");
    m_app.require_subcommand(0, 1);
    m_app.footer("cooling_ages batch --observed FILE --by COLUMN [--model MODEL] [options]: every "
                 "group of rows sharing COLUMN (a site, a sample) fitted on its own, one table; "
                 "see cooling_ages batch --help");

    m_transient = m_app.add_subcommand(
        "transient", "the rock exposed at time -o of the 1D transient erosion model (closed form)");
    addTransientOptions(*m_transient);
    addAgeOptions(*m_transient, true);

    m_periodic = m_app.add_subcommand(
        "periodic", "the rocks exposed along the profile of the steady periodic topography model");
    addPeriodicOptions(*m_periodic);
    addAgeOptions(*m_periodic, true);

    m_path = m_app.add_subcommand("path", "a cooling path read from a file");
    m_path
        ->add_option("FILE", m_request.pathFile,
            "lines of time_ma,temperature_c (Ma before present, C); header optional; comma or "
            "blanks between")
        ->required();
    addAgeOptions(*m_path, false);

    m_history = m_app.add_subcommand("history",
        "the rock exposed today under an erosion history of phases (1D thermal model with heat "
        "production), and the fit of such a history to measured ages");
    m_historyOptions.add(*m_history, m_numbers, m_request.history);
    addAgeOptions(*m_history, false);

    m_terrain = m_app.add_subcommand("terrain",
        "the samples where they were taken under a DEM, by the 3D thermal model of an erosion "
        "history with relief that may change; age maps, the temperature field, and the fit of "
        "a history to measured ages");
    m_terrainOptions.add(*m_terrain, m_numbers, m_request.terrain);
    m_terrainHistoryOptions.add(*m_terrain, m_numbers, m_request.history, false);
    addAgeOptions(*m_terrain, false);
}

CLI::App& AgeCommandLine::subcommand(const Model model)
{
    switch (model) {
    case Model::transient:
        return *m_transient;
    case Model::periodic:
        return *m_periodic;
    case Model::history:
        return *m_history;
    case Model::terrain:
        return *m_terrain;
    case Model::path:
        break;
    }
    return *m_path;
}

void AgeCommandLine::addTransientOptions(CLI::App& command)
{
    for (const TransientParameter& parameter : transientParameterTable)
        m_numbers.add(command, parameter, m_request.transient);
}

void AgeCommandLine::addPeriodicOptions(CLI::App& command)
{
    for (const PeriodicParameter& parameter : periodicParameterTable)
        m_numbers.add(command, parameter, m_request.periodic);
    m_numbers.addCount(command, std::string(periodicPointCount.text.flag),
        periodicPointCount.of(m_request.periodic), std::string(periodicPointCount.text.help));
}

void AgeCommandLine::addAgeOptions(CLI::App& command, const bool sweeps)
{
    AgeSettings& s = m_request.settings;
    command
        .add_option("--systems", m_systemsWord,
            "systems to date, comma-separated, any case, from " + describedSystems())
        ->type_name("LIST")
        ->capture_default_str()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    command.add_option("--method", m_methodWord, methodChoiceHelp())
        ->type_name("METHOD")
        ->capture_default_str()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    using thermochron::Method;
    using thermochron::Mineral;
    // The grain's help names the systems that read each value, from the catalogue.
    const auto addGrain = [&](const std::string_view flag, const std::string& more) {
        const GrainParameter& parameter = grainParameter(flag);
        m_numbers.add(command, std::string(flag), parameter.of(s),
            parameters::helpWithRange(parameter.text, more), std::string(parameter.text.unit));
    };
    const auto readBy = [](const std::string& systems) { return " (" + systems + ")"; };
    for (const RadiusOption& radius : radiusOptions)
        addGrain(radius.option, readBy(systemNamesByMethod(Method::Diffusion, radius.mineral)));
    addGrain("--pressure", readBy(systemNamesByMethod(Method::Diffusion, Mineral::Muscovite)));
    const std::string helium = readBy(heliumSystemNames());
    addGrain("--u", helium);
    addGrain("--th", helium);
    addGrain("--sm", helium);
    for (const KineticsOption& option : kineticsOptions) {
        command
            .add_option(std::string(option.option), m_kineticsWords[option.system],
                kineticsOptionHelp(option))
            ->type_name("NAME")
            ->capture_default_str()
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    }
    addGrain("--dpar",
        readBy(systemNamesByMethod(Method::Annealing, Mineral::Apatite)) + "; "
            + std::string(dparConvention));
    command.add_flag(
        "--cf-irradiated", s.californiumIrradiated, std::string(californiumIrradiationHelp));
    command
        .add_option("--lengths-output", m_request.lengthsOutputFile,
            "the predicted AFT track-length distributions, CSV: the keys of each AFT annealing "
            "row of the table, length_um (middle of each 0.1 um bin from 0 to 20 um), "
            "pdf_projected and pdf_unprojected (the share of tracks in the bin); with --lengths, "
            "the samples' distributions at the best fit instead (sample, length_um, "
            "pdf_projected, pdf_unprojected); replaced only whole")
        ->type_name("FILE");
    if (sweeps) {
        CLI::Option* rates = command
                                 .add_option("--rates", m_ratesWord,
                                     "a sweep over erosion rate, replacing -r (mm/yr)")
                                 ->type_name("START:STOP:STEP");
        rates->excludes(command.get_option("-r"));
    }
    command
        .add_option("--output", m_request.outputFile,
            "CSV file, replaced only by a complete table (default: standard output); the AFT rows "
            "by annealing give the mean and standard deviation of the c-axis projected track "
            "lengths (mean_track_length_um, track_length_sd_um) and of the unprojected ones "
            "(mean_track_length_unprojected_um, track_length_sd_unprojected_um)")
        ->type_name("FILE");
}

void AgeCommandLine::interpret()
{
    m_numbers.convert();
    m_request.transient.setErosionRate(m_request.transient.erosionRate);
    m_request.settings.systems = parseSystems(m_systemsWord);
    m_request.settings.methods = parseMethodChoice(m_methodWord);
    for (const KineticsOption& option : kineticsOptions)
        m_request.settings.kinetics.*option.choice
            = parseKineticsOf(option.system, m_kineticsWords.at(option.system));
    if (!m_ratesWord.empty())
        m_request.sweep = parseRateSweep(m_ratesWord);
    m_request.settings.keepLengthBins = !m_request.lengthsOutputFile.empty();
    if (m_request.model == Model::history)
        m_historyOptions.interpret(m_request.history);
    if (m_request.model == Model::terrain) {
        m_terrainHistoryOptions.interpret(m_request.history);
        m_terrainOptions.interpret(m_request.terrain);
    }
}

AgeCommandLine::Outcome AgeCommandLine::parse(
    const int argc, const char* const argv[], std::ostream& out)
{
    try {
        m_app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        // Help on a model lists its options; help without one lists every model's.
        out << (m_app.get_subcommands().empty() ? m_app.help("", CLI::AppFormatMode::All)
                                                : m_app.help());
        return Outcome::finish;
    } catch (const CLI::CallForVersion&) {
        out << versionString << '\n';
        return Outcome::finish;
    } catch (const CLI::ExtrasError& error) {
        // Words no option of the model takes, in the order they were typed.
        std::string words;
        for (const CLI::App* command : m_app.get_subcommands())
            for (const std::string& word : command->remaining())
                words += (words.empty() ? "" : " ") + word;
        for (const std::string& word : m_app.remaining())
            words += (words.empty() ? "" : " ") + word;
        if (words.empty())
            words = error.what();
        throw InputError("unknown option or extra word: " + words + " (see cooling_ages --help)");
    } catch (const CLI::ParseError& error) {
        throw InputError(std::string(error.what()) + " (see cooling_ages --help)");
    }
    if (m_transient->parsed())
        m_request.model = Model::transient;
    else if (m_periodic->parsed())
        m_request.model = Model::periodic;
    else if (m_path->parsed())
        m_request.model = Model::path;
    else if (m_history->parsed())
        m_request.model = Model::history;
    else if (m_terrain->parsed())
        m_request.model = Model::terrain;
    else
        throw InputError("name a model: transient, periodic, path FILE, history or terrain (see "
                         "cooling_ages --help)");

    interpret();
    return Outcome::run;
}

} // namespace ages
