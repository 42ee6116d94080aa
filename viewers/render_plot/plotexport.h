#pragma once
// Writing the picture of a Plotter to a file, for scripts and papers.
//
// PNG is the Plotter's canvas itself, pixel for pixel what the window shows. PDF and SVG carry
// the same drawing as vectors and text, on a page of the widget's pixel size at the screen's
// resolution, so that lines, fonts and layout keep the proportions of the window.

#include <QString>

#include <optional>

class Plotter;

enum class ExportFormat { Png, Pdf, Svg };

// The format that fileName's suffix names (.png, .pdf or .svg, in any letter case), if any.
std::optional<ExportFormat> exportFormatOf(const QString& fileName);

// Writes the plotter's picture to fileName. The file appears complete or not at all (it is
// written beside its final name and renamed when done); an existing file is replaced only by a
// complete new one. Returns an empty string on success, otherwise the reason of the failure.
QString exportPlot(const Plotter& plotter, const QString& fileName, ExportFormat format);
