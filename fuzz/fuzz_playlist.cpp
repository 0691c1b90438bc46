// The playlist parser on bodies from servers we don't control, in all four formats. Whatever
// the body, every entry is a network address with a host, there are no more entries than
// bytes, and no entry is longer than the text it can have come from: a body must not make
// the parser build addresses out of nothing (entity expansion).
//
// Input: one byte choosing the format, then the body.

#include "fuzzcheck.h"
#include "hosted/gst/playlistparser.h"

#include <QStringList>
#include <QUrl>
#include <algorithm>

using namespace Qt::StringLiterals;
using qiravon::PlaylistKind;

namespace {

const QUrl kBase(u"http://radio.example/lists/station.pls"_s);

bool isNetworkScheme(const QString& scheme)
{
    static const QStringList network{u"http"_s, u"https"_s, u"mms"_s, u"mmsh"_s,
                                     u"mmst"_s, u"rtsp"_s,  u"rtmp"_s};
    return network.contains(scheme.toLower());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const qiravon::fuzz::TimedInput timed(data, size);
    constexpr PlaylistKind kKinds[] = {PlaylistKind::M3u, PlaylistKind::Pls, PlaylistKind::Asx,
                                       PlaylistKind::Xspf};
    const PlaylistKind kind = kKinds[data[0] % 4];
    const QByteArray body = qiravon::fuzz::bytes(data + 1, size - 1);

    // Telling the kind must cope with anything too.
    (void)qiravon::sniffPlaylist(body);
    (void)qiravon::playlistKindFromContentType(body.left(80));

    // As the player reads a fetched body: at most its cap of entries.
    constexpr qsizetype kMaxEntries = 20;
    const qiravon::PlaylistRead read = qiravon::readPlaylist(kind, body, kBase, kMaxEntries);
    const QList<QUrl>& entries = read.entries;
    FUZZ_CHECK(!read.refused || entries.isEmpty(), "a refused body with entries");
    FUZZ_CHECK(entries.size() <= kMaxEntries, "more entries than the cap");
    FUZZ_CHECK(entries.size() <= body.size(), "more entries than bytes");
    // Percent-encoding may triple what a capped entry had, resolving adds the base.
    const qsizetype longest =
        3 * std::min(body.size(), qiravon::kMaxEntryBytes) + kBase.toEncoded().size() + 64;
    for (const QUrl& url : entries) {
        FUZZ_CHECK(url.isValid() && !url.isRelative(), "an entry that is no absolute address");
        FUZZ_CHECK(isNetworkScheme(url.scheme()), "an entry that is no network address");
        FUZZ_CHECK(!url.host().isEmpty(), "an entry without a host");
        FUZZ_CHECK(url.toEncoded().size() <= longest, "an entry longer than its text");
    }
    return 0;
}
