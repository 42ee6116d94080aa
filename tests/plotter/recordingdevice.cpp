#include "recordingdevice.h"

RecordingEngine::RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) { }

void RecordingEngine::updateState(const QPaintEngineState& state)
{
    if (state.state() & QPaintEngine::DirtyPen)
        pen_ = state.pen();
    if (state.state() & QPaintEngine::DirtyTransform)
        transform_ = state.transform();
}

void RecordingEngine::drawTextItem(const QPointF& p, const QTextItem& textItem)
{
    texts.push_back({textItem.text(), p, transform_});
}

void RecordingEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode)
{
    if (mode == PolylineMode)
        polylines.push_back({std::vector<QPointF>(points, points + count), pen_});
}

void RecordingEngine::drawPolygon(const QPoint* points, int count, PolygonDrawMode mode)
{
    std::vector<QPointF> converted(points, points + count);
    drawPolygon(converted.data(), count, mode);
}

std::vector<QString> RecordingDevice::textsIn(const QRectF& area) const
{
    std::vector<QString> found;
    for (const RecordedText& text : engine_.texts)
        if (text.transform.isIdentity() && area.contains(text.baseline))
            found.push_back(text.text);
    return found;
}

int RecordingDevice::metric(PaintDeviceMetric metric) const
{
    constexpr int dotsPerInch = 96;
    constexpr double mmPerInch = 25.4;
    switch (metric) {
    case PdmWidth:
        return size_.width();
    case PdmHeight:
        return size_.height();
    case PdmWidthMM:
        return static_cast<int>(size_.width() * mmPerInch / dotsPerInch);
    case PdmHeightMM:
        return static_cast<int>(size_.height() * mmPerInch / dotsPerInch);
    case PdmNumColors:
        return 0;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return dotsPerInch;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    default:
        return QPaintDevice::metric(metric);
    }
}
