#include "isothermdepthviewer.h"

#include "resultpaths.h"

#include <cmath>

namespace {

// One file per isotherm; curve 0 is the first isotherm temperature, curve 3 the fourth.
const QStringList isothermFiles {
    QString::fromLatin1(resultpath::transient::isotherm[0]),
    QString::fromLatin1(resultpath::transient::isotherm[1]),
    QString::fromLatin1(resultpath::transient::isotherm[2]),
    QString::fromLatin1(resultpath::transient::isotherm[3]),
};

ViewerStyle isothermDepthStyle()
{
    const QString celsius = QStringLiteral(" C");
    return {
        .titlePrefix = QStringLiteral(
            "CLOSURE TEMPERATURE DEPTH: 1D TRANSIENT EROSION, EROSION RATE = "),
        .titleSuffix = QStringLiteral(" mm/yr"),
        .xCaption = QStringLiteral("Time (Million yrs)"),
        .yCaption = QStringLiteral("Depth (m)"),
        // Anchored 470 pixels below the top edge: near the bottom right corner of a window of
        // the first size, clear of isotherms that start deep and rise towards the surface.
        .legend = LegendAnchor { .fromRight = 140, .top = 470 },
        .legendRows = {
            { .label = 2, .text = celsius, .colour = Qt::black, .lineStyle = Qt::SolidLine },
            { .label = 3, .text = celsius, .colour = Qt::blue, .lineStyle = Qt::DashLine },
            { .label = 4, .text = celsius, .colour = Qt::darkGreen, .lineStyle = Qt::DotLine },
            { .label = 5, .text = celsius, .colour = Qt::green, .lineStyle = Qt::DashDotLine },
        },
        .yGridEvery = 1,
        .curvePenWidths = {},
        // The one viewer that saves below its working directory rather than beside it.
        .pngPath = QStringLiteral("./output/plots/image_temp_time.png"),
    };
}

} // namespace

int isothermDepthBottom(double coordinate)
{
    return truncateToInt((std::floor(coordinate * 0.001) - 2) * 1000);
}

FirstView startIsothermDepth(const QStringList& arguments, const QDir& runDir)
{
    FirstView view;
    for (int label = 0; label < 5; ++label)
        view.labels[label] = arguments[label + 1];

    SeriesReader reader;
    for (const QString& file : isothermFiles)
        view.curves.push_back(reader.readSeries(runDir.filePath(file)));
    // Every time level of the fourth file is a record, also those where the isotherm lies
    // outside the model ("NaN"): the x window spans all of them.
    const int timeLevels = reader.recordCount();

    // The fourth isotherm at time level 0 sets the depth of the window.
    reader.readFirstRecord(runDir.filePath(isothermFiles.back()));

    view.bounds.xMin = 0;
    view.bounds.xMax = timeLevels - 1;
    view.bounds.yMin = isothermDepthBottom(wordToDouble(reader.secondWord()));
    view.bounds.yMax = 0;
    return view;
}

const ViewerDefinition& isothermDepthViewer()
{
    static const ViewerDefinition viewer {
        .program = QStringLiteral("plot_temp_time"),
        .argumentNames
        = { "ANY", "EROSION_RATE", "ISOTHERM1", "ISOTHERM2", "ISOTHERM3", "ISOTHERM4" },
        .caption = QStringLiteral("MORVA - 1D TRANSIENT EROSION-ISOTHERM DEPTH HISTORY - BRENMOOR"),
        .style = isothermDepthStyle(),
        .start = startIsothermDepth,
    };
    return viewer;
}
