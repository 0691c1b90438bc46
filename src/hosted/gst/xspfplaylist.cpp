#include "hosted/gst/playlistentries.h"
#include "hosted/gst/playlistformats.h"

#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace qiravon::playlist {

namespace {

constexpr int kMaxXmlDepth = 64;
// With a cap on entries, an XML playlist whose first entries are not among its first few
// thousand elements is not worth reading on: the reader's cost is per element.
constexpr int kMaxXmlElementsWhenCapped = 4096;

} // namespace

PlaylistRead parseXspf(const QByteArray& body, const QUrl& base, qsizetype max)
{
    PlaylistRead read;
    PlaylistEntries entries(max);
    QXmlStreamReader xml(body);
    bool inTrack = false;
    int depth = 0;
    int elements = 0;
    while (!xml.atEnd() && !entries.full()) {
        const auto token = xml.readNext();
        // The reader expands what a DTD declares as it goes; stop before any of it.
        if (token == QXmlStreamReader::DTD) {
            read.refused = true;
            return read;
        }
        if (token == QXmlStreamReader::StartElement) {
            // XSPF nests four deep; the reader's cost grows with depth, so a body of nothing
            // but opening tags is where reading stops.
            if (++depth > kMaxXmlDepth || (max >= 0 && ++elements > kMaxXmlElementsWhenCapped))
                break;
            if (xml.name() == u"track"_s) {
                inTrack = true;
            } else if (inTrack && xml.name() == u"location"_s) {
                const QString location = xml.readElementText();
                --depth;
                if (xml.hasError())
                    break;
                if (location.size() <= kMaxEntryBytes)
                    entries.add(location.toUtf8(), base);
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
            if (xml.name() == u"track"_s)
                inTrack = false;
        }
    }
    // Entries read before a syntax error are kept: a truncated playlist still names streams.
    read.entries = entries.take();
    return read;
}

} // namespace qiravon::playlist
