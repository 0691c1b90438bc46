#include "playback/volumeslider.h"

#include "common/twips.h"
#include "hosted/imediaplayer.h"
#include "playback/volumedrag.h"
#include "widgets/mouselabel.h"

#include <QCursor>
#include <QTimer>

namespace qiravon {

VolumeSlider::VolumeSlider(const VolumeSliderControls& controls, IMediaPlayer& player,
                           QObject* parent)
    : QObject(parent), m_controls(controls), m_player(&player),
      m_cursor([] { return QCursor::pos(); })
{
    // The knob keeps the mouse grabbed from the press, so the release reaches it wherever
    // the pointer has gone, and the timer never outlives the held button.
    connect(m_controls.knob, &MouseLabel::mouseDown, m_controls.dragTimer,
            [timer = m_controls.dragTimer] { timer->start(); });
    connect(m_controls.knob, &MouseLabel::mouseUp, m_controls.dragTimer, &QTimer::stop);
    connect(m_controls.dragTimer, &QTimer::timeout, this, &VolumeSlider::step);

    m_volume = volumeAtKnob(pxToTwips(m_controls.knob->x()));
    player.setVolume(m_volume);
}

void VolumeSlider::setCursorSource(CursorSource source)
{
    m_cursor = std::move(source);
}

void VolumeSlider::step()
{
    // The window is frameless, so its left edge is its client area's; the knob and the fill
    // are placed relative to that same edge.
    apply(dragStep(m_cursor().x(), pxToTwips(m_controls.window->x())));
}

void VolumeSlider::setVolume(int volume)
{
    apply(dragToVolume(volume));
}

void VolumeSlider::apply(const VolumeDrag& drag)
{
    MouseLabel* knob = m_controls.knob;
    knob->move(twipsToPx(drag.knobLeft), knob->y());
    if (m_player)
        m_player->setVolume(drag.volume);
    m_controls.caption->setText(drag.caption);
    m_controls.caption->adjustSize();
    QWidget* fill = m_controls.fill;
    fill->resize(twipsToPx(drag.fillWidth), fill->height());
    if (drag.volume != m_volume) {
        m_volume = drag.volume;
        Q_EMIT volumeChanged(m_volume);
    }
}

} // namespace qiravon
