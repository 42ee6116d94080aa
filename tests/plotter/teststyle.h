#pragma once
// A small ViewerStyle for the framework's tests: a title with label1, both captions, a legend box
// at the usual place with two rows, every y tick annotated.

#include "viewerstyle.h"

inline ViewerStyle testStyle(const QString& pngPath = {})
{
    ViewerStyle style;
    style.titlePrefix = QStringLiteral("TEST PLOT, RATE = ");
    style.titleSuffix = QStringLiteral(" mm/yr");
    style.xCaption = QStringLiteral("Temperature (C)");
    style.yCaption = QStringLiteral("Depth (m)");
    style.legend = LegendAnchor { 135, 45 };
    style.legendRows = { { 2, QStringLiteral(" Myr"), Qt::black, Qt::SolidLine, 3 },
        { 0, QStringLiteral("model"), Qt::blue, Qt::DashLine, 3 } };
    style.pngPath = pngPath;
    return style;
}

// The same without a legend box, for pictures whose plot area must stay clear.
inline ViewerStyle plainStyle()
{
    ViewerStyle style = testStyle();
    style.legend.reset();
    style.legendRows.clear();
    return style;
}
