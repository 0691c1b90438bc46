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
struct VolumeDrag;

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

    //! Gives the player the volume the knob shows at once, so what the user sees and hears
    //! agree before the first drag.
    VolumeSlider(const VolumeSliderControls& controls, IMediaPlayer& player,
                 QObject* parent = nullptr);

    //! Where the pointer is, in screen pixels; QCursor::pos() unless a test replaces it.
    void setCursorSource(CursorSource source);

    //! One drag step at the current pointer position; the drag timer calls it.
    void step();

    //! The volume the slider shows, 0..100.
    [[nodiscard]] int volume() const { return m_volume; }
    //! Moves the knob, the fill and the label as a drag that stops at `volume` would, and
    //! gives the player that volume.
    void setVolume(int volume);

Q_SIGNALS:
    //! The slider shows another volume, after a drag step or setVolume().
    void volumeChanged(int volume);

private:
    void apply(const VolumeDrag& drag);

    VolumeSliderControls m_controls;
    QPointer<IMediaPlayer> m_player;
    CursorSource m_cursor;
    int m_volume = 0;
};

} // namespace qiravon
