#include "periodicrun.h"

#include "commandline.h"
#include "fitrefusal.h"
#include "numberword.h"
#include "outputfiles.h"
#include "results.h"
#include "steadystate.h"

#include <new>
#include <string>

namespace periodic {

namespace {

// The one place the program's refusals reach standard error: every message is composed without
// the "ERROR: " that starts its line here.
int refuse(std::ostream& err, const std::string& message)
{
    err << "ERROR: " << message << '\n';
    return 1;
}

} // namespace

int runPeriodicTopography(const int argc, char* const argv[],
    const std::filesystem::path& outputRoot, std::ostream& out, std::ostream& err)
{
    const CommandLine line = scanCommandLine(argc, argv, out, err);
    switch (line.action) {
    case CommandLine::Action::finish:
        return 0;
    case CommandLine::Action::refuse:
        return line.refusal.empty() ? 1 : refuse(err, line.refusal);
    case CommandLine::Action::run:
        break;
    }
    const PeriodicParameters& parameters = line.parameters;
    if (const auto error = parameterError(parameters)) {
        return refuse(err, *error);
    }

    try {
        requireDirectories(outputDirectories(outputRoot));

        const PeriodicSteadyState model = PeriodicSteadyState::solve(toProblem(parameters));
        const double residual = model.largestSurfaceResidual();
        if (!(residual <= acceptableResidual)) {
            return refuse(err, fitRefusal(parameters, residual));
        }

        for (const std::string& warning : parameterWarnings(parameters)) {
            err << "WARNING: " << warning << '\n';
        }
        writeFiles(periodicFiles(computeResults(model, parameters), outputRoot));
        out << "Surface temperature met within " << numberWord(residual) << " C using "
            << model.harmonicCount() << " harmonics\n";
    } catch (const OutputError& error) {
        return refuse(err, error.what());
    } catch (const std::bad_alloc&) {
        return refuse(err, "Heap Allocation Error");
    }
    return 0;
}

} // namespace periodic
