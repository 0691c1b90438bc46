#include "resources/resources.h"

#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QtMath>
#include <array>
#include <fontconfig/fontconfig.h>
#include <future>
#include <iterator>
#include <thread>

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

constexpr int kIdCount = SpeakerWaves + 1;

// On a screen with two device pixels to the logical pixel the doubled drawing is used, so
// the window is as sharp there; its device-pixel ratio keeps its logical size the design's.
QImage decode(Id id, bool doubled)
{
    const QString base = u":/images/"_s + fileName(id);
    if (doubled) {
        QImage image(base + u"@2x.png"_s);
        if (!image.isNull()) {
            image.setDevicePixelRatio(2.0);
            return image;
        }
    }
    return QImage(base + u".png"_s);
}

bool wantsDoubled()
{
    return qGuiApp && qGuiApp->devicePixelRatio() > 1.0;
}

// Pictures decoded ahead on another thread: QImage may be made anywhere, QPixmap only on the
// window's thread.
struct Ahead
{
    std::array<std::promise<QImage>, kIdCount> promised;
    std::array<std::shared_future<QImage>, kIdCount> decoded;
    bool started = false;
};

Ahead& ahead()
{
    static Ahead instance;
    return instance;
}

QPixmap load(Id id)
{
    if (Ahead& a = ahead(); a.started)
        return QPixmap::fromImage(a.decoded[id].get());
    return QPixmap::fromImage(decode(id, wantsDoubled()));
}

} // namespace

void startFontSetUp()
{
    // fontconfig sets itself up once for the process, whichever thread asks first; a thread
    // that asks meanwhile does the work too and keeps whichever finished first.
    std::thread([] { FcInit(); }).detach();
}

void startDecoding()
{
    Ahead& a = ahead();
    if (a.started)
        return;
    a.started = true;
    for (int id = 0; id < kIdCount; ++id)
        a.decoded[id] = a.promised[id].get_future().share();
    std::thread([doubled = wantsDoubled()] {
        // The small pictures first, in the order the window takes them; the skin, the one
        // that takes time, is taken last.
        for (int id = 0; id < kIdCount; ++id) {
            if (id != WindowSkin)
                ahead().promised[id].set_value(decode(Id(id), doubled));
        }
        ahead().promised[WindowSkin].set_value(decode(WindowSkin, doubled));
    }).detach();
}

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

QPixmap appEmblem(int logicalSize, qreal devicePixelRatio)
{
    // As QIcon::pixmap() picks: the smallest drawing that covers the device pixels.
    const int wanted = qCeil(logicalSize * devicePixelRatio);
    int size = kIconSizes[std::size(kIconSizes) - 1];
    for (int candidate : kIconSizes) {
        if (candidate >= wanted) {
            size = candidate;
            break;
        }
    }
    QPixmap emblem(u":/images/icon-%1.png"_s.arg(size));
    if (size != wanted)
        emblem = emblem.scaled(wanted, wanted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    emblem.setDevicePixelRatio(devicePixelRatio);
    return emblem;
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

QString firstInstalledFamily(const QStringList& families)
{
    FcObjectSet* wanted = FcObjectSetBuild(FC_FAMILY, nullptr);
    QString found;
    for (const QString& family : families) {
        const QByteArray name = family.toUtf8();
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
        // A listing, not a match: fontconfig's substitutions would answer any name with some
        // face, and only a face that really carries the name counts.
        FcFontSet* fonts = FcFontList(nullptr, pattern, wanted);
        FcPatternDestroy(pattern);
        FcChar8* primary = nullptr;
        if (fonts && fonts->nfont > 0 &&
            FcPatternGetString(fonts->fonts[0], FC_FAMILY, 0, &primary) == FcResultMatch)
            found = QString::fromUtf8(reinterpret_cast<const char*>(primary));
        if (fonts)
            FcFontSetDestroy(fonts);
        if (!found.isEmpty())
            break;
    }
    FcObjectSetDestroy(wanted);
    return found;
}

QFont songti(double points)
{
    // The design's face first, then the Song faces a Linux desktop may have, then a face
    // Debian ships with CJK coverage. Without the list fontconfig answers "宋体" with a Latin
    // face and borrows the ideographs elsewhere, so Latin and Chinese captions differ in
    // height. Qt would take the list's first installed face too, but it looks up every
    // missing name through fontconfig's substitutions first, for each size of the face: the
    // face is named once, as fontconfig lists it, which is the name Qt knows it by.
    static const QStringList families = [] {
        const QStringList design{u"宋体"_s, u"SimSun"_s, u"Noto Serif CJK SC"_s,
                                 u"AR PL UMing CN"_s, u"WenQuanYi Micro Hei"_s};
        const QString installed = firstInstalledFamily(design);
        return installed.isEmpty() ? design : QStringList{installed};
    }();
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace qiravon::resources
