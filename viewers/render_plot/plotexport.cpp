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

#include <cmath>

namespace {

constexpr double pointsPerInch = 72.0;
constexpr double metresPerInch = 0.0254;

// The colour a viewer's canvas is filled with: the light colour of the application's palette.
QColor canvasBackground()
{
    return QApplication::palette().color(QPalette::Light);
}

// Draws the window's picture scaled to the device: through the painter's transformation, or
// (an image) through its device pixel ratio, which also keeps curve vertices on its own pixels.
bool paintOn(QPaintDevice& device, const PlotPicture& picture, bool scaleByPainter)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    if (scaleByPainter)
        painter.scale(picture.scale(), picture.scale());
    PlotRenderer::paint(painter, picture.state, picture.windowSize(), canvasBackground());
    return painter.end();
}

QString exportPng(const PlotPicture& picture, const QString& fileName)
{
    // Opaque, as the canvas of a window; at scale 1 one image pixel per window pixel.
    QImage image(picture.size, QImage::Format_RGB32);
    if (image.isNull())
        return QStringLiteral("no image of %1 x %2 pixels can be made")
            .arg(picture.size.width())
            .arg(picture.size.height());
    const int dotsPerMetre = qRound(picture.dotsPerInch / metresPerInch);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(canvasBackground()); // the last row and column a scaled window may not reach
    // Enlarged, the image's pixel ratio keeps curve vertices on its own finer pixels, as on a
    // dense screen; the toolkit does not draw at ratios below 1, where the painter scales.
    const bool enlarged = picture.scale() >= 1.0;
    if (enlarged)
        image.setDevicePixelRatio(picture.scale());
    if (!paintOn(image, picture, !enlarged))
        return QStringLiteral("the picture could not be drawn");
    return writePictureFile(
        fileName, [&image](QIODevice& file) { return image.save(&file, "PNG"); });
}

QString exportPdf(const PlotPicture& picture, const QString& fileName)
{
    return writePictureFile(fileName, [&picture](QIODevice& file) {
        // One page of exactly the picture's size: W x H device units at the picture's dots per
        // inch (96 by default: a 1000-pixel picture is 750 points wide), with no margins.
        QPdfWriter writer(&file);
        writer.setResolution(picture.dotsPerInch);
        writer.setPageSize(QPageSize(
            QSizeF(picture.size) * pointsPerInch / picture.dotsPerInch, QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        writer.setTitle(picture.title);
        writer.setCreator(QStringLiteral("render_plot"));
        return paintOn(writer, picture, true);
    });
}

QString exportSvg(const PlotPicture& picture, const QString& fileName)
{
    return writePictureFile(fileName, [&picture](QIODevice& file) {
        QSvgGenerator generator;
        generator.setOutputDevice(&file);
        generator.setSize(picture.size);
        generator.setViewBox(QRect(QPoint(0, 0), picture.size));
        generator.setResolution(picture.dotsPerInch);
        generator.setTitle(picture.title);
        return paintOn(generator, picture, true);
    });
}

} // namespace

QSize PlotPicture::windowSize() const
{
    const double factor = scale();
    return { static_cast<int>(std::ceil(size.width() / factor)),
        static_cast<int>(std::ceil(size.height() / factor)) };
}

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
