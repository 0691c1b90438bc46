#include "app/captionbutton.h"

#include "widgets/mouselabel.h"

namespace qiravon {

CaptionButton::CaptionButton(MouseLabel* button, MouseLabel* normal, MouseLabel* hover,
                             MouseLabel* pressed, QObject* parent)
    : QObject(parent), m_button(button), m_normal(normal), m_hover(hover), m_pressed(pressed)
{
    connect(button, &MouseLabel::mouseMove, this, [this] { handle(CaptionEvent::MoveOnButton); });
    connect(button, &MouseLabel::mouseDown, this, [this] { handle(CaptionEvent::PressOnButton); });
    connect(button, &MouseLabel::mouseUp, this, [this] { handle(CaptionEvent::Release); });
}

void CaptionButton::handle(CaptionEvent event)
{
    const CaptionPicture next = nextCaptionPicture(m_picture, event);
    // Every move repeats the same picture; copying it again would only repaint the button.
    if (next != m_picture)
        show(next);
}

void CaptionButton::show(CaptionPicture picture)
{
    m_picture = picture;
    const MouseLabel* holder = picture == CaptionPicture::Hover     ? m_hover.data()
                               : picture == CaptionPicture::Pressed ? m_pressed.data()
                                                                    : m_normal.data();
    if (m_button && holder)
        m_button->setPicture(holder->picture());
}

} // namespace qiravon
