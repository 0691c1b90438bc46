#pragma once

#include "widgets/mouselabel.h"

#include <QObject>
#include <QPointer>

namespace qiravon {

//! The three pictures a caption button shows.
enum class CaptionPicture
{
    Normal,
    Hover,
    Pressed
};

//! What a caption button learns of the mouse.
enum class CaptionEvent
{
    MoveOnButton,     //!< the button received a move (over it, or anywhere while pressed on it)
    PressOnButton,    //!< a mouse button went down on it
    MoveOnBackground, //!< the window's own surface received a move
    Release,          //!< the mouse button came up
    Leave,            //!< the pointer went on to another control or out of the window
};

//! The picture a caption button shows after `event`. Only moves and presses change it, so
//! the pressed picture lasts through the click, and a button left for another control keeps
//! its hover picture until the background next sees the mouse.
[[nodiscard]] constexpr CaptionPicture nextCaptionPicture(CaptionPicture current,
                                                          CaptionEvent event)
{
    switch (event) {
    case CaptionEvent::MoveOnButton:
        return CaptionPicture::Hover;
    case CaptionEvent::PressOnButton:
        return CaptionPicture::Pressed;
    case CaptionEvent::MoveOnBackground:
        return CaptionPicture::Normal;
    case CaptionEvent::Release:
    case CaptionEvent::Leave:
        break;
    }
    return current;
}

//! A picture button of the window's caption: follows the mouse over `button` and shows the
//! matching picture, copied from the hidden holders. The labels are the window's.
class CaptionButton final : public QObject
{
    Q_OBJECT
public:
    CaptionButton(MouseLabel* button, MouseLabel* normal, MouseLabel* hover, MouseLabel* pressed,
                  QObject* parent);

    //! Applies `event` and shows the resulting picture.
    void handle(CaptionEvent event);
    [[nodiscard]] CaptionPicture picture() const { return m_picture; }
    [[nodiscard]] MouseLabel* button() const { return m_button; }

private:
    void show(CaptionPicture picture);

    QPointer<MouseLabel> m_button;
    QPointer<MouseLabel> m_normal;
    QPointer<MouseLabel> m_hover;
    QPointer<MouseLabel> m_pressed;
    CaptionPicture m_picture = CaptionPicture::Normal;
};

} // namespace qiravon
