#include "viewerstartup.h"

#include "decimal.h"
#include "displaystart.h"
#include "plotter.h"

#include <QApplication>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <climits>
#include <cmath>
#include <iostream>
#include <optional>

namespace {

// The solver writes this word where an isotherm lies outside the model; such a record is not
// a point. The comparison is exact and case-sensitive.
const QString notANumberWord = QStringLiteral("NaN");

const QString wrongArgumentCountMessage = QStringLiteral("Bad command line arguments - FIXME!!!");

// Every viewer window opens at the same place and size.
constexpr int windowLeft = 300;
constexpr int windowTop = 300;

} // namespace

double wordToDouble(const QString& word)
{
    const QByteArray bytes = word.toUtf8();
    return decimal::toDouble({ bytes.constData(), static_cast<std::size_t>(bytes.size()) });
}

int wordToInt(const QString& word)
{
    const QByteArray bytes = word.toUtf8();
    return decimal::toInt({ bytes.constData(), static_cast<std::size_t>(bytes.size()) });
}

int truncateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(value);
}

std::vector<double> SeriesReader::readSeries(const QString& path)
{
    records = 0;
    std::vector<double> points;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return points; // a missing file is not reported: it gives no records
    QTextStream stream(&file);
    QString x;
    QString y;
    while (!stream.atEnd()) {
        // Each read skips white space (line ends included) and takes one word, so a record is
        // simply the next two words, whatever the line breaks.
        stream >> x >> y;
        // White space after the last record reads as two empty words: no record.
        if (x.isEmpty())
            break;
        first = x;
        second = y;
        ++records;
        // A file cut inside its last record leaves the second word empty: the record is read
        // (counted, and its words are the last read) but the point (x, 0) it would make up is
        // not drawn.
        if (y.isEmpty())
            break;
        if (y == notANumberWord)
            continue;
        points.push_back(wordToDouble(x));
        points.push_back(wordToDouble(y));
    }
    return points;
}

void SeriesReader::readFirstRecord(const QString& path)
{
    first.clear();
    second.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QTextStream stream(&file);
    stream >> first >> second;
}

PlotState firstPlotState(
    const ViewerDefinition& viewer, const QStringList& arguments, const QDir& runDir)
{
    const FirstView view = viewer.start(arguments, runDir);
    PlotState state;
    state.style = view.style ? *view.style : viewer.style;
    state.labels = view.labels;
    state.history.reset(view.bounds);
    for (std::size_t id = 0; id < view.curves.size(); ++id)
        state.curves[static_cast<int>(id)] = view.curves[id];
    return state;
}

QString usageLine(const ViewerDefinition& viewer)
{
    QStringList words;
    for (const QString& flag : viewer.flags)
        words << u'[' + flag + u']';
    words << viewer.argumentNames;
    for (const QString& optional : viewer.optionalArgumentNames)
        words << u'[' + optional + u']';
    return QStringLiteral("Usage: %1 %2").arg(viewer.program, words.join(u' '));
}

qsizetype positionalArgumentCount(const ViewerDefinition& viewer, const QStringList& arguments)
{
    return std::ranges::count_if(
        arguments, [&viewer](const QString& word) { return !viewer.flags.contains(word); });
}

bool argumentCountFits(const ViewerDefinition& viewer, const QStringList& arguments)
{
    const qsizetype count = positionalArgumentCount(viewer, arguments);
    const qsizetype required = viewer.argumentNames.size();
    return count >= required && count <= required + viewer.optionalArgumentNames.size();
}

bool checkArgumentCount(const ViewerDefinition& viewer, const QStringList& arguments)
{
    if (argumentCountFits(viewer, arguments))
        return true;
    std::cerr << wrongArgumentCountMessage.toStdString() << '\n'
              << usageLine(viewer).toStdString() << std::endl;
    return false;
}

void setUpPlotter(Plotter& plotter, const ViewerDefinition& viewer, const QStringList& arguments,
    const QDir& runDir)
{
    const FirstView view = viewer.start(arguments, runDir);
    plotter.setViewerStyle(view.style ? *view.style : viewer.style);
    plotter.setWindowTitle(viewer.caption);
    plotter.setGeometry(QRect(QPoint(windowLeft, windowTop), viewerWindowSize));

    plotter.label1 = view.labels[0];
    plotter.label2 = view.labels[1];
    plotter.label3 = view.labels[2];
    plotter.label4 = view.labels[3];
    plotter.label5 = view.labels[4];
    plotter.setBounds(view.bounds);
    for (std::size_t id = 0; id < view.curves.size(); ++id)
        plotter.setCurve(static_cast<int>(id), view.curves[id]);
}

int runViewer(int argc, char** argv, const ViewerDefinition& viewer)
{
    // The application object takes its own options (-platform, -style, ...) out of argc and
    // argv, so only the viewer's arguments remain to be counted. Without a display it cannot
    // start at all: that is said in one line, with status 1.
    std::optional<QApplication> started;
    {
        const DisplayStart start;
        started.emplace(argc, argv);
    }
    QApplication& application = *started;
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!checkArgumentCount(viewer, arguments))
        return 1;

    Plotter plotter;
    try {
        setUpPlotter(plotter, viewer, arguments);
    } catch (const ViewerStartError& error) {
        std::cerr << viewer.program.toStdString() << ": " << error.what() << std::endl;
        return 1;
    }
    plotter.show();
    return application.exec();
}
