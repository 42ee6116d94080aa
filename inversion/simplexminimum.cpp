#include "simplexminimum.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <stdexcept>

namespace ages {

namespace {

struct Vertex {
    std::vector<double> point;
    double value = 0;
};

// c + t (x - c): reflection t = -1, expansion -2, outside contraction -1/2, inside contraction 1/2.
std::vector<double> along(
    const std::vector<double>& centroid, const std::vector<double>& x, double t)
{
    std::vector<double> point(x.size());
    for (std::size_t i = 0; i < x.size(); ++i)
        point[i] = centroid[i] + t * (x[i] - centroid[i]);
    return point;
}

} // namespace

SimplexMinimum simplexMinimum(const std::function<double(const std::vector<double>&)>& f,
    const std::vector<double>& start, const std::vector<double>& steps,
    const SimplexSettings& settings)
{
    const std::size_t n = start.size();
    if (n == 0 || steps.size() != n)
        throw std::invalid_argument("a simplex needs a start and one step per parameter");
    int evaluations = 0;
    const auto evaluate = [&](std::vector<double> point) {
        ++evaluations;
        double value = f(point);
        if (std::isnan(value))
            value = std::numeric_limits<double>::infinity();
        return Vertex { std::move(point), value };
    };

    std::vector<Vertex> simplex { evaluate(start) };
    for (std::size_t i = 0; i < n; ++i) {
        std::vector<double> point = start;
        point[i] += steps[i];
        Vertex vertex = evaluate(point);
        if (!std::isfinite(vertex.value)) {
            point[i] = start[i] - steps[i];
            vertex = evaluate(point);
        }
        simplex.push_back(std::move(vertex));
    }

    const auto byValue = [](const Vertex& a, const Vertex& b) { return a.value < b.value; };
    const auto converged = [&] {
        const Vertex& best = simplex.front();
        for (const Vertex& vertex : simplex) {
            if (!(vertex.value - best.value <= settings.valueTolerance))
                return false;
            for (std::size_t i = 0; i < n; ++i) {
                if (std::abs(vertex.point[i] - best.point[i])
                    > settings.stepTolerance * std::abs(steps[i]))
                    return false;
            }
        }
        return true;
    };

    std::stable_sort(simplex.begin(), simplex.end(), byValue);
    while (evaluations < settings.maxEvaluations && !converged()) {
        std::vector<double> centroid(n, 0.0);
        for (std::size_t v = 0; v < n; ++v) {
            for (std::size_t i = 0; i < n; ++i)
                centroid[i] += simplex[v].point[i] / static_cast<double>(n);
        }
        Vertex& worst = simplex.back();
        const Vertex reflected = evaluate(along(centroid, worst.point, -1));
        if (reflected.value < simplex.front().value) {
            Vertex expanded = evaluate(along(centroid, worst.point, -2));
            worst = expanded.value < reflected.value ? std::move(expanded) : reflected;
        } else if (reflected.value < simplex[n - 1].value) {
            worst = reflected;
        } else {
            // Contract towards the better of the worst and its reflection; if that fails too,
            // shrink the whole simplex towards the best vertex.
            const bool outside = reflected.value < worst.value;
            Vertex contracted = evaluate(along(centroid, worst.point, outside ? -0.5 : 0.5));
            if (contracted.value < std::min(worst.value, reflected.value)) {
                worst = std::move(contracted);
            } else {
                for (std::size_t v = 1; v <= n; ++v)
                    simplex[v] = evaluate(along(simplex.front().point, simplex[v].point, 0.5));
            }
        }
        std::stable_sort(simplex.begin(), simplex.end(), byValue);
    }
    return { simplex.front().point, simplex.front().value, evaluations };
}

} // namespace ages
