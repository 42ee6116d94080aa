#pragma once
// PlotBounds: the part of the data plane that a Plotter shows.
//
// The x and y ranges in data units and the number of tick intervals on each axis, as one plain
// value. A viewer hands its first window to Plotter::setBounds; the Plotter keeps a history of
// them for zooming, moves the shown one by whole tick intervals (arrow keys, wheel) with shift(),
// and rounds every window derived from a rubber band outward to round steps with snapToTicks().
// A window handed in by a viewer is drawn exactly as given: it is never snapped.
//
// The y axis may be logarithmic (yLog): values are then placed by their decimal logarithm, the
// window's ends must be positive, shifting moves by whole tick intervals of the logarithm, and
// snapping rounds outward to whole decades. The x axis is always linear.

struct PlotBounds {
    double xMin = 0.0; // data value at the left end of the x axis
    double xMax = 10.0; // data value at the right end of the x axis
    int xTicks = 5; // tick intervals on the x axis (xTicks + 1 tick marks)
    double yMin = 0.0; // data value at the bottom of the y axis
    double yMax = 10.0; // data value at the top of the y axis
    int yTicks = 5; // tick intervals on the y axis
    bool yLog = false; // y placed by log10(y): yMin and yMax > 0, values <= 0 have no place

    // Moves the window by whole tick intervals: positive xSteps towards larger x (the picture
    // moves left), positive ySteps towards larger y (the picture moves down). An axis with no
    // tick intervals has no step and stays where it is.
    void shift(int xSteps, int ySteps);

    // Widens both axes to multiples of a round step (snapAxis, or snapLogAxis for a logarithmic
    // y axis) and sets both tick counts.
    void snapToTicks();

    // Widens [min, max] outward to multiples of a step of 1, 2 or 5 times a power of ten that
    // divides the range into at least four intervals, and sets ticks to their count. A reversed
    // range (min > max) is widened the same way and stays reversed. A range that is empty or
    // not finite is left unchanged.
    static void snapAxis(double& min, double& max, int& ticks);
    // Widens [min, max] outward to whole powers of ten and sets ticks to the number of decades
    // between them (at least one). A range that is not positive and finite is left unchanged.
    static void snapLogAxis(double& min, double& max, int& ticks);

    bool operator==(const PlotBounds&) const = default;
};
