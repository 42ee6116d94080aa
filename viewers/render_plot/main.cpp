// render_plot [--width PX] [--height PX] [--font-size PT] [--dpi N] VIEWER OUTFILE ARG...
//
// Writes the picture that `VIEWER ARG...` shows in its first window, built by the viewer's own
// start-up code from the same arguments and data files (relative to the working directory), as
// PNG, PDF or SVG by OUTFILE's suffix. By default the picture is the 1000 x 600 window itself;
// the options before VIEWER give it another size, text size and resolution, for a figure that
// fits a journal's column. It draws the plot's state directly and opens no window; without a
// display it runs on the offscreen platform. Errors name the problem and end with status 1,
// leaving no file.

#include "plotexport.h"
#include "strictnumber.h"
#include "viewerlist.h"

#include <CLI/CLI.hpp>

#include <QApplication>

#include <cmath>
#include <iostream>
#include <optional>
#include <variant>

namespace {

const QString usage = QStringLiteral(
    "Usage: render_plot [--width PX] [--height PX] [--font-size PT] [--dpi N] VIEWER "
    "OUTFILE.{png,pdf,svg} ARG...");

constexpr double pointsPerInch = 72.0;
// What the options accept.
constexpr int minimumPixels = 16;
constexpr int maximumPixels = 20000;
constexpr int minimumDotsPerInch = 10;
constexpr int maximumDotsPerInch = 4800;
constexpr double minimumPoints = 1.0;
constexpr double maximumPoints = 200.0;
// The drawing keeps at least the room of a window this small (window pixels), so that the
// frame, its labels and a legend still fit.
constexpr int smallestWindowWidth = 240;
constexpr int smallestWindowHeight = 160;

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

// What the options before VIEWER ask for, and the words from VIEWER on.
struct RenderRequest {
    int width = viewerWindowSize.width();
    int height = viewerWindowSize.height();
    std::optional<double> fontPoints;
    int dotsPerInch = PlotPicture::screenDotsPerInch;
    QStringList arguments;
};

// The help's usage line names the viewer and its arguments after the options.
class UsageFormatter : public CLI::Formatter {
public:
    std::string make_usage(const CLI::App* /*app*/, std::string /*name*/) const override
    {
        return usage.toStdString() + "\n";
    }
};

// A whole number option's word, strictly read and within [low, high].
std::optional<QString> readWhole(
    const std::string& option, const std::string& word, int low, int high, int& target)
{
    const std::optional<int> value = decimal::strictInt(word);
    if (!value || *value < low || *value > high)
        return QStringLiteral("%1 expects a whole number from %2 to %3, got '%4'")
            .arg(QString::fromStdString(option))
            .arg(low)
            .arg(high)
            .arg(QString::fromStdString(word));
    target = *value;
    return std::nullopt;
}

// Reads the options; on --help prints the help and gives the exit status 0, on a refused option
// prints the reason and gives 1.
std::variant<RenderRequest, int> readOptions(int argc, char** argv)
{
    RenderRequest request;
    CLI::App app("Draws a viewer's picture into a PNG, PDF or SVG file, without a window.",
        "render_plot");
    app.formatter(std::make_shared<UsageFormatter>());
    app.footer("VIEWER is one of " + knownViewers().toStdString()
        + "; its arguments (ARG...) are those of the viewer program.");
    // Everything from the first word that is not an option on belongs to VIEWER.
    app.prefix_command();
    // The words are collected as typed and read strictly below, for messages that say what a
    // value must be.
    std::string width = std::to_string(request.width);
    std::string height = std::to_string(request.height);
    std::string dotsPerInch = std::to_string(request.dotsPerInch);
    std::string fontPoints;
    app.add_option("--width", width, "picture width, pixels")
        ->type_name("PX")
        ->capture_default_str();
    app.add_option("--height", height, "picture height, pixels")
        ->type_name("PX")
        ->capture_default_str();
    app.add_option("--font-size", fontPoints,
           "text height, points at --dpi (default: the window's 11 pixels); margins, lines and "
           "markers scale with the text")
        ->type_name("PT");
    app.add_option("--dpi", dotsPerInch,
           "pixels per inch: the page size of PDF and SVG files, the resolution written into a "
           "PNG file, and the conversion of --font-size")
        ->type_name("N")
        ->capture_default_str();
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return 0;
    } catch (const CLI::ParseError& error) {
        std::cerr << usage.toStdString() << '\n';
        return fail(QString::fromStdString(error.what()));
    }
    std::optional<QString> refused = readWhole("--width", width, minimumPixels, maximumPixels,
        request.width);
    if (!refused)
        refused = readWhole("--height", height, minimumPixels, maximumPixels, request.height);
    if (!refused)
        refused = readWhole("--dpi", dotsPerInch, minimumDotsPerInch, maximumDotsPerInch,
            request.dotsPerInch);
    if (!refused && !fontPoints.empty()) {
        request.fontPoints = decimal::strictDouble(fontPoints);
        if (!request.fontPoints || !(*request.fontPoints >= minimumPoints)
            || !(*request.fontPoints <= maximumPoints))
            refused = QStringLiteral("--font-size expects a number of points from %1 to %2, got "
                                     "'%3'")
                          .arg(minimumPoints)
                          .arg(maximumPoints)
                          .arg(QString::fromStdString(fontPoints));
    }
    if (refused)
        return fail(*refused);
    for (const std::string& word : app.remaining())
        request.arguments << QString::fromLocal8Bit(word.c_str());
    return request;
}

// The picture's text size in its own pixels.
double textPixelsOf(const RenderRequest& request)
{
    if (!request.fontPoints)
        return PlotPicture::windowTextPixels;
    return *request.fontPoints * request.dotsPerInch / pointsPerInch;
}

int renderPlot(const RenderRequest& request)
{
    const QStringList& arguments = request.arguments;
    if (!arguments.isEmpty() && arguments[0].startsWith(u'-'))
        return fail(
            QStringLiteral("unknown option '%1' (see render_plot --help)").arg(arguments[0]));
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
    if (!argumentCountFits(*viewer, viewerArguments)) {
        const qsizetype required = viewer->argumentNames.size();
        const qsizetype optionalCount = viewer->optionalArgumentNames.size();
        std::cerr << "render_plot: " << program.toStdString() << " takes " << required;
        if (optionalCount > 0)
            std::cerr << " to " << required + optionalCount;
        std::cerr << " arguments, " << positionalArgumentCount(*viewer, viewerArguments)
                  << " given\n"
                  << usageLine(*viewer).toStdString() << '\n';
        return 1;
    }

    PlotPicture picture { .state = {},
        .size = QSize(request.width, request.height),
        .title = viewer->caption,
        .textPixels = textPixelsOf(request),
        .dotsPerInch = request.dotsPerInch };
    const QSize window = picture.windowSize();
    if (window.width() < smallestWindowWidth || window.height() < smallestWindowHeight)
        return fail(QStringLiteral("a picture of %1 x %2 pixels is too small for its text: give "
                                   "at least %3 x %4 pixels, or a smaller --font-size")
                        .arg(request.width)
                        .arg(request.height)
                        .arg(std::ceil(smallestWindowWidth * picture.scale()))
                        .arg(std::ceil(smallestWindowHeight * picture.scale())));
    try {
        picture.state = firstPlotState(*viewer, viewerArguments, QDir::current());
    } catch (const ViewerStartError& error) {
        return fail(QString::fromStdString(error.what()));
    }
    if (const QString error = exportPlot(picture, outFile, *format); !error.isEmpty())
        return fail(QStringLiteral("cannot write '%1': %2").arg(outFile, error));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    useOffscreenPlatformWithoutDisplay();
    QApplication application(argc, argv); // takes the toolkit's own options out of argv
    const std::variant<RenderRequest, int> request = readOptions(argc, argv);
    if (const int* status = std::get_if<int>(&request))
        return *status;
    return renderPlot(std::get<RenderRequest>(request));
}
