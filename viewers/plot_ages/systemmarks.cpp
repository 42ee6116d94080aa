#include "systemmarks.h"

#include <map>

namespace {

const QString dodsonMethod = QStringLiteral("dodson");
const QString diffusionMethod = QStringLiteral("diffusion");

constexpr int measuredFillLighter = 160; // QColor::lighter factor
constexpr int measuredFillAlpha = 170; // of 255

} // namespace

QColor systemColour(const QString& system)
{
    static const std::map<QString, QColor> colours {
        { QStringLiteral("AHe"), QColor(Qt::red) },
        { QStringLiteral("AFT"), QColor(Qt::darkGreen) },
        { QStringLiteral("ZHe"), QColor(Qt::blue) },
        { QStringLiteral("ZFT"), QColor(Qt::darkMagenta) },
        { QStringLiteral("BAr"), QColor(Qt::darkYellow) },
        { QStringLiteral("MAr"), QColor(Qt::darkCyan) },
        { QStringLiteral("HAr"), QColor(Qt::darkRed) },
    };
    const auto found = colours.find(system);
    return found != colours.end() ? found->second : QColor(Qt::gray);
}

Qt::PenStyle methodLine(const QString& method)
{
    return method == dodsonMethod ? Qt::DashLine : Qt::SolidLine;
}

MarkerShape methodMarker(const QString& method)
{
    if (method == dodsonMethod)
        return MarkerShape::Circle;
    if (method == diffusionMethod)
        return MarkerShape::Square;
    return MarkerShape::Triangle;
}

MarkerShape systemMarker(const QString& system)
{
    static const std::map<QString, MarkerShape> shapes {
        { QStringLiteral("AHe"), MarkerShape::Square },
        { QStringLiteral("ZHe"), MarkerShape::Diamond },
        { QStringLiteral("AFT"), MarkerShape::Triangle },
        { QStringLiteral("ZFT"), MarkerShape::TriangleDown },
    };
    const auto found = shapes.find(system);
    return found != shapes.end() ? found->second : MarkerShape::Circle;
}

QColor measuredFill(const QString& system)
{
    QColor fill = systemColour(system).lighter(measuredFillLighter);
    fill.setAlpha(measuredFillAlpha);
    return fill;
}
