#include "session/mprisvalues.h"

#include "session/mediacontrols.h"

#include <QDBusObjectPath>
#include <cmath>

using namespace Qt::StringLiterals;

namespace qiravon::mpris {

namespace {

// A stream title is one line of a widget; more than this is noise or an attack.
constexpr qsizetype kMaxBusText = 1024;

} // namespace

QVariantMap metadata(const NowPlaying& now)
{
    if (now.serial <= 0)
        return {};
    const QString station = busText(now.station);
    const QString title = busText(now.streamTitle);
    QVariantMap map;
    // The id only has to tell one start of a station from the next; paths under /org/mpris
    // are reserved.
    map.insert(u"mpris:trackid"_s,
               QVariant::fromValue(QDBusObjectPath(u"/org/qiravon/Qiravon/Station/"_s +
                                                   QString::number(now.serial))));
    map.insert(u"xesam:title"_s, title.isEmpty() ? station : title);
    map.insert(u"xesam:album"_s, station);
    if (const QString address = busText(now.address); !address.isEmpty())
        map.insert(u"xesam:url"_s, address);
    return map;
}

std::optional<int> volumeFromBus(double volume)
{
    if (std::isnan(volume))
        return std::nullopt;
    if (volume <= 0)
        return 0;
    if (volume >= 1)
        return 100;
    return static_cast<int>(std::lround(volume * 100));
}

QString busText(const QString& text)
{
    QString clean;
    clean.reserve(qMin(text.size(), kMaxBusText));
    for (const QChar c : text) {
        if (clean.size() == kMaxBusText) {
            if (clean.back().isHighSurrogate())
                clean.chop(1);
            break;
        }
        if (c.category() != QChar::Other_Control)
            clean.append(c);
    }
    return clean;
}

} // namespace qiravon::mpris
