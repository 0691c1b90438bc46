#include "playback/volumeslider.h"

#include "common/twips.h"
#include "hosted/imediaplayer.h"
#include "playback/volumedrag.h"
#include "widgets/mouselabel.h"

#include <QApplication>
#include <QCursor>
#include <QTimer>

namespace qiravon {

VolumeSlider::VolumeSlider(const VolumeSliderControls& controls, IMediaPlayer& player,
                           QObject* parent)
    : QObject(parent), m_controls(controls), m_player(&player),
      m_cursor([] { return QCursor::pos(); }),
      m_buttons([] { return QGuiApplication::mouseButtons(); })
{
    // The knob keeps the mouse grabbed from the press, so the release reaches it wherever
    // the pointer has gone, and the timer never outlives the held button.
    connect(m_controls.knob, &MouseLabel::mouseDown, m_controls.dragTimer,
            [timer = m_controls.dragTimer] { timer->start(); });
    connect(m_controls.knob, &MouseLabel::mouseUp, m_controls.dragTimer, &QTimer::stop);
    connect(m_controls.dragTimer, &QTimer::timeout, this, &VolumeSlider::tick);

    player.setVolume(volumeAtKnob(pxToTwips(m_controls.knob->x())));
}

void VolumeSlider::setCursorSource(CursorSource source)
{
    m_cursor = std::move(source);
}

void VolumeSlider::setButtonsSource(ButtonsSource source)
{
    m_buttons = std::move(source);
}

void VolumeSlider::tick()
{
    // The release never comes when a popup or another program takes the mouse: the knob would
    // follow the bare pointer a thousand times a second. No button held, or a popup holding
    // the mouse, ends the drag.
    if (m_buttons() == Qt::NoButton || QApplication::activePopupWidget()) {
        m_controls.dragTimer->stop();
        return;
    }
    step();
}

void VolumeSlider::step()
{
    // The window is frameless, so its left edge is its client area's; the knob and the fill
    // are placed relative to that same edge.
    const VolumeDrag drag = dragStep(m_cursor().x(), pxToTwips(m_controls.window->x()));

    MouseLabel* knob = m_controls.knob;
    knob->move(twipsToPx(drag.knobLeft), knob->y());
    if (m_player)
        m_player->setVolume(drag.volume);
    m_controls.caption->setText(drag.caption);
    m_controls.caption->adjustSize();
    QWidget* fill = m_controls.fill;
    fill->resize(twipsToPx(drag.fillWidth), fill->height());
}

} // namespace qiravon
