#include "tridiagonalsystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using numerics::TridiagonalSystem;

TEST(TridiagonalSystem, SolvesFromBothEndsForEveryLength)
{
    // Odd and even lengths meet in the middle differently; each must give A x = b.
    for (const std::size_t n : { 3u, 4u, 5u, 6u, 7u, 64u, 201u }) {
        std::vector<double> lower(n), diagonal(n), upper(n), b(n);
        for (std::size_t i = 0; i < n; ++i) {
            lower[i] = -1.0 - 0.3 * std::sin(1.0 + i);
            upper[i] = -1.0 + 0.2 * std::cos(2.0 * i);
            diagonal[i] = 3.0 + std::sin(0.5 * i);
            b[i] = std::cos(0.7 * i) + i;
        }
        TridiagonalSystem system;
        system.factor(lower, diagonal, upper);
        std::vector<double> x = b;
        system.solve(x);
        for (std::size_t i = 0; i < n; ++i) {
            const double row = (i > 0 ? lower[i] * x[i - 1] : 0.0) + diagonal[i] * x[i]
                + (i + 1 < n ? upper[i] * x[i + 1] : 0.0);
            EXPECT_NEAR(row, b[i], 1e-12 * (1.0 + std::abs(b[i]))) << "n " << n << " row " << i;
        }
    }
}
