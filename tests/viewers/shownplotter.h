#pragma once
// The viewer window of a real-X test once the server shows it: a visible Plotter whose window
// is exposed, or nullptr while it is not there yet (the tests poll until it is).

#include "plotter.h"

#include <QApplication>
#include <QWindow>

inline Plotter* shownPlotter()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* plotter = qobject_cast<Plotter*>(widget); plotter && plotter->isVisible()
            && plotter->windowHandle() && plotter->windowHandle()->isExposed())
            return plotter;
    return nullptr;
}
