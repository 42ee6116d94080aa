#include "periodichistoryviewer.h"

#include "resultpaths.h"

namespace {

const QString ridgeFile = QString::fromLatin1(resultpath::periodic::ridgeHistory);
const QString midValleyFile = QString::fromLatin1(resultpath::periodic::midValleyHistory);
const QString valleyFile = QString::fromLatin1(resultpath::periodic::valleyHistory);

ViewerStyle periodicHistoryStyle()
{
    return {
        .titlePrefix = QStringLiteral("COOLING HISTORIES: 2D PERIODIC, EROSION RATE = "),
        .titleSuffix = QStringLiteral(" mm/yr"),
        .xCaption = QStringLiteral("Time (million yrs)"),
        .yCaption = QStringLiteral("Temperature (Celcius)"),
        .legend = LegendAnchor { .fromRight = 135, .top = 45 },
        .legendRows = {
            { .label = 2, .text = {}, .colour = Qt::black, .lineStyle = Qt::SolidLine },
            { .label = 3, .text = {}, .colour = Qt::blue, .lineStyle = Qt::DashLine },
            { .label = 4, .text = {}, .colour = Qt::darkGreen, .lineStyle = Qt::DotLine },
        },
        .yGridEvery = 1,
        .curvePenWidths = {},
        .pngPath = QStringLiteral("../output/plots/image_2D_temp_hist.png"),
    };
}

} // namespace

FirstView startPeriodicHistories(const QStringList& arguments, const QDir& runDir)
{
    FirstView view;
    view.labels = { arguments[0], QStringLiteral("Ridge"), QStringLiteral("Mid-Valley"),
        QStringLiteral("Valley"), QString() };

    // The histories run forward to time 0, the moment of exposure; the ridge file's first
    // record holds their starting time, whichever sign it has.
    SeriesReader reader;
    const QString ridge = runDir.filePath(ridgeFile);
    reader.readFirstRecord(ridge);
    view.bounds.xMin = wordToInt(reader.firstWord());
    view.bounds.xMax = 0;

    // The ridge rock ends highest and coldest (the surface cools with height): its last
    // temperature, at exposure, is the window's bottom, taken from the last record read
    // whether or not it was "NaN".
    view.curves.push_back(reader.readSeries(ridge));
    view.bounds.yMin = wordToInt(reader.secondWord());
    view.curves.push_back(reader.readSeries(runDir.filePath(midValleyFile)));
    view.curves.push_back(reader.readSeries(runDir.filePath(valleyFile)));

    // The valley rock starts deepest and hottest: its first temperature is the window's top.
    reader.readFirstRecord(runDir.filePath(valleyFile));
    view.bounds.yMax = wordToInt(reader.secondWord());
    return view;
}

const ViewerDefinition& periodicHistoryViewer()
{
    static const ViewerDefinition viewer {
        .program = QStringLiteral("plot_2D_temp_hist"),
        .argumentNames = { "EROSION_RATE" },
        .caption = QStringLiteral(
            "MORVA - TEMPERATURE HISTORIES: 2D PERIODIC-TEMPERATURE HISTORY - BRENMOOR"),
        .style = periodicHistoryStyle(),
        .start = startPeriodicHistories,
    };
    return viewer;
}
