#pragma once
// RecordingDevice: a paint device that remembers what was painted on it instead of pixels: the
// texts with their positions and the polylines with their pens. Tests read exact label texts
// and curve vertices from it, which the pixels of a font-dependent picture do not tell.

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPen>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QTransform>

#include <memory>
#include <vector>

struct RecordedText {
    QString text;
    QPointF baseline;     // in the painter's coordinates when it was drawn
    QTransform transform; // the painter's transform at that time
};

struct RecordedPolyline {
    std::vector<QPointF> points;
    QPen pen;
};

class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine();
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override;
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { }
    // Lines, rectangles and paths (frame, grid, fills) are not kept.
    void drawLines(const QLineF*, int) override { }
    void drawLines(const QLine*, int) override { }
    void drawRects(const QRectF*, int) override { }
    void drawRects(const QRect*, int) override { }
    void drawPath(const QPainterPath&) override { }
    void drawTextItem(const QPointF& p, const QTextItem& textItem) override;
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override;
    Type type() const override { return QPaintEngine::User; }

    std::vector<RecordedText> texts;
    std::vector<RecordedPolyline> polylines;

private:
    QPen pen_;
    QTransform transform_;
};

class RecordingDevice : public QPaintDevice {
public:
    explicit RecordingDevice(QSize size) : size_(size) { }
    QPaintEngine* paintEngine() const override { return &engine_; }
    const std::vector<RecordedText>& texts() const { return engine_.texts; }
    const std::vector<RecordedPolyline>& polylines() const { return engine_.polylines; }
    // The texts drawn with no rotation whose baseline starts inside the given rectangle.
    std::vector<QString> textsIn(const QRectF& area) const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize size_;
    mutable RecordingEngine engine_;
};
