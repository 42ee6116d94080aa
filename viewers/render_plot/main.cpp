// render_plot VIEWER OUTFILE ARG...
//
// Writes the picture that `VIEWER ARG...` shows in its first 1000 x 600 window, built by the
// viewer's own start-up code from the same arguments and data files (relative to the working
// directory), as PNG, PDF or SVG by OUTFILE's suffix. It draws the plot's state directly and
// opens no window; without a display it runs on the offscreen platform. Errors name the problem
// and end with status 1, leaving no file.

#include "plotexport.h"
#include "viewerlist.h"

#include <QApplication>

#include <iostream>

namespace {

const QString usage = QStringLiteral("Usage: render_plot VIEWER OUTFILE.{png,pdf,svg} ARG...");

int fail(const QString& message)
{
    std::cerr << "render_plot: " << message.toStdString() << '\n';
    return 1;
}

QString knownViewers()
{
    QStringList names;
    for (const ViewerDefinition* viewer : allViewers())
        names << viewer->program;
    return names.join(QStringLiteral(", "));
}

// Without a display to connect to, the toolkit would refuse to start: draw offscreen then.
void useOffscreenPlatformWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

int renderPlot(const QStringList& arguments)
{
    if (arguments.size() < 2) {
        std::cerr << usage.toStdString() << '\n';
        return fail(QStringLiteral("a viewer and an output file are needed"));
    }
    const QString& program = arguments[0];
    const QString& outFile = arguments[1];
    const QStringList viewerArguments = arguments.mid(2);

    const ViewerDefinition* viewer = findViewer(program);
    if (!viewer)
        return fail(QStringLiteral("unknown viewer '%1' (known: %2)").arg(program, knownViewers()));
    const std::optional<ExportFormat> format = exportFormatOf(outFile);
    if (!format)
        return fail(QStringLiteral("cannot tell the format of '%1': the name must end in .png, "
                                   ".pdf or .svg")
                        .arg(outFile));
    const qsizetype required = viewer->argumentNames.size();
    const qsizetype optionalCount = viewer->optionalArgumentNames.size();
    if (viewerArguments.size() < required || viewerArguments.size() > required + optionalCount) {
        std::cerr << "render_plot: " << program.toStdString() << " takes " << required;
        if (optionalCount > 0)
            std::cerr << " to " << required + optionalCount;
        std::cerr << " arguments, " << viewerArguments.size() << " given\n"
                  << usageLine(*viewer).toStdString() << '\n';
        return 1;
    }

    std::optional<PlotState> state;
    try {
        state = firstPlotState(*viewer, viewerArguments, QDir::current());
    } catch (const ViewerStartError& error) {
        return fail(QString::fromStdString(error.what()));
    }
    const PlotPicture picture { *state, viewerWindowSize, viewer->caption };
    if (const QString error = exportPlot(picture, outFile, *format); !error.isEmpty())
        return fail(QStringLiteral("cannot write '%1': %2").arg(outFile, error));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    useOffscreenPlatformWithoutDisplay();
    QApplication application(argc, argv);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return renderPlot(arguments);
}
