#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>

class QLabel;
class QTimer;
class QWidget;

namespace qiravon {

class IMediaPlayer;
class MouseLabel;

//! The pictures and the timer the volume slider moves; none is owned.
struct VolumeSliderControls
{
    MouseLabel* knob = nullptr;  //!< takes the presses; its left edge follows the pointer
    QWidget* fill = nullptr;     //!< stretched up to the knob's left edge
    QLabel* caption = nullptr;   //!< the volume as a number; sizes itself to its text
    QTimer* dragTimer = nullptr; //!< runs only while a button is held on the knob
    QWidget* window = nullptr;   //!< positions are measured from its left edge
};

//! Drags the knob with the mouse and sets the player's volume from its position.
//! Runs on the UI thread.
class VolumeSlider : public QObject
{
    Q_OBJECT
public:
    using CursorSource = std::function<QPoint()>;
    using ButtonsSource = std::function<Qt::MouseButtons()>;

    //! Gives the player the volume the knob shows at once, so what the user sees and hears
    //! agree before the first drag.
    VolumeSlider(const VolumeSliderControls& controls, IMediaPlayer& player,
                 QObject* parent = nullptr);

    //! Where the pointer is, in screen pixels; QCursor::pos() unless a test replaces it.
    void setCursorSource(CursorSource source);

    //! Which mouse buttons are held; QGuiApplication::mouseButtons() unless a test replaces it.
    void setButtonsSource(ButtonsSource source);

    //! One drag step at the current pointer position; the drag timer calls it.
    void step();

private:
    //! A tick of the drag timer: a step, or the end of a drag whose release went elsewhere.
    void tick();

    VolumeSliderControls m_controls;
    QPointer<IMediaPlayer> m_player;
    CursorSource m_cursor;
    ButtonsSource m_buttons;
};

} // namespace qiravon
