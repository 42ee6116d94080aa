#include "plotter.h"

#include "embeddedimages.h"
#include "plotlayout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QResizeEvent>
#include <QSaveFile>
#include <QStyle>
#include <QStyleOptionFocusRect>
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

constexpr int minimumBand = 4; // a band narrower or lower than this, in pixels, zooms nothing
constexpr int wheelUnitsPerDegree = 8;
constexpr int wheelDegreesPerStep = 15; // one notch of 120 units moves one tick interval

// The plot's texts, in the widget's font family, are sized so that a six-character tick label
// such as -50000 fits between the turned y caption and the frame, and a legend row's text fits
// its box.
constexpr int plotTextPixels = 11;

constexpr int noticeMargin = 8;
constexpr int noticeShownMs = 10000;

} // namespace

Plotter::Plotter(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
{
    // The canvas covers every pixel, so the toolkit never needs to erase before a paint.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setBackgroundRole(QPalette::Light);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusPolicy(Qt::StrongFocus);
    QFont plotFont = font();
    plotFont.setPixelSize(plotTextPixels);
    setFont(plotFont);

    zoomInTool_ = makeToolButton(QStringLiteral("zoomin.png"), &Plotter::zoomIn);
    zoomOutTool_ = makeToolButton(QStringLiteral("zoomout.png"), &Plotter::zoomOut);
    saveTool_ = makeToolButton(QStringLiteral("save.png"), &Plotter::save);
    printTool_ = makeToolButton(QStringLiteral("print.png"), &Plotter::print);

    notice_ = new QLabel(this);
    notice_->setWordWrap(true);
    notice_->setAutoFillBackground(true);
    notice_->setFrameShape(QFrame::Box);
    notice_->setMargin(noticeMargin);
    notice_->setStyleSheet(QStringLiteral("QLabel { background: #fff4c2; color: black; }"));
    notice_->hide();
    noticeTimer_ = new QTimer(this);
    noticeTimer_->setSingleShot(true);
    noticeTimer_->setInterval(noticeShownMs);
    connect(noticeTimer_, &QTimer::timeout, notice_, &QWidget::hide);

    setBounds(PlotBounds {});
}

Plotter::~Plotter() = default;

QToolButton* Plotter::makeToolButton(const QString& iconName, void (Plotter::*slot)())
{
    auto* button = new QToolButton(this);
    const QPixmap pixmap = EmbeddedImageFactory::instance().pixmap(iconName);
    button->setIcon(QIcon(pixmap));
    button->setIconSize(pixmap.deviceIndependentSize().toSize());
    button->adjustSize();
    connect(button, &QToolButton::clicked, this, slot);
    return button;
}

void Plotter::setViewerStyle(const ViewerStyle& style)
{
    style_ = style;
    redraw();
}

void Plotter::setBounds(const PlotBounds& bounds)
{
    history_.assign(1, bounds);
    level_ = 0;
    updateToolButtons();
    redraw();
}

void Plotter::setCurve(int id, const std::vector<double>& points)
{
    curves_[id] = points;
    redraw();
}

QRect Plotter::band() const
{
    return QRect(
        QPoint(std::min(bandStart_.x(), bandEnd_.x()), std::min(bandStart_.y(), bandEnd_.y())),
        QPoint(std::max(bandStart_.x(), bandEnd_.x()), std::max(bandStart_.y(), bandEnd_.y())));
}

PlotRenderer Plotter::renderer() const
{
    return PlotRenderer(style_, size(), bounds(), { label1, label2, label3, label4, label5 },
        palette().color(QPalette::Light));
}

void Plotter::drawFrame(QPainter* painter) const
{
    renderer().drawFrame(*painter);
}

void Plotter::drawSeries(QPainter* painter) const
{
    renderer().drawSeries(*painter, curves_);
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
    if (level_ >= historySize() - 1)
        return;
    ++level_;
    updateToolButtons();
    redraw();
}

void Plotter::zoomOut()
{
    if (level_ <= 0)
        return;
    --level_;
    updateToolButtons();
    redraw();
}

void Plotter::save()
{
    redraw();
    const QString failure = saveCanvas(style_.pngPath);
    if (failure.isEmpty()) {
        notice_->hide();
        return;
    }
    reportSaveFailure(tr("Could not save the plot to \"%1\": %2").arg(style_.pngPath, failure));
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
    painter.setFont(font()); // the screen's texts, at the same pixel size
    // Widget pixel coordinates on paper too: the page shows the screen's layout, unscaled.
    const PlotRenderer picture = renderer();
    picture.drawFrame(painter);
    picture.drawSeries(painter, curves_);
    return painter.end();
}

QString Plotter::saveCanvas(const QString& path) const
{
    if (path.isEmpty())
        return tr("no file name is set");
    // Written beside the target and renamed over it when complete: a failed save never leaves
    // a half-written image or destroys the previous one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (!canvas_.save(&file, "PNG")) {
        file.cancelWriting();
        return tr("the image could not be encoded as PNG");
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

void Plotter::reportSaveFailure(const QString& message)
{
    std::cerr << message.toStdString() << '\n';
    notice_->setText(message);
    const int width = std::max(1, this->width() - 2 * noticeMargin);
    notice_->setFixedWidth(width);
    notice_->adjustSize();
    notice_->move(noticeMargin, height() - notice_->height() - noticeMargin);
    notice_->show();
    notice_->raise();
    noticeTimer_->start();
}

void Plotter::updateToolButtons()
{
    zoomInTool_->setEnabled(level_ < historySize() - 1);
    zoomOutTool_->setEnabled(level_ > 0);
    saveTool_->setEnabled(true);
    printTool_->setEnabled(true);
    for (QToolButton* tool : { zoomInTool_, zoomOutTool_, saveTool_, printTool_ })
        tool->show();
}

void Plotter::placeToolButtons()
{
    const std::array tools { zoomInTool_, zoomOutTool_, saveTool_, printTool_ };
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
        canvas_ = QPixmap();
        update();
        return;
    }
    // The canvas has the screen's pixel density, so the plot stays crisp on a HiDPI screen; at
    // ratio 1 it has exactly the widget's pixels.
    canvas_ = QPixmap(pixels);
    canvas_.setDevicePixelRatio(ratio);
    canvas_.fill(palette().color(backgroundRole()));
    {
        QPainter painter(&canvas_);
        painter.setFont(font());
        painter.setPen(palette().color(foregroundRole()));
        painter.setBackground(palette().brush(backgroundRole()));
        const PlotRenderer picture = renderer();
        picture.drawFrame(painter);
        picture.drawSeries(painter, curves_);
    }
    update();
}

void Plotter::paintEvent(QPaintEvent* event)
{
    // Moved to a screen of another pixel density: render afresh at the new one.
    if (!canvas_.isNull() && !qFuzzyCompare(canvas_.devicePixelRatio(), devicePixelRatioF()))
        redraw();
    QPainter painter(this);
    const qreal ratio = canvas_.devicePixelRatio();
    for (const QRect& rect : event->region()) {
        if (canvas_.isNull()) {
            painter.fillRect(rect, palette().color(backgroundRole()));
            continue;
        }
        const QRectF source(
            rect.x() * ratio, rect.y() * ratio, rect.width() * ratio, rect.height() * ratio);
        painter.drawPixmap(QRectF(rect), canvas_, source);
    }
    if (bandShown_) {
        painter.setPen(palette().color(QPalette::Dark));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(band());
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.backgroundColor = palette().color(QPalette::Light);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void Plotter::resizeEvent(QResizeEvent* /*event*/)
{
    placeToolButtons();
    if (notice_->isVisible()) {
        notice_->setFixedWidth(std::max(1, width() - 2 * noticeMargin));
        notice_->adjustSize();
        notice_->move(noticeMargin, height() - notice_->height() - noticeMargin);
    }
    redraw();
}

void Plotter::invalidateBand()
{
    // Only the band's four one-pixel edges change: repaint those from the canvas.
    const QRect r = band();
    update(r.left(), r.top(), r.width(), 1);
    update(r.left(), r.top(), 1, r.height());
    update(r.left(), r.bottom(), r.width(), 1);
    update(r.right(), r.top(), 1, r.height());
}

void Plotter::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    bandShown_ = true;
    bandStart_ = bandEnd_ = event->position().toPoint();
    invalidateBand();
    setCursor(Qt::CrossCursor);
}

void Plotter::mouseMoveEvent(QMouseEvent* event)
{
    if (!bandShown_ || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    invalidateBand();
    bandEnd_ = event->position().toPoint();
    invalidateBand();
}

void Plotter::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !bandShown_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    invalidateBand();
    bandEnd_ = event->position().toPoint();
    bandShown_ = false;
    invalidateBand();
    unsetCursor();
    zoomToBand();
}

void Plotter::zoomToBand()
{
    const QRect selected = band();
    if (selected.width() < minimumBand || selected.height() < minimumBand)
        return;
    std::optional<PlotBounds> next = PlotLayout(size()).windowOfBand(bounds(), selected);
    if (!next)
        return; // no plot rectangle on so small a widget: nothing was selected
    next->snapToTicks();
    // Entries beyond the shown one are the way back in from an earlier zoom out; a new
    // selection replaces them.
    history_.resize(static_cast<std::size_t>(level_) + 1);
    history_.push_back(*next);
    zoomIn();
}

void Plotter::shiftShown(int xSteps, int ySteps)
{
    history_[static_cast<std::size_t>(level_)].shift(xSteps, ySteps);
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
