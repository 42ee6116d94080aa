#pragma once
// The local minimum of a function of a few parameters by the downhill simplex of Nelder & Mead
// (1965, Comput. J. 7:308), with its usual coefficients (reflection 1, expansion 2, contraction
// 1/2, shrink 1/2). It needs no derivatives, which a misfit built from a thermal model and kinetic
// ages cannot give, and in three parameters it settles in tens of evaluations. Constraints are
// the caller's: a point outside the allowed region returns +infinity and the simplex turns away.

#include <functional>
#include <vector>

namespace ages {

struct SimplexSettings {
    // Stop once every vertex lies within this share of its initial step of the best vertex ...
    double stepTolerance = 0.02;
    // ... and the function differs by no more than this across the simplex, or at the cap.
    double valueTolerance = 1e-3;
    int maxEvaluations = 100;
};

struct SimplexMinimum {
    std::vector<double> point;
    double value = 0;
    int evaluations = 0;
};

// From start (f finite there) with the initial simplex start + steps[i] e_i (a vertex whose value
// is not finite is tried on the other side, start - steps[i] e_i).
SimplexMinimum simplexMinimum(const std::function<double(const std::vector<double>&)>& f,
    const std::vector<double>& start, const std::vector<double>& steps,
    const SimplexSettings& settings = {});

} // namespace ages
