#include "numberformat.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace erosion {
namespace {

// A finite nonzero magnitude rounded to 4 significant digits is significand x 10^(exponent - 3)
// with significand in [1000, 9999]: the digits d.ddd and the decimal exponent of printf's %e.
constexpr int significantDigits = 4;
constexpr double smallestSignificand = 1000.0; // 10^(significantDigits - 1)
constexpr double significandLimit = 10000.0; // 10^significantDigits

// %g writes fixed notation for decimal exponents -4 .. significantDigits - 1 of the rounded value.
constexpr int minFixedExponent = -4;
constexpr int maxFixedExponent = significantDigits - 1;

// 10^0 .. 10^22, the powers of ten a double holds exactly (5^22 < 2^53).
constexpr std::array<double, 23> exactPowerOfTen = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8,
    1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22 };
constexpr int maxExactPower = static_cast<int>(exactPowerOfTen.size()) - 1;

// The fast path scales by a single exact power of ten, 10^(3 - e) with |3 - e| <= 22; every
// other magnitude is below 1e-19 or above 1e25 and so is written in exponent notation.
constexpr int minFastExponent = significantDigits - 1 - maxExactPower;
constexpr int maxFastExponent = significantDigits - 1 + maxExactPower;
static_assert(minFastExponent < minFixedExponent - 1 && maxFastExponent > maxFixedExponent + 1);

// The four digits of every number 0000 .. 9999, as text: one load per significand. Along a row
// of the field the significands change slowly, so the 40 kB in use stay in the cache.
constexpr std::array<std::array<char, 4>, 10000> fourDigits = [] {
    std::array<std::array<char, 4>, 10000> table {};
    for (int i = 0; i < 10000; ++i) {
        table[i] = { static_cast<char>('0' + i / 1000), static_cast<char>('0' + i / 100 % 10),
            static_cast<char>('0' + i / 10 % 10), static_cast<char>('0' + i % 10) };
    }
    return table;
}();

// 2^52: the doubles from here to 2^53 are the whole numbers.
constexpr double roundingShift = 4503599627370496.0;

struct RoundedDecimal {
    int significand; // 1000 .. 9999
    int exponent; // decimal exponent of the rounded value
};

int sign(double x)
{
    return (x > 0) - (x < 0);
}

// The exact value X = magnitude x 10^power, held as its nearest double. Products and quotients
// of doubles are correctly rounded, so for any double c: nearest > c implies X > c and nearest < c
// implies X < c. Only when nearest == c does the sign of the rounding error decide, and that
// error is exactly representable and recovered with one fused multiply-add (for a quotient q of
// m / P the remainder m - q P is exact). That case is rare, so the error is computed on demand.
class ScaledMagnitude {
public:
    ScaledMagnitude(double magnitude, int power)
        : magnitude_(magnitude)
        , scale_(exactPowerOfTen[static_cast<std::size_t>(power < 0 ? -power : power)])
        , divided_(power < 0)
        , nearest_(divided_ ? magnitude / scale_ : magnitude * scale_)
    {
    }

    double nearest() const { return nearest_; }

    // The sign of X - c, exact.
    int compare(double c) const
    {
        if (nearest_ != c)
            return nearest_ < c ? -1 : 1;
        // X - nearest = error for a product, remainder / scale for a quotient.
        return divided_ ? sign(std::fma(-nearest_, scale_, magnitude_))
                        : sign(std::fma(magnitude_, scale_, -nearest_));
    }

private:
    double magnitude_;
    double scale_;
    bool divided_;
    double nearest_;
};

// floor(binaryExponent x log10(2)) for |binaryExponent| <= 1650, without a logarithm.
int decimalExponentEstimate(int binaryExponent)
{
    return (binaryExponent * 78913) >> 18;
}

// 10^e for e = minFastExponent .. maxFastExponent + 1, to within rounding (exact up to 10^22):
// the magnitude's decimal exponent is the estimate or one more, and a comparison with the next
// power decides, but for magnitudes within rounding of a power of ten, which roundExactly settles.
constexpr std::array<double, maxFastExponent - minFastExponent + 2> nearPowerOfTen = [] {
    std::array<double, maxFastExponent - minFastExponent + 2> powers {};
    for (int e = minFastExponent; e <= maxFastExponent + 1; ++e) {
        double power = 1.0;
        for (int k = 0; k < (e < 0 ? -e : e); ++k)
            power *= 10.0; // exact up to 10^22
        powers[static_cast<std::size_t>(e - minFastExponent)] = e < 0 ? 1.0 / power : power;
    }
    return powers;
}();

// Rounds a finite positive magnitude to 4 significant digits, to nearest with ties to even
// (printf in the default rounding mode), starting from an estimate of its decimal exponent that
// may be one off. Returns false when the magnitude lies outside the range of the fast path.
// Exact in every case, it serves the magnitudes that lie within rounding of a power of ten or of
// a rounding boundary, which the quick path below leaves to it.
[[gnu::noinline]] bool roundExactly(double magnitude, int exponent, RoundedDecimal& rounded)
{
    // Settle the decimal exponent e so that 1000 <= magnitude x 10^(3 - e) < 10000 holds exactly.
    for (;;) {
        if (exponent < minFastExponent || exponent > maxFastExponent)
            return false;
        const ScaledMagnitude scaled(magnitude, significantDigits - 1 - exponent);
        if (scaled.compare(smallestSignificand) < 0) {
            --exponent;
            continue;
        }
        if (scaled.compare(significandLimit) >= 0) {
            ++exponent;
            continue;
        }
        // The nearest integer to X is floor(nearest) (the truncation, as nearest > 0) or the next
        // one up; the half-way point between them is a double, so the comparison is exact.
        int significand = static_cast<int>(scaled.nearest());
        const int side = scaled.compare(significand + 0.5);
        if (side > 0 || (side == 0 && significand % 2 != 0))
            ++significand;
        if (significand == static_cast<int>(significandLimit)) { // 9999.5 .. carries to 10^e+1
            significand = static_cast<int>(smallestSignificand);
            ++exponent;
        }
        rounded = { significand, exponent };
        return true;
    }
}

// The same, quickly, for the magnitudes whose scaled value lies clear of 1000, 10000 and the
// half-way points: there the nearest double of the scaled value decides every comparison
// exactly (see ScaledMagnitude), and the rounding error never needs to be looked at.
[[gnu::always_inline]] inline bool roundFast(
    double magnitude, int binaryExponent, RoundedDecimal& rounded)
{
    // The decimal exponent is the estimate or one more: the next power of ten decides.
    int exponent = decimalExponentEstimate(binaryExponent);
    if (exponent < minFastExponent || exponent > maxFastExponent) [[unlikely]]
        return false;
    exponent
        += magnitude >= nearPowerOfTen[static_cast<std::size_t>(exponent + 1 - minFastExponent)];
    if (exponent > maxFastExponent) [[unlikely]]
        return false;

    const int power = significantDigits - 1 - exponent;
    const double scaled = power >= 0
        ? magnitude * exactPowerOfTen[static_cast<std::size_t>(power)]
        : magnitude / exactPowerOfTen[static_cast<std::size_t>(-power)];
    if (!(scaled > smallestSignificand && scaled < significandLimit)) [[unlikely]]
        return roundExactly(magnitude, exponent, rounded);
    // Adding 2^52 leaves the integer nearest to scaled (ties to even) in the low bits of the
    // sum's significand. It is the integer nearest to X too unless scaled is itself half-way
    // between two integers (a double, so X lies on the same side of every other half-way point).
    const double shifted = scaled + roundingShift;
    if (std::fabs(scaled - (shifted - roundingShift)) == 0.5) [[unlikely]]
        return roundExactly(magnitude, exponent, rounded);
    int significand = static_cast<int>(std::bit_cast<std::uint64_t>(shifted) & 0xffff'ffffU);
    if (significand == static_cast<int>(significandLimit)) { // 9999.5 .. carries to 10^e+1
        significand = static_cast<int>(smallestSignificand);
        ++exponent;
    }
    rounded = { significand, exponent };
    return true;
}

[[gnu::always_inline]] inline char* writeRounded(bool negative, RoundedDecimal rounded, char* out)
{
    const char* digits = fourDigits[static_cast<std::size_t>(rounded.significand)].data();
    *out = '-';
    out += negative;
    const int e = rounded.exponent;
    if (e >= 0 && e <= maxFixedExponent) [[likely]] {
        // d.ddd  dd.dd  ddd.d  dddd.: the e + 1 leading digits, the point, the other digits.
        const int leading = e + 1;
        if constexpr (std::endian::native == std::endian::little) {
            // All in one 8-byte word, the first character in its lowest byte.
            std::uint32_t digitBytes = 0;
            std::memcpy(&digitBytes, digits, significantDigits);
            const auto leadingBits = static_cast<unsigned>(8 * leading);
            const std::uint64_t leadingMask = (std::uint64_t { 1 } << leadingBits) - 1;
            const std::uint64_t text = (digitBytes & leadingMask)
                | (std::uint64_t { '.' } << leadingBits) | ((digitBytes & ~leadingMask) << 8);
            std::memcpy(out, &text, sizeof text);
        } else {
            std::memcpy(out, digits, significantDigits);
            std::memmove(out + leading + 1, out + leading,
                static_cast<std::size_t>(significantDigits - leading));
            out[leading] = '.';
        }
        return out + significantDigits + 1;
    }
    if (e < 0 && e >= minFixedExponent) { // 0.dddd  0.0dddd  0.00dddd  0.000dddd
        std::memcpy(out, "0.000", 5);
        out += 1 - e;
        std::memcpy(out, digits, significantDigits);
        return out + significantDigits;
    }
    // d.ddde+XX (two exponent digits here)
    out[0] = digits[0];
    out[1] = '.';
    std::memcpy(out + 2, digits + 1, 3);
    out[5] = 'e';
    out[6] = e < 0 ? '-' : '+';
    std::memcpy(out + 7, fourDigits[static_cast<std::size_t>(e < 0 ? -e : e)].data() + 2, 2);
    return out + 9;
}

[[gnu::noinline]] char* formatRare(double value, char* out)
{
    const bool negative = std::signbit(value);
    const char* text = nullptr;
    if (std::isnan(value))
        text = negative ? "-nan" : "nan";
    else if (std::isinf(value))
        text = negative ? "-inf" : "inf";
    else if (value == 0)
        text = negative ? "-0.000" : "0.000";
    if (text) {
        const std::size_t length = std::strlen(text);
        std::memcpy(out, text, length);
        return out + length;
    }
    // Below 1e-19 or above 1e25 (subnormals included) %#.4g is %.3e, which is exactly what
    // to_chars writes in scientific form with 3 decimals: correctly rounded, locale-free.
    return std::to_chars(
        out, out + maxNumberLength, value, std::chars_format::scientific, significantDigits - 1)
        .ptr;
}

[[gnu::always_inline]] inline char* formatOne(double value, char* out)
{
    constexpr int significandBits = 52;
    constexpr unsigned exponentMask = 0x7ff;
    constexpr int exponentBias = 1023;
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const auto biasedExponent = static_cast<unsigned>(bits >> significandBits) & exponentMask;
    RoundedDecimal rounded {};
    // Normal numbers (neither zero, subnormal, infinite nor NaN) in the fast range.
    if (biasedExponent != 0 && biasedExponent != exponentMask
        && roundFast(std::fabs(value), static_cast<int>(biasedExponent) - exponentBias, rounded))
        [[likely]]
        return writeRounded(bits >> 63 != 0, rounded, out);
    return formatRare(value, out);
}

} // namespace

char* formatNumber(double value, char* out)
{
    return formatOne(value, out);
}

char* formatSpacedNumbers(std::span<const double> values, char* out)
{
    for (const double value : values) {
        *out++ = ' ';
        out = formatOne(value, out);
    }
    return out;
}

std::string formatNumber(double value)
{
    char buffer[maxNumberLength];
    return std::string(buffer, formatNumber(value, buffer));
}

char* formatNumberPlain(double value, char* out)
{
    // The program never changes LC_NUMERIC, so snprintf runs in the "C" locale here.
    char buffer[maxNumberLength + 8];
    const int length = std::snprintf(buffer, sizeof buffer, "%#.4g", value);
    std::memcpy(out, buffer, static_cast<std::size_t>(length));
    return out + length;
}

} // namespace erosion
