#pragma once
// Plotter: the plotting widget that every viewer shows as its window.
//
// The plot itself (style, labels, curves, zoom history) is a PlotState that the Plotter owns;
// the widget is the shell around it: it turns mouse, keys, wheel and buttons into changes of
// that state, renders the whole picture into an off-screen canvas on every change (through
// PlotRenderer::paint) and copies the damaged parts of that canvas to the screen on paint events.
// Zooming: drag a rubber band with the left button, the zoom tool buttons or the + and - keys;
// the arrow keys and the wheel move the shown window by whole tick intervals; where the style
// allows it, the L key switches the y axis between linear and logarithmic. Four tool
// buttons in the top-right corner zoom in, zoom out, save the canvas as a PNG file at the
// style's path and print the plot.
//
//   Plotter plotter;
//   plotter.setViewerStyle(style);
//   plotter.label1 = "0.5";
//   plotter.setBounds(firstWindow);
//   plotter.setCurve(0, points); // x0, y0, x1, y1, ... in data units
//   plotter.show();

#include "plotbounds.h"
#include "plotrenderer.h"
#include "plotstate.h"
#include "viewerstyle.h"

#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include <map>
#include <vector>

class CoordinateTip;
class QLabel;
class QPainter;
class QPrinter;
class QTimer;
class QToolButton;

class Plotter : public QWidget {
    Q_OBJECT

public:
    explicit Plotter(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~Plotter() override;

private:
    PlotState m_state; // declared first: the label references below name its texts

public:
    // Texts the viewer assigns before showing the window; the style's title and legend rows
    // use them. They are the state's labels themselves, so the picture always shows them.
    QString& label1 = m_state.labels[0];
    QString& label2 = m_state.labels[1];
    QString& label3 = m_state.labels[2];
    QString& label4 = m_state.labels[3];
    QString& label5 = m_state.labels[4];

    const PlotState& state() const { return m_state; }

    void setViewerStyle(const ViewerStyle& style); // stores it and redraws
    const ViewerStyle& viewerStyle() const { return m_state.style; }

    // Makes bounds the only history entry, exactly as given, and shows it. Curves are kept.
    void setBounds(const PlotBounds& bounds);
    // Stores a copy of points (x0, y0, x1, y1, ...) under id, replacing that curve, and redraws.
    void setCurve(int id, const std::vector<double>& points);

    const PlotBounds& bounds() const { return m_state.history.shown(); } // the shown window
    int level() const { return m_state.history.level(); }
    int historySize() const { return m_state.history.size(); }
    const std::vector<PlotBounds>& history() const { return m_state.history.entries(); }
    const CurveStore& curves() const { return m_state.curves; }
    const QPixmap& canvas() const { return m_canvas; }
    bool bandShown() const { return m_bandShown; }
    QRect band() const; // normalised, in widget pixels
    // The colour the canvas is filled with; the dotted grid is drawn in it at half brightness.
    QColor background() const;

    QToolButton* zoomInTool() const { return m_zoomInTool; }
    QToolButton* zoomOutTool() const { return m_zoomOutTool; }
    QToolButton* saveTool() const { return m_saveTool; }
    QToolButton* printTool() const { return m_printTool; }
    // The notice that reports a failed save; hidden while there is nothing to report.
    QLabel* notice() const { return m_notice; }
    // The data coordinates under the pointer, shown over the plot rectangle and while a band
    // is dragged; never part of the canvas.
    QLabel* coordinateTip() const;

    // The renderer for the current state, and the two halves of the picture drawn with it in
    // widget pixel coordinates: the frame first, then the curves and legend.
    PlotRenderer renderer() const;
    void drawFrame(QPainter* painter) const;
    void drawSeries(QPainter* painter) const;

    // Prints the plot on one landscape page of printer, in widget pixel coordinates (the page
    // shows the same layout as the screen). Returns false when the printer cannot be painted on.
    bool printTo(QPrinter& printer);
    // Writes the canvas, exactly, as a PNG file at path, replacing any file there. Returns an
    // empty string on success, otherwise the reason it failed.
    QString saveCanvas(const QString& path) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void zoomIn();
    void zoomOut();
    void save();
    void print();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* makeToolButton(const QString& iconName, void (Plotter::*slot)());
    void placeToolButtons();
    void updateToolButtons();
    void redraw();
    void invalidateBand();
    void shiftShown(int xSteps, int ySteps);
    void reportSaveFailure(const QString& message);
    void showCoordinates(QPoint pointer);

    QToolButton* m_zoomInTool = nullptr;
    QToolButton* m_zoomOutTool = nullptr;
    QToolButton* m_saveTool = nullptr;
    QToolButton* m_printTool = nullptr;
    QLabel* m_notice = nullptr;
    QTimer* m_noticeTimer = nullptr; // hides the notice again
    CoordinateTip* m_coordinateTip = nullptr;
    QPoint m_pointer; // where the pointer was last seen over the widget
    bool m_bandShown = false;
    QPoint m_bandStart; // where the left button went down
    QPoint m_bandEnd; // where it is now
    QPixmap m_canvas;
};
