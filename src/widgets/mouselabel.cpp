#include "widgets/mouselabel.h"

#include <QMouseEvent>
#include <QPainter>

namespace qiravon {

MouseLabel::MouseLabel(QWidget* parent) : QLabel(parent)
{
    // Moves matter without a button held: the caption buttons show their hover picture.
    setMouseTracking(true);
    setTextFormat(Qt::PlainText);
}

void MouseLabel::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    update();
}

void MouseLabel::setStretched(bool stretched)
{
    m_stretched = stretched;
    update();
}

void MouseLabel::mousePressEvent(QMouseEvent* event)
{
    m_pressedButton = event->button();
    Q_EMIT mouseDown(event->button());
}

void MouseLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click =
        event->button() == m_pressedButton && rect().contains(event->position().toPoint());
    m_pressedButton = Qt::NoButton;
    Q_EMIT mouseUp(event->button());
    if (click)
        Q_EMIT clicked();
}

void MouseLabel::mouseMoveEvent(QMouseEvent* /*event*/)
{
    Q_EMIT mouseMove();
}

void MouseLabel::paintEvent(QPaintEvent* event)
{
    if (m_picture.isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_stretched);
    if (m_stretched)
        painter.drawPixmap(rect(), m_picture);
    else
        painter.drawPixmap(QPoint(0, 0), m_picture);
    if (!text().isEmpty())
        QLabel::paintEvent(event);
}

} // namespace qiravon
