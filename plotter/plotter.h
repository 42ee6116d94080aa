#pragma once
// Plotter: the plotting widget that every viewer shows as its window.
//
// It keeps copies of the curves and a history of visible windows, renders the whole plot into
// an off-screen canvas on every change (through PlotRenderer, driven by the viewer's
// ViewerStyle), and copies the damaged parts of that canvas to the screen on paint events.
// Zooming: drag a rubber band with the left button, the zoom tool buttons or the + and - keys;
// the arrow keys and the wheel move the shown window by whole tick intervals. Four tool
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
#include "viewerstyle.h"

#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include <map>
#include <vector>

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

    // Texts the viewer assigns before showing the window; the style's title and legend rows
    // use them. The Plotter itself never reads them.
    QString label1, label2, label3, label4, label5;

    void setViewerStyle(const ViewerStyle& style); // stores it and redraws
    const ViewerStyle& viewerStyle() const { return style_; }

    // Makes bounds the only history entry, exactly as given, and shows it. Curves are kept.
    void setBounds(const PlotBounds& bounds);
    // Stores a copy of points (x0, y0, x1, y1, ...) under id, replacing that curve, and redraws.
    void setCurve(int id, const std::vector<double>& points);

    const PlotBounds& bounds() const { return history_[level_]; } // the shown window
    int level() const { return level_; }
    int historySize() const { return static_cast<int>(history_.size()); }
    const std::vector<PlotBounds>& history() const { return history_; }
    const CurveStore& curves() const { return curves_; }
    const QPixmap& canvas() const { return canvas_; }
    bool bandShown() const { return bandShown_; }
    QRect band() const; // normalised, in widget pixels

    QToolButton* zoomInTool() const { return zoomInTool_; }
    QToolButton* zoomOutTool() const { return zoomOutTool_; }
    QToolButton* saveTool() const { return saveTool_; }
    QToolButton* printTool() const { return printTool_; }
    // The notice that reports a failed save; hidden while there is nothing to report.
    QLabel* notice() const { return notice_; }

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
    void zoomToBand();
    void shiftShown(int xSteps, int ySteps);
    void reportSaveFailure(const QString& message);

    ViewerStyle style_;
    QToolButton* zoomInTool_ = nullptr;
    QToolButton* zoomOutTool_ = nullptr;
    QToolButton* saveTool_ = nullptr;
    QToolButton* printTool_ = nullptr;
    QLabel* notice_ = nullptr;
    QTimer* noticeTimer_ = nullptr; // hides the notice again
    CurveStore curves_;
    std::vector<PlotBounds> history_ { PlotBounds {} }; // never empty
    int level_ = 0; // index of the shown entry
    bool bandShown_ = false;
    QPoint bandStart_; // where the left button went down
    QPoint bandEnd_; // where it is now
    QPixmap canvas_;
};
