#include "coordinatetip.h"

#include <QPalette>

#include <algorithm>

namespace {

constexpr int pointerGap = 16; // clear of the cross or arrow cursor
constexpr int tipMargin = 3;
constexpr int significantDigits = 6; // as the tick labels

} // namespace

CoordinateTip::CoordinateTip(QWidget* parent)
    : QLabel(parent)
{
    // The pointer's events go to the plot beneath, even where the tip covers it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    setFrameShape(QFrame::Box);
    setMargin(tipMargin);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    hide();
}

QString CoordinateTip::textFor(QPointF data)
{
    return QStringLiteral("x = %1   y = %2")
        .arg(QString::number(data.x(), 'g', significantDigits),
            QString::number(data.y(), 'g', significantDigits));
}

void CoordinateTip::showAt(QPoint pointer, QPointF data)
{
    setText(textFor(data));
    adjustSize();
    const QWidget* plot = parentWidget();
    QPoint at = pointer + QPoint(pointerGap, pointerGap);
    if (at.x() + width() > plot->width())
        at.setX(pointer.x() - pointerGap - width());
    if (at.y() + height() > plot->height())
        at.setY(pointer.y() - pointerGap - height());
    move(std::max(0, at.x()), std::max(0, at.y()));
    show();
    raise();
}
