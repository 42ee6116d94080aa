#include "plotexport.h"

#include "plotter.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <functional>

namespace {

constexpr double pointsPerInch = 72.0;

// Paints the whole picture as the Plotter paints its canvas: filled with the widget's
// background, drawn with its font and foreground colour.
void paintPicture(QPainter& painter, const Plotter& plotter)
{
    painter.fillRect(
        QRect(QPoint(0, 0), plotter.size()), plotter.palette().color(plotter.backgroundRole()));
    painter.setFont(plotter.font());
    painter.setPen(plotter.palette().color(plotter.foregroundRole()));
    painter.setBackground(plotter.palette().brush(plotter.backgroundRole()));
    const PlotRenderer picture = plotter.renderer();
    picture.drawFrame(painter);
    picture.drawSeries(painter, plotter.curves());
}

// Writes through write() into a file beside fileName that replaces it only when complete.
QString writeAtomically(const QString& fileName, const std::function<bool(QSaveFile&)>& write)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (!write(file)) {
        file.cancelWriting();
        return QStringLiteral("the picture could not be drawn into the file");
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

QString exportPdf(const Plotter& plotter, const QString& fileName)
{
    return writeAtomically(fileName, [&plotter](QSaveFile& file) {
        // One page of exactly the widget's size: W x H device units at the screen's
        // resolution, i.e. W x 72 / dpi points wide, with no margins.
        const int dpi = plotter.logicalDpiX();
        QPdfWriter writer(&file);
        writer.setResolution(dpi);
        writer.setPageSize(
            QPageSize(QSizeF(plotter.size()) * pointsPerInch / dpi, QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        writer.setTitle(plotter.windowTitle());
        writer.setCreator(QStringLiteral("render_plot"));
        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        paintPicture(painter, plotter);
        return painter.end();
    });
}

QString exportSvg(const Plotter& plotter, const QString& fileName)
{
    return writeAtomically(fileName, [&plotter](QSaveFile& file) {
        QSvgGenerator generator;
        generator.setOutputDevice(&file);
        generator.setSize(plotter.size());
        generator.setViewBox(QRect(QPoint(0, 0), plotter.size()));
        generator.setResolution(plotter.logicalDpiX());
        generator.setTitle(plotter.windowTitle());
        QPainter painter;
        if (!painter.begin(&generator))
            return false;
        paintPicture(painter, plotter);
        return painter.end();
    });
}

} // namespace

std::optional<ExportFormat> exportFormatOf(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == u"png")
        return ExportFormat::Png;
    if (suffix == u"pdf")
        return ExportFormat::Pdf;
    if (suffix == u"svg")
        return ExportFormat::Svg;
    return std::nullopt;
}

QString exportPlot(const Plotter& plotter, const QString& fileName, ExportFormat format)
{
    switch (format) {
    case ExportFormat::Png:
        return plotter.saveCanvas(fileName); // the canvas itself, as the save button writes it
    case ExportFormat::Pdf:
        return exportPdf(plotter, fileName);
    case ExportFormat::Svg:
        return exportSvg(plotter, fileName);
    }
    return QStringLiteral("unknown format");
}
