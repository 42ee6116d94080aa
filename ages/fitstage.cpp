#include "fitstage.h"

#include "fittables.h"
#include "inputerror.h"
#include "pathfile.h"
#include "transientpath.h"

namespace ages {

FitStage::FitStage(const AgeRequest& request, const FitOptions& options)
    : m_request(request)
    , m_options(options)
{
    if (const auto error = fitOptionsError(request, options)) {
        throw InputError(*error);
    }
    if (options.fits()) {
        std::vector<std::string> notes;
        auto samples = readCheckedSamples(request, options, &notes);
        auto lengths = readCheckedLengths(options, &notes);
        m_fit.emplace(request, options, std::move(samples), std::move(notes), std::move(lengths));
    }
}

void FitStage::toFieldElevations(std::vector<AgeRow>& rows) const
{
    if (m_request.model != Model::periodic) {
        return;
    }
    for (AgeRow& row : rows) {
        row.elevationM += m_options.meanElevationM;
    }
}

FitStageResult FitStage::compute(const std::vector<std::vector<double>>& misfits) const
{
    FitStageResult result;
    if (m_fit) {
        result.fit = m_fit->fitMisfits(m_fit->rates(), misfits);
    }
    if (!m_options.pathOutput.empty()) {
        result.path = m_request.model == Model::path
            ? readCoolingPathFile(m_request.pathFile)
            : transientCoolingPath(m_request.transient, m_request.transient.historyTime);
    }
    return result;
}

std::vector<FitFile> FitStage::files(const FitStageResult& result) const
{
    std::vector<FitFile> files;
    if (result.path) {
        files.push_back({ m_options.pathOutput,
            [&result](std::ostream& out) { writePathTable(out, *result.path); } });
    }
    if (result.fit) {
        for (FitFile& file : m_fit->files(*result.fit)) {
            files.push_back(std::move(file));
        }
    }
    return files;
}

void FitStage::report(const FitStageResult& result, std::ostream& err) const
{
    if (result.fit) {
        m_fit->report(*result.fit, err);
    }
}

} // namespace ages
