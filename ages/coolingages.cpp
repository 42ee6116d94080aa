#include "coolingages.h"

#include "agecommandline.h"
#include "agerun.h"
#include "batchcommandline.h"
#include "fitcommandline.h"
#include "inputerror.h"

#include <new>
#include <stdexcept>
#include <string_view>

namespace ages {

namespace {

// The one place the program's refusals reach standard error: every message is composed without
// the "ERROR: " that starts its line here.
int refuse(std::ostream& err, const std::string_view message)
{
    err << "ERROR: " << message << '\n';
    return 1;
}

} // namespace

int coolingAgesMain(const int argc, const char* const argv[], std::ostream& out, std::ostream& err,
    const bool showProgress)
{
    AgeCommandLine line;
    FitOptions fitOptions;
    addFitOptions(line, fitOptions);
    try {
        if (isBatchCommand(argc, argv)) // every group of a compilation: batchcommandline.h
            return runBatchCommand(argc, argv, out, err, showProgress);
        if (line.parse(argc, argv, out) == AgeCommandLine::Outcome::finish)
            return 0;
        runRequest(line.request(), fitOptions, out, err, showProgress);
    } catch (const InputError& error) {
        return refuse(err, error.what());
    } catch (const std::invalid_argument& error) {
        // An age model's own refusal of a path or grain that the checks let through.
        return refuse(err, error.what());
    } catch (const std::bad_alloc&) {
        return refuse(err, "Heap Allocation Error");
    }
    return 0;
}

} // namespace ages
