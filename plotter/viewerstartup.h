#pragma once
// Viewer start-up: what every viewer program does between main() and the event loop.
//
// A viewer is described by one ViewerDefinition: its program name and the names of its
// positional arguments, its window caption, its ViewerStyle, and a start-up function that turns
// the arguments and the data files beside the working directory into the first view (the label
// texts, the first data window and the curves). The viewer programs (runViewer) and the export
// tool build their Plotter from that description through setUpPlotter, so a window and an
// exported file show the same picture.
//
// Data files are plain text read as white-space separated words taken two at a time, the first
// word of a record the x value and the second the y value. One SeriesReader serves a whole
// start-up: its two word buffers are shared by all the files a viewer reads, and some viewers
// take their first window from the words left in them.

#include "plotbounds.h"
#include "plotstate.h"
#include "viewerstyle.h"

#include <QDir>
#include <QSize>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <stdexcept>
#include <vector>

class Plotter;

// Reads data files through the two word buffers of one viewer start-up.
class SeriesReader {
public:
    // The points of the file at path, interleaved x0, y0, x1, y1, ... in file order. A record
    // whose second word is exactly "NaN" is dropped; other words convert as plain decimals
    // (so "nan" reads as 0). A file that cannot be opened gives no records, and white space
    // after the last record adds none. A last record without its second word (a truncated
    // file) is a record read, and its words are left in the buffers, but it adds no point.
    std::vector<double> readSeries(const QString& path);

    // Reads only the first two words of the file at path into the buffers, without any test:
    // a missing or empty file leaves them empty.
    void readFirstRecord(const QString& path);

    // The number of records read by the last readSeries, dropped "NaN" ones and a truncated
    // last one included.
    int recordCount() const { return records; }

    const QString& firstWord() const { return first; }
    const QString& secondWord() const { return second; }

private:
    QString first;
    QString second;
    int records = 0;
};

// The word converted as a plain decimal number (0 when it does not start with one).
double wordToDouble(const QString& word);
// The word converted as a plain decimal integer (sign and digits only; 0 without digits).
int wordToInt(const QString& word);
// A double truncated toward zero to an int, clamped to the int range (values beyond it, like
// an infinite temperature word, give INT_MIN or INT_MAX rather than undefined behaviour).
int truncateToInt(double value);

// What a viewer shows when it starts: the five label texts (label1 is the one in the title),
// the first data window and the curves in id order 0, 1, 2, ...
struct FirstView {
    std::array<QString, 5> labels;
    PlotBounds bounds;
    std::vector<std::vector<double>> curves;
    // A viewer whose picture depends on its data (how many curves, which marks) gives its style
    // here; the others use the style of their definition.
    std::optional<ViewerStyle> style {};
};

// Data a viewer cannot show (a file that cannot be read, a missing column, arguments that do
// not fit together): what() is one line naming the problem. The program prints it after its
// name and ends with status 1.
class ViewerStartError : public std::runtime_error {
public:
    explicit ViewerStartError(const QString& message)
        : std::runtime_error(message.toStdString())
    {
    }
};

struct ViewerDefinition {
    QString program; // the program's name, as in the usage line
    QStringList argumentNames; // one name per positional argument, for the usage line
    QString caption; // the window caption
    ViewerStyle style;
    // Builds the first view from the arguments (exactly argumentNames.size() of them) and the
    // data files, whose paths "../output/..." are taken relative to runDir.
    FirstView (*start)(const QStringList& arguments, const QDir& runDir);
    // Names of arguments that may follow the required ones, in order (none for most viewers).
    QStringList optionalArgumentNames {};
    // Options of the viewer (such as --log-y) that may stand anywhere among the arguments: they
    // are handed to start with the others but not counted.
    QStringList flags {};
};

// Every viewer window opens at (300, 300) with this size; exported pictures have it too.
inline constexpr QSize viewerWindowSize { 1000, 600 };

// The plot that viewer shows when it starts with arguments, as a plain state: its style, the
// labels, the first window and the curves. What the export tool draws.
PlotState firstPlotState(
    const ViewerDefinition& viewer, const QStringList& arguments, const QDir& runDir);

// "Usage: PROGRAM [FLAG] ... ARG1 ARG2 ... [OPTIONAL1] ...", naming the positional arguments.
QString usageLine(const ViewerDefinition& viewer);

// The arguments that count: all but the viewer's flags.
qsizetype positionalArgumentCount(const ViewerDefinition& viewer, const QStringList& arguments);
// Whether arguments has the viewer's argument count (the required ones and any number of the
// optional ones; flags not counted).
bool argumentCountFits(const ViewerDefinition& viewer, const QStringList& arguments);
// argumentCountFits; when the count does not fit, writes
// "Bad command line arguments - FIXME!!!" and the usage line to standard error.
bool checkArgumentCount(const ViewerDefinition& viewer, const QStringList& arguments);

// Gives plotter the viewer's style, caption and geometry (300, 300, 1000, 600), then the
// labels, the first window and the curves of its first view. Throws ViewerStartError when the
// viewer cannot show its data.
void setUpPlotter(Plotter& plotter, const ViewerDefinition& viewer, const QStringList& arguments,
    const QDir& runDir = QDir::current());

// The whole life of a viewer program: application object, argument check (status 1 and no
// window on a wrong count, or after the message of a ViewerStartError), one Plotter set up and
// shown, the event loop. Toolkit options such
// as -platform or -style are taken out of the arguments before they are counted.
int runViewer(int argc, char** argv, const ViewerDefinition& viewer);
