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

//! Drags the knob with the mouse and sets the player's volume from its position. The knob
//! also takes the focus with Tab: Left and Right (or Down and Up) change the volume by 5,
//! Page Down and Page Up by 20, Home and End go to 0 and 100. Assistive technologies see a
//! slider named "音量" with the volume as its value. Runs on the UI thread.
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

    //! The volume the slider shows, 0..100: what the player was last given.
    [[nodiscard]] int volume() const { return m_volume; }
    //! Gives the player `volume` (clamped to 0..100) and leaves the knob, the filled part
    //! and the label where a drag to that volume would.
    void setVolume(int volume);

Q_SIGNALS:
    //! The slider shows another volume, after a drag step, a key or setVolume().
    void volumeChanged(int volume);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    //! Shows `position` on every part of the slider and gives the player its volume.
    void apply(const VolumeDrag& position);
    //! A tick of the drag timer: a step, or the end of a drag whose release went elsewhere.
    void tick();

    VolumeSliderControls m_controls;
    QPointer<IMediaPlayer> m_player;
    CursorSource m_cursor;
    int m_volume = 0;
    ButtonsSource m_buttons;
};

} // namespace qiravon
