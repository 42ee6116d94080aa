#pragma once
// Writing a plot picture to a file, for scripts and papers, without any widget.
//
// PNG holds the pixels the viewer's canvas holds, pixel for pixel what the window shows. PDF and
// SVG carry the same drawing as vectors and text, on a page of the window's pixel size at 96
// dots per inch, so that lines, fonts and layout keep the proportions of the window.

#include "plotstate.h"

#include <QSize>
#include <QString>

#include <optional>

enum class ExportFormat { Png, Pdf, Svg };

// What an export draws: a plot on a surface of a window's pixel size.
struct PlotPicture {
    PlotState state;
    QSize size;
    QString title; // the document title of PDF and SVG files
};

// The format that fileName's suffix names (.png, .pdf or .svg, in any letter case), if any.
std::optional<ExportFormat> exportFormatOf(const QString& fileName);

// Writes the picture to fileName. The file appears complete or not at all (it is written beside
// its final name and renamed when done); an existing file is replaced only by a complete new
// one. Returns an empty string on success, otherwise the reason of the failure.
QString exportPlot(const PlotPicture& picture, const QString& fileName, ExportFormat format);
