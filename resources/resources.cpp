#include "resources.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace qiravon::resources {

namespace {

QString fileName(Id id)
{
    switch (id) {
    case WindowSkin: return u"skin"_s;
    case CloseNormal: return u"close-normal"_s;
    case CloseHover: return u"close-hover"_s;
    case ClosePressed: return u"close-pressed"_s;
    case MiniNormal: return u"mini-normal"_s;
    case MiniHover: return u"mini-hover"_s;
    case MiniPressed: return u"mini-pressed"_s;
    case ToggleNormal: return u"toggle-normal"_s;
    case TogglePressed: return u"toggle-pressed"_s;
    case SliderKnob: return u"slider-knob"_s;
    case SliderTrack: return u"slider-track"_s;
    case SliderFill: return u"slider-fill"_s;
    case Speaker: return u"speaker"_s;
    case SpeakerWaves: return u"speaker-waves"_s;
    }
    return {};
}

} // namespace

QPixmap pixmap(Id id)
{
    static QHash<int, QPixmap> cache;
    auto it = cache.find(id);
    if (it == cache.end())
        it = cache.insert(id, QPixmap(u":/images/"_s + fileName(id) + u".png"_s));
    return *it;
}

QIcon appIcon()
{
    static const QIcon icon = [] {
        QIcon result;
        for (int size : {16, 32, 48, 128})
            result.addFile(u":/images/icon-%1.png"_s.arg(size), QSize(size, size));
        return result;
    }();
    return icon;
}

QIcon trayIcon()
{
    static const QIcon icon(u":/images/icon-32.png"_s);
    return icon;
}

QCursor handCursor()
{
    const QPixmap hand(u":/images/hand.png"_s);
    if (hand.isNull())
        return QCursor(Qt::PointingHandCursor);
    return QCursor(hand, 6, 0);
}

QFont songti(double points)
{
    QFont font(u"宋体"_s);
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace qiravon::resources
