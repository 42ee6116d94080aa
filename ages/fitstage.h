#pragma once
// The fit's part of a cooling_ages run, around the table of ages:
//   FitStage stage(request, options);   before any work: checks the options, reads the samples
//   stage.observedFit()                 the fit, for the pass over the rates to give misfits
//   stage.toFieldElevations(rows);      the table's elevations in the samples' frame
//   auto result = stage.compute(...);   after the pass: the fit from its misfits, and the path
//   stage.files(result)                 the path, misfit and residual files, written with the
//                                       table as one group (all replaced, or none)
//   stage.report(result, err);          once the files are in place: the summary
// so that every refusal comes before any output, and nothing is written before all is computed.

#include "agerequest.h"
#include "agerow.h"
#include "fitoptions.h"
#include "observedfit.h"

#include <optional>
#include <ostream>
#include <vector>

namespace ages {

struct FitStageResult {
    std::optional<FitResult> fit; // with --observed
    std::optional<SamplePath> path; // with --path-output
};

class FitStage {
public:
    // Throws InputError for options or samples that cannot be used. request and options must
    // outlive it.
    FitStage(const AgeRequest& request, const FitOptions& options);

    // Periodic with --mean-elevation M: the table's surface elevations moved up by M, into the
    // field's frame (above sea level) in which the samples are given, so that both plot together.
    void toFieldElevations(std::vector<AgeRow>& rows) const;

    // The fit of the samples; nullptr without --observed.
    const ObservedFit* observedFit() const { return m_fit ? &*m_fit : nullptr; }

    // misfits: ObservedFit::groupMisfits of every rate of the request, in order (none without a
    // fit).
    FitStageResult compute(const std::vector<std::vector<double>>& misfits) const;

    // The files of the result (it must outlive them), and the summary and warnings.
    std::vector<FitFile> files(const FitStageResult& result) const;
    void report(const FitStageResult& result, std::ostream& err) const;

private:
    const AgeRequest& m_request;
    const FitOptions& m_options;
    std::optional<ObservedFit> m_fit;
};

} // namespace ages
