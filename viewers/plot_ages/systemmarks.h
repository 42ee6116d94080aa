#pragma once
// How the age plots tell systems and methods apart, the same way in every picture.
//
// Each system keeps one colour (AHe red, AFT dark green, ZHe blue, ZFT magenta, BAr olive, MAr
// teal, HAr dark red; any other grey). A predicted curve's line says its method (dashed for
// Dodson's closure temperature, solid for the kinetic models) and a predicted point's marker
// too (circle, square, triangle for dodson, diffusion, annealing). A measured age's marker says
// its system, so that two systems stay apart also where colours are hard to tell: helium ages
// squares (apatite) and diamonds (zircon), fission-track ages triangles (apatite up, zircon
// down), argon ages circles. Measured markers are filled with a translucent light shade of the
// colour, so that markers that touch both show.

#include "curvestyle.h"

#include <QColor>
#include <QString>

QColor systemColour(const QString& system);
Qt::PenStyle methodLine(const QString& method);
MarkerShape methodMarker(const QString& method);
MarkerShape systemMarker(const QString& system);
QColor measuredFill(const QString& system);
// A marker drawn hollow: a prediction that is only a minimum age (the grain was not reset).
inline const QColor hollowFill = Qt::white;
