#include "playback/volumeslider.h"

#include "common/twips.h"
#include "hosted/imediaplayer.h"
#include "playback/volumedrag.h"
#include "playback/volumeknobaccessible.h"
#include "widgets/mouselabel.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QTimer>

using namespace Qt::StringLiterals;

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

    m_volume = volumeAtKnob(pxToTwips(m_controls.knob->x()));
    player.setVolume(m_volume);

    // Keyboard only, as for the window's other picture controls.
    m_controls.knob->setFocusPolicy(Qt::TabFocus);
    m_controls.knob->installEventFilter(this);
    // Before the name: naming the knob may already ask for its accessible interface.
    registerVolumeKnob(m_controls.knob, this);
    m_controls.knob->setAccessibleName(u"音量"_s);
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
    apply(dragStep(m_cursor().x(), pxToTwips(m_controls.window->x())));
}

namespace {

// How far one key press moves the volume.
constexpr int kSmallStep = 5;
constexpr int kLargeStep = 20;

} // namespace

void VolumeSlider::setVolume(int volume)
{
    // Through the knob position, as a drag goes, so the two can never show different things
    // for one volume.
    apply(dragToVolume(volume));
}

void VolumeSlider::apply(const VolumeDrag& position)
{
    MouseLabel* knob = m_controls.knob;
    knob->move(twipsToPx(position.knobLeft), knob->y());
    if (m_player)
        m_player->setVolume(position.volume);
    m_controls.caption->setText(position.caption);
    m_controls.caption->adjustSize();
    QWidget* fill = m_controls.fill;
    fill->resize(twipsToPx(position.fillWidth), fill->height());
    if (position.volume == m_volume)
        return;
    m_volume = position.volume;
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent changed(knob, position.volume);
        QAccessible::updateAccessibility(&changed);
    }
    Q_EMIT volumeChanged(m_volume);
}

bool VolumeSlider::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_controls.knob || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const int now = volume();
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        setVolume(now - kSmallStep);
        return true;
    case Qt::Key_Right:
    case Qt::Key_Up:
        setVolume(now + kSmallStep);
        return true;
    case Qt::Key_PageDown:
        setVolume(now - kLargeStep);
        return true;
    case Qt::Key_PageUp:
        setVolume(now + kLargeStep);
        return true;
    case Qt::Key_Home:
        setVolume(0);
        return true;
    case Qt::Key_End:
        setVolume(100);
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace qiravon
