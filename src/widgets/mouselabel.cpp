#include "widgets/mouselabel.h"

#include "widgets/focusmark.h"
#include "widgets/mouselabelaccessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace qiravon {

MouseLabel::MouseLabel(QWidget* parent) : QLabel(parent)
{
    // Moves matter without a button held: the caption buttons show their hover picture.
    setMouseTracking(true);
    setTextFormat(Qt::PlainText);
    installMouseLabelAccessibility();
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

void MouseLabel::makeButton(const QString& name)
{
    m_button = true;
    // Keyboard only: a click must not take the focus from the list.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(name);
}

void MouseLabel::click()
{
    Q_EMIT clicked();
}

void MouseLabel::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (!m_button || (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) ||
        (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat())
        click();
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
    if (!m_picture.isNull()) {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, m_stretched);
        if (m_stretched)
            painter.drawPixmap(rect(), m_picture);
        else
            painter.drawPixmap(QPoint(0, 0), m_picture);
    }
    if (m_picture.isNull() || !text().isEmpty())
        QLabel::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        drawFocusMark(painter, rect(), palette().color(QPalette::WindowText));
    }
}

} // namespace qiravon
