#pragma once
// CoordinateTip: a small tooltip-style label that shows the data coordinates under the pointer.
//
// It is a child widget laid over the plot, not part of the canvas, so saved, exported and
// printed pictures never contain it. The Plotter shows it while the pointer is over the plot
// rectangle and while a rubber band is dragged, and hides it otherwise.
//
//   tip->showAt(pointer, QPointF(x, y)); // "x = 12.5   y = -3400" beside the pointer
//   tip->hide();

#include <QLabel>
#include <QPoint>
#include <QPointF>
#include <QString>

class CoordinateTip : public QLabel {
public:
    explicit CoordinateTip(QWidget* parent);

    // The text for a data point: both values in the axes' own units, 6 significant digits.
    static QString textFor(QPointF data);

    // Shows data's coordinates just below and right of pointer (parent pixels), moved inside
    // the parent where the pointer is near its right or bottom edge.
    void showAt(QPoint pointer, QPointF data);
};
