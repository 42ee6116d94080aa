// ages: the table of ages along one cooling path that cooling_ages path writes, one row per
// system and method, with the program's columns (agetable.h), from the program's own functions.

#include "argumenthelp.h"
#include "arrays.h"
#include "bindings.h"
#include "tablearguments.h"

#include "parametertables.h"
#include "grainkeywords.h"
#include "helptext.h"
#include "pathinput.h"
#include "settingsinput.h"
#include "tables.h"

#include "ageprediction.h"
#include "agesettings.h"
#include "agetable.h"
#include "cataloguetext.h"

#include "thermochron/grain.h"

#include <optional>

namespace erosion_python {

namespace {

py::dict agesAlongPath(const py::object& path, const py::object& systems, const std::string& method,
    GRAIN_PARAMETERS)
{
    const ages::AgeSettings settings = ageSettings(systems, method,
        GRAIN_ARGUMENTS);
    raiseIf(ages::settingsError(settings));
    const auto column = [&](const char* name) { return path[py::str(name)].cast<DoubleArray>(); };
    const std::optional<DoubleArray> depthM
        = path.contains("depth_m") ? std::optional(column("depth_m")) : std::nullopt;
    const ages::SamplePath sample = samplePath(column("time_ma"), column("temperature_c"), depthM);

    std::vector<ages::AgeRow> rows;
    {
        const py::gil_scoped_release release;
        rows = ages::pathAgeRows(sample, settings);
    }
    return tableColumns(ages::ageTableColumns(), rows);
}

} // namespace

void bindAges(py::module_& module)
{
    std::string columns;
    for (const ages::TableColumn<ages::AgeRow>& column : ages::ageTableColumns())
        columns += std::string(columns.empty() ? "" : ", ") + std::string(column.name);

    std::vector<ArgumentHelp> help {
        { "path",
            "the path: a dict or DataFrame with time_ma (Ma before present, either order), "
            "temperature_c (C) and, from the models, depth_m (m below the present surface, for "
            "closure_depth_m), e.g. what transient_path returns" },
        { "systems",
            "systems to date, a list of names or one text separated by commas, any case, from "
                + ages::describedSystems() },
    };
    append(help, ageOptionHelp());

    defineFunction(module, "ages", &agesAlongPath, py::arg("path"), py::kw_only(),
        py::arg("systems") = defaultSystemNames(), py::arg("method") = "all",
        grainKeywords(),
        helpText("The ages along one cooling path, one row per system and method, as "
                 "cooling_ages path writes its table: for each system its Dodson closure age, "
                 "then its kinetic age, as the method asks.",
            help,
            "a pandas DataFrame with the columns of cooling_ages's table (" + columns
                + "), numbers at full precision and NaN where the table leaves a field empty; a "
                  "dict of those columns (float arrays, lists of str) when pandas is missing.")
            .c_str());
}

} // namespace erosion_python
