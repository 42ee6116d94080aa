#include "periodicisothermviewer.h"

#include <algorithm>
#include <climits>

namespace {

// The topography first (curve 0), then isotherms 1 to 4 (curves 1 to 4), drawn in this order
// so that the isotherms lie over the topography where they cross it.
const QStringList periodicIsothermFiles {
    QStringLiteral("../output/periodic/isotherm/periodic_topoY.dat"),
    QStringLiteral("../output/periodic/isotherm/periodic_geo1.dat"),
    QStringLiteral("../output/periodic/isotherm/periodic_geo2.dat"),
    QStringLiteral("../output/periodic/isotherm/periodic_geo3.dat"),
    QStringLiteral("../output/periodic/isotherm/periodic_geo4.dat"),
};

// The window's top, metres above the zero level: above the highest ridge of the models shown.
constexpr double windowTop = 5000;
constexpr int profileTicks = 8;

ViewerStyle periodicIsothermStyle()
{
    return {
        .titlePrefix = QStringLiteral("STEADY STATE ISOTHERMS, EXHUMATION RATE = "),
        .titleSuffix = QStringLiteral(" mm/yr"),
        .xCaption = QStringLiteral("Distance Across Topography (m)"),
        .yCaption = QStringLiteral("Depth (m)"),
        .legend = LegendAnchor { .fromRight = 135, .top = 45 },
        .legendRows = {
            { .label = 0, .text = QStringLiteral("Topography"), .colour = Qt::black,
              .lineStyle = Qt::SolidLine, .penWidth = 5 },
            { .label = 2, .text = {}, .colour = Qt::blue, .lineStyle = Qt::DashLine },
            { .label = 3, .text = {}, .colour = Qt::darkGreen, .lineStyle = Qt::DotLine },
            { .label = 4, .text = {}, .colour = Qt::green, .lineStyle = Qt::DashDotLine },
            { .label = 5, .text = {}, .colour = Qt::red, .lineStyle = Qt::DashDotDotLine },
        },
        // The depth axis often has dozens of intervals: a grid line and a label at every
        // fourth tick keep it readable, tick marks stand at all of them.
        .yGridEvery = 4,
        // The topography (curve 0) is drawn wider than the isotherms.
        .curvePenWidths = { 5, 3, 3, 3, 3 },
        .pngPath = QStringLiteral("../output/plots/image_2D_isotherm_topography.png"),
    };
}

} // namespace

int periodicDepthTicks(int depth)
{
    // 64 bits, so that depth + 5000 and twice it cannot overflow.
    long long height = static_cast<long long>(depth) + static_cast<long long>(windowTop);
    if (height == 0)
        return 0; // zero stays divisible by ten: the rule has no end there
    while (height % 10 == 0)
        height /= 10;
    return static_cast<int>(
        std::clamp(2 * height, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

FirstView startPeriodicIsotherms(const QStringList& arguments, const QDir& runDir)
{
    FirstView view;
    const double profileWidth = wordToInt(arguments[0]);
    const int windowDepth = wordToInt(arguments[1]);
    view.bounds.xMin = profileWidth * -0.5;
    view.bounds.xMax = profileWidth * 0.5;
    view.bounds.xTicks = profileTicks;
    view.bounds.yMin = windowDepth * -1.0;
    view.bounds.yMax = windowTop;
    view.bounds.yTicks = periodicDepthTicks(windowDepth);
    for (int label = 0; label < 5; ++label)
        view.labels[label] = arguments[label + 2];

    SeriesReader reader;
    for (const QString& file : periodicIsothermFiles)
        view.curves.push_back(reader.readSeries(runDir.filePath(file)));
    return view;
}

const ViewerDefinition& periodicIsothermViewer()
{
    static const ViewerDefinition viewer {
        .program = QStringLiteral("plot_2D_isotherm_topography"),
        .argumentNames = { "PROFILE_WIDTH", "WINDOW_DEPTH", "EXHUMATION_RATE", "LABEL1", "LABEL2",
            "LABEL3", "LABEL4" },
        .caption
        = QStringLiteral("MORVA - 2D PERIODIC TOPOGRAPHY MODEL-ISOTHERMS & TOPOGRAPHY - BRENMOOR"),
        .style = periodicIsothermStyle(),
        .start = startPeriodicIsotherms,
    };
    return viewer;
}
