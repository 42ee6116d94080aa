#include "geothermviewer.h"

#include "resultpaths.h"

#include <cmath>

namespace {

// One geotherm per output time, curve 0 for the first time to curve 3 for the last.
const QStringList geothermFiles {
    QString::fromLatin1(resultpath::transient::geotherm[0]),
    QString::fromLatin1(resultpath::transient::geotherm[1]),
    QString::fromLatin1(resultpath::transient::geotherm[2]),
    QString::fromLatin1(resultpath::transient::geotherm[3]),
};

ViewerStyle geothermStyle()
{
    const QString myrs = QStringLiteral(" Myrs");
    return {
        .titlePrefix = QStringLiteral("GEOTHERMS: 1D TRANSIENT EROSION, EROSION RATE = "),
        .titleSuffix = QStringLiteral(" mm/yr"),
        .xCaption = QStringLiteral("Temperature (C)"),
        .yCaption = QStringLiteral("Depth (m)"),
        .legend = LegendAnchor { .fromRight = 135, .top = 45 },
        .legendRows = {
            { .label = 2, .text = myrs, .colour = Qt::black, .lineStyle = Qt::SolidLine },
            { .label = 3, .text = myrs, .colour = Qt::blue, .lineStyle = Qt::DashLine },
            { .label = 4, .text = myrs, .colour = Qt::darkGreen, .lineStyle = Qt::DotLine },
            { .label = 5, .text = myrs, .colour = Qt::green, .lineStyle = Qt::DashDotLine },
        },
        .yGridEvery = 1,
        .curvePenWidths = {},
        .pngPath = QStringLiteral("../output/plots/image_geotherm.png"),
    };
}

} // namespace

int geothermTemperatureTop(double temperature)
{
    // The product with the constant 0.01, not a division by 100, as the window has always
    // been computed; the two can differ in the last bit.
    return truncateToInt(std::ceil(temperature * 0.01) * 100);
}

FirstView startGeotherm(const QStringList& arguments, const QDir& runDir)
{
    FirstView view;
    const double modelDepth = wordToInt(arguments[0]);
    for (int label = 0; label < 5; ++label)
        view.labels[label] = arguments[label + 1];

    SeriesReader reader;
    for (const QString& file : geothermFiles)
        view.curves.push_back(reader.readSeries(runDir.filePath(file)));

    // The words left in the buffers are the last record read: in complete files the bottom
    // node of the last geotherm, normally the hottest temperature of the plot.
    view.bounds.xMin = wordToInt(arguments[6]);
    view.bounds.xMax = geothermTemperatureTop(wordToDouble(reader.firstWord()));
    view.bounds.yMin = -modelDepth;
    view.bounds.yMax = 0;
    return view;
}

const ViewerDefinition& geothermViewer()
{
    static const ViewerDefinition viewer {
        .program = QStringLiteral("plot_geotherm"),
        .argumentNames
        = { "MODEL_DEPTH", "EROSION_RATE", "TIME1", "TIME2", "TIME3", "TIME4", "MIN_TEMPERATURE" },
        .caption = QStringLiteral("MORVA - 1D TRANSIENT EROSION-GEOTHERMS - BRENMOOR"),
        .style = geothermStyle(),
        .start = startGeotherm,
    };
    return viewer;
}
