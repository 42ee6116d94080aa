#pragma once
// Writing a plot picture to a file, for scripts and papers, without any widget.
//
// PNG holds the pixels the viewer's canvas holds, pixel for pixel what the window shows. PDF and
// SVG carry the same drawing as vectors and text, on a page of the window's pixel size at 96
// dots per inch, so that lines, fonts and layout keep the proportions of the window.
//
// A picture for a paper may have another size, resolution and text size: the plot is then drawn
// as the window would show it on a screen of textPixels / 11 times the usual pixel density, so
// that texts, margins, lines and markers all grow or shrink together and keep their proportions
// (a window of size / that factor, drawn on the finer pixels). The resolution sets the page size
// of PDF and SVG files (pixels / dotsPerInch inches) and the one written into a PNG file.

#include "plotstate.h"

#include <QSize>
#include <QString>

#include <optional>

enum class ExportFormat { Png, Pdf, Svg };

// What an export draws: a plot on a surface of a window's pixel size.
struct PlotPicture {
    // The text size of the window: 11 pixels (PlotRenderer::plotFont).
    static constexpr double windowTextPixels = 11.0;
    static constexpr int screenDotsPerInch = 96;

    PlotState state;
    QSize size; // pixels
    QString title; // the document title of PDF and SVG files
    double textPixels = windowTextPixels; // the height of the texts, in pixels of size
    int dotsPerInch = screenDotsPerInch;

    // How many pixels of the picture stand for one pixel of the window's drawing.
    double scale() const { return textPixels / windowTextPixels; }
    // The size of the window whose drawing fills the picture, size / scale() rounded up.
    QSize windowSize() const;
};

// The format that fileName's suffix names (.png, .pdf or .svg, in any letter case), if any.
std::optional<ExportFormat> exportFormatOf(const QString& fileName);

// Writes the picture to fileName. The file appears complete or not at all (it is written beside
// its final name and renamed when done); an existing file is replaced only by a complete new
// one. Returns an empty string on success, otherwise the reason of the failure.
QString exportPlot(const PlotPicture& picture, const QString& fileName, ExportFormat format);
