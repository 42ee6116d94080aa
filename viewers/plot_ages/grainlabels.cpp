#include "grainlabels.h"

#include "textformat.h"

#include <QStringList>

GrainKey grainOf(const Residual& r)
{
    return { r.system, r.method, r.radius, r.uranium, r.thorium, r.samarium, r.dpar };
}

GrainKey grainOf(const PredictedAge& age)
{
    return { age.system, age.method, age.radius, age.uranium, age.thorium, age.samarium, age.dpar };
}

QString shortNumber(double value)
{
    constexpr int significant = 3;
    return QString::fromStdString(textformat::number(value, significant));
}

// The effective uranium weighs each parent by its alpha production relative to 238U,
// eU = U + 0.238 Th + 0.0012 Sm (ppm), the one number that sets a grain's helium and damage.
QString grainText(const GrainKey& grain)
{
    constexpr double thoriumWeight = 0.238;
    constexpr double samariumWeight = 0.0012;
    QStringList words { grain.system };
    if (grain.radius)
        words << QStringLiteral("r=%1 um").arg(shortNumber(*grain.radius));
    if (grain.uranium || grain.thorium || grain.samarium)
        words << QStringLiteral("eU=%1 ppm")
                     .arg(shortNumber(grain.uranium.value_or(0.0)
                         + thoriumWeight * grain.thorium.value_or(0.0)
                         + samariumWeight * grain.samarium.value_or(0.0)));
    if (grain.dpar)
        words << QStringLiteral("Dpar=%1 um").arg(shortNumber(*grain.dpar));
    if (words.size() == 1)
        words << grain.method;
    return words.join(u' ');
}
