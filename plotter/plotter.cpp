#include "plotter.h"

#include "coordinatetip.h"
#include "embeddedimages.h"
#include "picturefile.h"
#include "plotlayout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QResizeEvent>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <iostream>
#include <optional>

namespace {

constexpr QSize preferredSize { 320, 240 };
constexpr QSize smallestSize { 160, 160 };

// The tool buttons sit in a row 5 pixels below the top edge with 5-pixel gaps; the row's left end
// is 40 pixels further left than the buttons' total width from the right edge, so the last one
// ends 25 pixels short of it.
constexpr int toolTop = 5;
constexpr int toolGap = 5;
constexpr int toolRowInset = 40;

constexpr int wheelUnitsPerDegree = 8;
constexpr int wheelDegreesPerStep = 15; // one notch of 120 units moves one tick interval

constexpr int noticeMargin = 8;
constexpr int noticeShownMs = 10000;

// The one-pixel rows and columns on the border of rect, inside it: top, left, bottom, right.
std::array<QRect, 4> edgesOf(const QRect& rect)
{
    return { QRect(rect.left(), rect.top(), rect.width(), 1),
        QRect(rect.left(), rect.top(), 1, rect.height()),
        QRect(rect.left(), rect.bottom(), rect.width(), 1),
        QRect(rect.right(), rect.top(), 1, rect.height()) };
}

} // namespace

Plotter::Plotter(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
{
    // The canvas covers every pixel, so the toolkit never needs to erase before a paint.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setBackgroundRole(QPalette::Light);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusPolicy(Qt::StrongFocus);
    setFont(PlotRenderer::plotFont());

    m_zoomInTool = makeToolButton(QStringLiteral("zoomin.png"), &Plotter::zoomIn);
    m_zoomOutTool = makeToolButton(QStringLiteral("zoomout.png"), &Plotter::zoomOut);
    m_saveTool = makeToolButton(QStringLiteral("save.png"), &Plotter::save);
    m_printTool = makeToolButton(QStringLiteral("print.png"), &Plotter::print);

    m_notice = new QLabel(this);
    m_notice->setWordWrap(true);
    m_notice->setAutoFillBackground(true);
    m_notice->setFrameShape(QFrame::Box);
    m_notice->setMargin(noticeMargin);
    m_notice->setStyleSheet(QStringLiteral("QLabel { background: #fff4c2; color: black; }"));
    m_notice->hide();
    m_noticeTimer = new QTimer(this);
    m_noticeTimer->setSingleShot(true);
    m_noticeTimer->setInterval(noticeShownMs);
    connect(m_noticeTimer, &QTimer::timeout, m_notice, &QWidget::hide);

    // The coordinates under the pointer follow it also when no button is held.
    m_coordinateTip = new CoordinateTip(this);
    setMouseTracking(true);

    // The plot has the keyboard as soon as its window is activated: the arrow keys pan at once.
    setFocus();
    setBounds(PlotBounds {});
}

Plotter::~Plotter() = default;

QToolButton* Plotter::makeToolButton(const QString& iconName, void (Plotter::*slot)())
{
    auto* button = new QToolButton(this);
    // Buttons are for the mouse: neither Tab nor a click takes the keyboard from the plot.
    button->setFocusPolicy(Qt::NoFocus);
    const QPixmap pixmap = EmbeddedImageFactory::instance().pixmap(iconName);
    button->setIcon(QIcon(pixmap));
    button->setIconSize(pixmap.deviceIndependentSize().toSize());
    button->adjustSize();
    connect(button, &QToolButton::clicked, this, slot);
    return button;
}

void Plotter::setViewerStyle(const ViewerStyle& style)
{
    m_state.style = style;
    redraw();
}

void Plotter::setBounds(const PlotBounds& bounds)
{
    m_state.history.reset(bounds);
    updateToolButtons();
    redraw();
}

void Plotter::setCurve(int id, const std::vector<double>& points)
{
    m_state.curves[id] = points;
    redraw();
}

QRect Plotter::band() const
{
    return PlotState::bandBetween(m_bandStart, m_bandEnd);
}

QColor Plotter::background() const
{
    return palette().color(QPalette::Light);
}

PlotRenderer Plotter::renderer() const
{
    return PlotRenderer(m_state, size(), background());
}

void Plotter::drawFrame(QPainter* painter) const
{
    renderer().drawFrame(*painter);
}

void Plotter::drawSeries(QPainter* painter) const
{
    renderer().drawSeries(*painter, m_state.curves);
}

QSize Plotter::sizeHint() const
{
    return preferredSize;
}

QSize Plotter::minimumSizeHint() const
{
    return smallestSize;
}

void Plotter::zoomIn()
{
    if (!m_state.history.zoomIn())
        return;
    updateToolButtons();
    redraw();
}

void Plotter::zoomOut()
{
    if (!m_state.history.zoomOut())
        return;
    updateToolButtons();
    redraw();
}

void Plotter::save()
{
    redraw();
    const QString failure = saveCanvas(m_state.style.pngPath);
    if (failure.isEmpty()) {
        m_notice->hide();
        return;
    }
    reportSaveFailure(
        tr("Could not save the plot to \"%1\": %2").arg(m_state.style.pngPath, failure));
}

void Plotter::print()
{
    redraw();
    QPrinter printer(QPrinter::ScreenResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        printTo(printer);
}

bool Plotter::printTo(QPrinter& printer)
{
    // Landscape whatever the dialog chose: the plot is wider than high.
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // Widget pixel coordinates on paper too: the page shows the screen's layout, unscaled, on
    // the paper's own white.
    PlotRenderer::paint(painter, m_state, size(), background(), PlotRenderer::Background::Keep);
    return painter.end();
}

QString Plotter::saveCanvas(const QString& path) const
{
    return writePictureFile(path, [this](QIODevice& file) { return m_canvas.save(&file, "PNG"); });
}

void Plotter::reportSaveFailure(const QString& message)
{
    std::cerr << message.toStdString() << '\n';
    m_notice->setText(message);
    const int width = std::max(1, this->width() - 2 * noticeMargin);
    m_notice->setFixedWidth(width);
    m_notice->adjustSize();
    m_notice->move(noticeMargin, height() - m_notice->height() - noticeMargin);
    m_notice->show();
    m_notice->raise();
    m_noticeTimer->start();
}

void Plotter::updateToolButtons()
{
    m_zoomInTool->setEnabled(m_state.history.canZoomIn());
    m_zoomOutTool->setEnabled(m_state.history.canZoomOut());
    m_saveTool->setEnabled(true);
    m_printTool->setEnabled(true);
    for (QToolButton* tool : { m_zoomInTool, m_zoomOutTool, m_saveTool, m_printTool })
        tool->show();
}

void Plotter::placeToolButtons()
{
    const std::array tools { m_zoomInTool, m_zoomOutTool, m_saveTool, m_printTool };
    int total = 0;
    for (const QToolButton* tool : tools)
        total += tool->width();
    int x = width() - total - toolRowInset;
    for (QToolButton* tool : tools) {
        tool->move(x, toolTop);
        x += tool->width() + toolGap;
    }
}

void Plotter::redraw()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (pixels.isEmpty()) {
        m_canvas = QPixmap();
        update();
        return;
    }
    // The canvas has the screen's pixel density, so the plot stays crisp on a HiDPI screen; at
    // ratio 1 it has exactly the widget's pixels.
    m_canvas = QPixmap(pixels);
    m_canvas.setDevicePixelRatio(ratio);
    {
        QPainter painter(&m_canvas);
        PlotRenderer::paint(painter, m_state, size(), background());
    }
    update();
    // The window moved under a resting pointer (keys, wheel, buttons): its coordinates too.
    if (m_coordinateTip && m_coordinateTip->isVisible())
        showCoordinates(m_pointer);
}

void Plotter::paintEvent(QPaintEvent* event)
{
    // Moved to a screen of another pixel density: render afresh at the new one.
    if (!m_canvas.isNull() && !qFuzzyCompare(m_canvas.devicePixelRatio(), devicePixelRatioF()))
        redraw();
    QPainter painter(this);
    const qreal ratio = m_canvas.devicePixelRatio();
    for (const QRect& rect : event->region()) {
        if (m_canvas.isNull()) {
            painter.fillRect(rect, palette().color(backgroundRole()));
            continue;
        }
        const QRectF source(
            rect.x() * ratio, rect.y() * ratio, rect.width() * ratio, rect.height() * ratio);
        painter.drawPixmap(QRectF(rect), m_canvas, source);
    }
    // The band and the focus frame are filled as whole pixels, exactly the pixels that
    // invalidateBand and a focus change repaint: a stroked one-pixel outline would reach one
    // pixel beyond the rectangle's right and bottom edges, outside the repainted region.
    if (m_bandShown)
        for (const QRect& edge : edgesOf(band()))
            painter.fillRect(edge, palette().color(QPalette::Dark));
    // A frame around the whole widget while it has the keyboard, nothing inside it: the
    // screen shows the canvas, as saved, everywhere else.
    if (hasFocus())
        for (const QRect& edge : edgesOf(rect()))
            painter.fillRect(edge, palette().color(QPalette::Highlight));
}

void Plotter::resizeEvent(QResizeEvent* /*event*/)
{
    placeToolButtons();
    if (m_notice->isVisible()) {
        m_notice->setFixedWidth(std::max(1, width() - 2 * noticeMargin));
        m_notice->adjustSize();
        m_notice->move(noticeMargin, height() - m_notice->height() - noticeMargin);
    }
    redraw();
}

void Plotter::invalidateBand()
{
    // Only the band's four one-pixel edges change: repaint those from the canvas.
    for (const QRect& edge : edgesOf(band()))
        update(edge);
}

void Plotter::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_bandShown = true;
    m_bandStart = m_bandEnd = event->position().toPoint();
    invalidateBand();
    setCursor(Qt::CrossCursor);
}

void Plotter::mouseMoveEvent(QMouseEvent* event)
{
    m_pointer = event->position().toPoint();
    if (!m_bandShown || !(event->buttons() & Qt::LeftButton)) {
        showCoordinates(m_pointer);
        QWidget::mouseMoveEvent(event);
        return;
    }
    invalidateBand();
    m_bandEnd = m_pointer;
    invalidateBand();
    showCoordinates(m_pointer);
}

void Plotter::leaveEvent(QEvent* event)
{
    if (!m_bandShown)
        m_coordinateTip->hide();
    QWidget::leaveEvent(event);
}

QLabel* Plotter::coordinateTip() const
{
    return m_coordinateTip;
}

void Plotter::showCoordinates(QPoint pointer)
{
    // While a band is dragged the pointer may leave the plot rectangle (the band maps beyond
    // the window); hovering shows coordinates over the plot rectangle only.
    const PlotLayout layout = PlotRenderer::layoutOf(m_state, size());
    const std::optional<QPointF> data = layout.toData(bounds(), pointer);
    if (!data || (!m_bandShown && !layout.plotRect().contains(pointer))) {
        m_coordinateTip->hide();
        return;
    }
    m_coordinateTip->showAt(pointer, *data);
}

void Plotter::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_bandShown) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    invalidateBand();
    m_bandEnd = event->position().toPoint();
    m_bandShown = false;
    invalidateBand();
    unsetCursor();
    // The window under the pointer changes with the zoom: the next move shows it afresh.
    m_coordinateTip->hide();
    if (!m_state.zoomToBand(size(), m_bandStart, m_bandEnd))
        return;
    updateToolButtons();
    redraw();
}

void Plotter::shiftShown(int xSteps, int ySteps)
{
    m_state.history.shift(xSteps, ySteps);
    redraw();
}

void Plotter::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
        zoomIn();
        break;
    case Qt::Key_Minus:
        zoomOut();
        break;
    case Qt::Key_Left:
        shiftShown(-1, 0);
        break;
    case Qt::Key_Right:
        shiftShown(1, 0);
        break;
    case Qt::Key_Up:
        shiftShown(0, 1);
        break;
    case Qt::Key_Down:
        shiftShown(0, -1);
        break;
    case Qt::Key_L: // a linear or logarithmic y axis, where the viewer offers both
        if (!m_state.style.logYKey) {
            QWidget::keyPressEvent(event);
            break;
        }
        if (m_state.toggleYScale()) {
            updateToolButtons();
            redraw();
        }
        break;
    default:
        QWidget::keyPressEvent(event); // ignored here, so it goes on to the parent
    }
}

void Plotter::wheelEvent(QWheelEvent* event)
{
    // One notch is 120 units = 15 degrees = one tick interval; both divisions truncate.
    const QPoint delta = event->angleDelta();
    if (delta.y() != 0)
        shiftShown(0, delta.y() / wheelUnitsPerDegree / wheelDegreesPerStep);
    else
        shiftShown(delta.x() / wheelUnitsPerDegree / wheelDegreesPerStep, 0);
}
