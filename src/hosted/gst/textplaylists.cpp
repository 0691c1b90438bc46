// The line-based playlist formats: M3U and PLS.

#include "hosted/gst/playlistentries.h"
#include "hosted/gst/playlistformats.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace qiravon::playlist {

namespace {

// Calls `f` with each line; CR, LF and CRLF all end one.
template <typename F> void forEachLine(QByteArrayView body, F&& f)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body[i] != '\n' && body[i] != '\r')
            continue;
        f(body.sliced(start, i - start));
        if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < body.size())
        f(body.sliced(start));
}

QByteArrayView withoutBom(QByteArrayView line)
{
    return line.startsWith("\xEF\xBB\xBF") ? line.sliced(3) : line;
}

} // namespace

QList<QUrl> parseM3u(const QByteArray& body, const QUrl& base, qsizetype max)
{
    PlaylistEntries entries(max);
    forEachLine(body, [&](QByteArrayView line) {
        const QByteArrayView entry = withoutBom(line.trimmed());
        if (!entry.isEmpty() && !entry.startsWith('#'))
            entries.add(entry, base);
    });
    return entries.take();
}

QList<QUrl> parsePls(const QByteArray& body, const QUrl& base, qsizetype max)
{
    // FileN keys may come in any order and with gaps; N orders them. The first usable value
    // of each N counts.
    struct Value
    {
        int number;
        QByteArrayView text;
    };
    std::vector<Value> values;
    forEachLine(body, [&](QByteArrayView line) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            return;
        const QByteArrayView key = line.first(eq).trimmed();
        if (key.size() < 4 || key.first(4).compare("file", Qt::CaseInsensitive) != 0)
            return;
        bool ok = false;
        const int number = key.sliced(4).toInt(&ok);
        if (ok)
            values.push_back({number, line.sliced(eq + 1)});
    });
    std::stable_sort(values.begin(), values.end(),
                     [](const Value& a, const Value& b) { return a.number < b.number; });
    PlaylistEntries entries(max);
    std::optional<int> taken;
    for (const Value& value : values) {
        if (entries.full())
            break;
        if (taken != value.number && entries.add(value.text, base))
            taken = value.number;
    }
    return entries.take();
}

} // namespace qiravon::playlist
