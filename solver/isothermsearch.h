#pragma once
// The search for an isotherm at every time level, fed with the field's rows in node order.
//
// The plain way gathers each time level's column and scans it from the surface down for the
// first interval between neighbouring nodes that holds the temperature (interpl). Here the rows
// come from the surface down instead, two neighbours at a time, and each level still open takes
// the first interval that holds the temperature: the same interval, and the same interpolation,
// bit for bit. The rows may come in separate stretches, each searched on its own (on different
// threads) and the results merged from the surface down: the shallower stretch wins a level.

#include <cstdint>
#include <span>
#include <vector>

namespace erosion {

class IsothermSearch {
public:
    // A search for temperature over levelCount time levels, nothing found yet.
    IsothermSearch(double temperature, int levelCount);

    double temperature() const { return m_temperature; }
    // The levels not found yet.
    int openLevels() const { return m_openLevels; }

    // Forgets what was found: ready for another stretch of rows.
    void restart();

    // The interval between two neighbouring nodes, upper (coordinate zUpper) above lower
    // (zLower), each row holding the temperatures at every level; looked at by every level
    // still open.
    void searchInterval(
        std::span<const double> upper, std::span<const double> lower, double zUpper, double zLower);

    // Takes, for every level still open here, what deeper found: deeper searched the rows below
    // everything this search has seen.
    void takeFrom(const IsothermSearch& deeper);

    // The node coordinate of the isotherm at each level, and 0 where it was not found, as
    // isothermDepths gives it.
    std::span<const double> depths() const { return m_depths; }

private:
    double m_temperature;
    std::vector<double> m_depths;
    std::vector<std::uint8_t> m_found;
    int m_openLevels;
};

} // namespace erosion
