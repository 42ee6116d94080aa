#include "plotexport.h"

#include "picturefile.h"
#include "plotrenderer.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPalette>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace {

constexpr double pointsPerInch = 72.0;
// The resolution of a screen at scale 1: a 1000-pixel window becomes a page 750 points wide.
constexpr int exportDotsPerInch = 96;

// The colour a viewer's canvas is filled with: the light colour of the application's palette.
QColor canvasBackground()
{
    return QApplication::palette().color(QPalette::Light);
}

bool paintOn(QPaintDevice& device, const PlotPicture& picture)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    PlotRenderer::paint(painter, picture.state, picture.size, canvasBackground());
    return painter.end();
}

QString exportPng(const PlotPicture& picture, const QString& fileName)
{
    // One image pixel per window pixel, opaque, as the canvas of a window at scale 1.
    QImage image(picture.size, QImage::Format_RGB32);
    if (image.isNull())
        return QStringLiteral("no image of %1 x %2 pixels can be made")
            .arg(picture.size.width())
            .arg(picture.size.height());
    if (!paintOn(image, picture))
        return QStringLiteral("the picture could not be drawn");
    return writePictureFile(
        fileName, [&image](QIODevice& file) { return image.save(&file, "PNG"); });
}

QString exportPdf(const PlotPicture& picture, const QString& fileName)
{
    return writePictureFile(fileName, [&picture](QIODevice& file) {
        // One page of exactly the window's size: W x H device units at 96 dots per inch, i.e.
        // W x 72 / 96 points wide, with no margins.
        QPdfWriter writer(&file);
        writer.setResolution(exportDotsPerInch);
        writer.setPageSize(
            QPageSize(QSizeF(picture.size) * pointsPerInch / exportDotsPerInch, QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        writer.setTitle(picture.title);
        writer.setCreator(QStringLiteral("render_plot"));
        return paintOn(writer, picture);
    });
}

QString exportSvg(const PlotPicture& picture, const QString& fileName)
{
    return writePictureFile(fileName, [&picture](QIODevice& file) {
        QSvgGenerator generator;
        generator.setOutputDevice(&file);
        generator.setSize(picture.size);
        generator.setViewBox(QRect(QPoint(0, 0), picture.size));
        generator.setResolution(exportDotsPerInch);
        generator.setTitle(picture.title);
        return paintOn(generator, picture);
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

QString exportPlot(const PlotPicture& picture, const QString& fileName, ExportFormat format)
{
    switch (format) {
    case ExportFormat::Png:
        return exportPng(picture, fileName);
    case ExportFormat::Pdf:
        return exportPdf(picture, fileName);
    case ExportFormat::Svg:
        return exportSvg(picture, fileName);
    }
    return QStringLiteral("unknown format");
}
