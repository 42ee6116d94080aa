#include "fitstage.h"

#include "inputerror.h"
#include "pathfile.h"
#include "progressline.h"
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
        m_fit.emplace(request, options, readCheckedSamples(request, options));
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

FitStageResult FitStage::compute(std::ostream& err, const bool showProgress) const
{
    FitStageResult result;
    if (m_fit) {
        // Erased (by its destructor) before any table or message is written.
        erosion::ProgressLine progress = showProgress
            ? erosion::ProgressLine(err, "cooling_ages: fitting the rate")
            : erosion::ProgressLine();
        result.fit = m_fit->run([&](double fraction) { progress.update(fraction); });
    }
    if (!m_options.pathOutput.empty()) {
        result.path = m_request.model == Model::path
            ? readCoolingPathFile(m_request.pathFile)
            : transientCoolingPath(m_request.transient, m_request.transient.historyTime);
    }
    return result;
}

void FitStage::write(const FitStageResult& result, std::ostream& err) const
{
    if (result.path) {
        writePathFile(m_options.pathOutput, *result.path);
    }
    if (result.fit) {
        m_fit->report(*result.fit, err);
    }
}

} // namespace ages
