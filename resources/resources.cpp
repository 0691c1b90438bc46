#include "resources/resources.h"

#include <QGuiApplication>
#include <QHash>

using namespace Qt::StringLiterals;

namespace qiravon::resources {

namespace {

QString fileName(Id id)
{
    switch (id) {
    case WindowSkin:
        return u"skin"_s;
    case CloseNormal:
        return u"close-normal"_s;
    case CloseHover:
        return u"close-hover"_s;
    case ClosePressed:
        return u"close-pressed"_s;
    case MiniNormal:
        return u"mini-normal"_s;
    case MiniHover:
        return u"mini-hover"_s;
    case MiniPressed:
        return u"mini-pressed"_s;
    case ToggleNormal:
        return u"toggle-normal"_s;
    case TogglePressed:
        return u"toggle-pressed"_s;
    case SliderKnob:
        return u"slider-knob"_s;
    case SliderTrack:
        return u"slider-track"_s;
    case SliderFill:
        return u"slider-fill"_s;
    case Speaker:
        return u"speaker"_s;
    case SpeakerWaves:
        return u"speaker-waves"_s;
    }
    return {};
}

// On a screen with two device pixels to the logical pixel the doubled drawing is used, so
// the window is as sharp there; its device-pixel ratio keeps its logical size the design's.
QPixmap load(Id id)
{
    const QString base = u":/images/"_s + fileName(id);
    if (qGuiApp && qGuiApp->devicePixelRatio() > 1.0) {
        QPixmap doubled(base + u"@2x.png"_s);
        if (!doubled.isNull()) {
            doubled.setDevicePixelRatio(2.0);
            return doubled;
        }
    }
    return QPixmap(base + u".png"_s);
}

} // namespace

QPixmap pixmap(Id id)
{
    static QHash<int, QPixmap> cache;
    auto it = cache.find(id);
    if (it == cache.end())
        it = cache.insert(id, load(id));
    return *it;
}

QIcon appIcon()
{
    static const QIcon icon = [] {
        QIcon result;
        for (int size : kIconSizes)
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
    // Made once: every move over a link sets it again.
    static const QCursor cursor = [] {
        const QPixmap hand(u":/images/hand.png"_s);
        if (hand.isNull())
            return QCursor(Qt::PointingHandCursor);
        return QCursor(hand, kHandHotSpot.x(), kHandHotSpot.y());
    }();
    return cursor;
}

QFont songti(double points)
{
    // The design's face first, then the Song faces a Linux desktop may have, then a face
    // Debian ships with CJK coverage. Without the list fontconfig answers "宋体" with a Latin
    // face and borrows the ideographs elsewhere, so Latin and Chinese captions differ in
    // height.
    QFont font;
    font.setFamilies({u"宋体"_s, u"SimSun"_s, u"Noto Serif CJK SC"_s, u"AR PL UMing CN"_s,
                      u"WenQuanYi Micro Hei"_s});
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace qiravon::resources
