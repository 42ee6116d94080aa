#include "misfitsummary.h"

#include <algorithm>
#include <cmath>

namespace {

// The rate where chi2 crosses level between points a and b (linear in between).
double crossing(const MisfitPoint& a, const MisfitPoint& b, double level)
{
    if (b.chi2 == a.chi2)
        return a.rate;
    return a.rate + (level - a.chi2) * (b.rate - a.rate) / (b.chi2 - a.chi2);
}

} // namespace

MisfitSummary summariseMisfit(const std::vector<MisfitPoint>& curve)
{
    const auto lowest = std::ranges::min_element(curve, {}, &MisfitPoint::chi2);
    const std::size_t i = static_cast<std::size_t>(lowest - curve.begin());
    MisfitSummary summary { .bestRate = lowest->rate, .minimumChi2 = lowest->chi2 };

    if (i > 0 && i + 1 < curve.size()) {
        // Parabola through (r0, c0), (r1, c1), (r2, c2) with c1 lowest: its vertex is
        //   r = r1 - ((r1 - r0)^2 (c1 - c2) - (r1 - r2)^2 (c1 - c0))
        //            / (2 ((r1 - r0)(c1 - c2) - (r1 - r2)(c1 - c0)))
        const MisfitPoint& p0 = curve[i - 1];
        const MisfitPoint& p1 = curve[i];
        const MisfitPoint& p2 = curve[i + 1];
        const double a = p1.rate - p0.rate;
        const double b = p1.rate - p2.rate;
        const double numerator = a * a * (p1.chi2 - p2.chi2) - b * b * (p1.chi2 - p0.chi2);
        const double denominator = 2.0 * (a * (p1.chi2 - p2.chi2) - b * (p1.chi2 - p0.chi2));
        if (denominator < 0.0) { // opens upwards: a true minimum between the neighbours
            const double vertex = p1.rate - numerator / denominator;
            if (vertex >= p0.rate && vertex <= p2.rate) {
                // Lagrange form of the same parabola, evaluated at the vertex.
                const auto basis = [vertex](double r, double s, double t) {
                    return (vertex - s) * (vertex - t) / ((r - s) * (r - t));
                };
                summary.bestRate = vertex;
                summary.minimumChi2 = p0.chi2 * basis(p0.rate, p1.rate, p2.rate)
                    + p1.chi2 * basis(p1.rate, p0.rate, p2.rate)
                    + p2.chi2 * basis(p2.rate, p0.rate, p1.rate);
            }
        }
    }

    const double level = summary.level();
    std::size_t low = i;
    while (low > 0 && curve[low - 1].chi2 <= level)
        --low;
    summary.lowAtSweepStart = low == 0;
    summary.rangeLow = low == 0 ? curve.front().rate : crossing(curve[low - 1], curve[low], level);
    std::size_t high = i;
    while (high + 1 < curve.size() && curve[high + 1].chi2 <= level)
        ++high;
    summary.highAtSweepEnd = high + 1 == curve.size();
    summary.rangeHigh = summary.highAtSweepEnd ? curve.back().rate
                                               : crossing(curve[high], curve[high + 1], level);
    return summary;
}
