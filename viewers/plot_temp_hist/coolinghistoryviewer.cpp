#include "coolinghistoryviewer.h"

#include "resultpaths.h"

namespace {

const QString historyFile = QString::fromLatin1(resultpath::transient::historyPairs);

// Head room of the window above the temperature at time 0, degrees Celsius.
constexpr double headRoom = 10;

ViewerStyle coolingHistoryStyle()
{
    return {
        .titlePrefix = QStringLiteral("COOLING HISTORY: 1D TRANSIENT EROSION, EXPOSED AT = "),
        .titleSuffix = QStringLiteral(" Million yrs"),
        .xCaption = QStringLiteral("Time (million yrs)"),
        .yCaption = QStringLiteral("Temperature (Celcius)"),
        .legend = std::nullopt,
        .legendRows = {},
        .yGridEvery = 1,
        .curvePenWidths = {},
        .pngPath = QStringLiteral("../output/plots/image_temp_hist.png"),
    };
}

} // namespace

FirstView startCoolingHistory(const QStringList& arguments, const QDir& runDir)
{
    FirstView view;
    view.labels[0] = arguments[0];

    // The first record holds time 0 and the temperature of the rock when erosion began, in a
    // cooling history the hottest point; the integer part of that word (a plain integer
    // reading, so 1.000e+04 gives 1) sets the top of the window.
    SeriesReader reader;
    const QString path = runDir.filePath(historyFile);
    reader.readFirstRecord(path);
    view.bounds.xMin = 0;
    view.bounds.xMax = wordToInt(arguments[0]);
    view.bounds.yMin = wordToInt(arguments[1]);
    view.bounds.yMax = wordToInt(reader.secondWord()) + headRoom;

    view.curves.push_back(reader.readSeries(path));
    return view;
}

const ViewerDefinition& coolingHistoryViewer()
{
    static const ViewerDefinition viewer {
        .program = QStringLiteral("plot_temp_hist"),
        .argumentNames = { "EXPOSURE_TIME", "MIN_TEMPERATURE" },
        .caption = QStringLiteral("MORVA - 1D TRANSIENT EROSION-TEMPERATURE HISTORY - BRENMOOR"),
        .style = coolingHistoryStyle(),
        .start = startCoolingHistory,
    };
    return viewer;
}
