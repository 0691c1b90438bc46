#include "hosted/gst/playlistentries.h"
#include "hosted/gst/playlistformats.h"

namespace qiravon::playlist {

namespace {

// The five entities XML predefines, replaced in one pass so that "&amp;lt;" stays "&lt;".
QByteArray decodeXmlEntities(QByteArrayView text)
{
    static constexpr struct
    {
        const char* name;
        char value;
    } entities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        bool replaced = false;
        if (text[i] == '&') {
            for (const auto& entity : entities) {
                const QByteArrayView name(entity.name);
                if (text.size() - i >= name.size() &&
                    text.sliced(i, name.size()).compare(name, Qt::CaseInsensitive) == 0) {
                    out += entity.value;
                    i += name.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced)
            out += text[i++];
    }
    return out;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// The value of attribute `wanted` among a tag's attributes; null when it has none.
QByteArrayView attributeValue(QByteArrayView attributes, QByteArrayView wanted)
{
    qsizetype i = 0;
    const qsizetype n = attributes.size();
    while (i < n) {
        while (i < n && (isSpace(attributes[i]) || attributes[i] == '/'))
            ++i;
        const qsizetype nameStart = i;
        while (i < n && !isSpace(attributes[i]) && attributes[i] != '=' && attributes[i] != '/')
            ++i;
        const QByteArrayView name = attributes.sliced(nameStart, i - nameStart);
        while (i < n && isSpace(attributes[i]))
            ++i;
        QByteArrayView value;
        if (i < n && attributes[i] == '=') {
            ++i;
            while (i < n && isSpace(attributes[i]))
                ++i;
            if (i < n && (attributes[i] == '"' || attributes[i] == '\'')) {
                const char quote = attributes[i++];
                const qsizetype end = attributes.indexOf(quote, i);
                if (end < 0)
                    return {}; // cut off: whatever follows is no value
                value = attributes.sliced(i, end - i);
                i = end + 1;
            } else {
                const qsizetype valueStart = i;
                while (i < n && !isSpace(attributes[i]))
                    ++i;
                value = attributes.sliced(valueStart, i - valueStart);
            }
        } else if (name.isEmpty()) {
            ++i; // a stray '=' or quote: step over it
        }
        if (!name.isEmpty() && name.compare(wanted, Qt::CaseInsensitive) == 0)
            return value.isNull() ? QByteArrayView("") : value;
    }
    return {};
}

} // namespace

// ASX files are rarely well-formed XML (bare '&' in addresses, tags in any case, unquoted
// values), so the references are picked out by a scanner rather than an XML reader. Each
// byte is looked at a bounded number of times, whatever the body holds.
QList<QUrl> parseAsx(const QByteArray& body, const QUrl& base, qsizetype max)
{
    PlaylistEntries entries(max);
    const QByteArrayView text(body);
    qsizetype pos = 0;
    while (!entries.full()) {
        const qsizetype open = text.indexOf('<', pos);
        if (open < 0)
            break;
        qsizetype i = open + 1;
        while (i < text.size() && isSpace(text[i]))
            ++i;
        const qsizetype nameStart = i;
        while (i < text.size() && isSchemeChar(text[i], i == nameStart))
            ++i;
        const QByteArrayView name = text.sliced(nameStart, i - nameStart);
        pos = i;
        if (name.compare("ref", Qt::CaseInsensitive) != 0 &&
            name.compare("entryref", Qt::CaseInsensitive) != 0)
            continue;
        // The tag ends at the first '>' outside quotes; a quote left open runs to the body's
        // end, which stops the scan.
        qsizetype end = i;
        while (end < text.size() && text[end] != '>') {
            if (text[end] == '"' || text[end] == '\'') {
                const qsizetype close = text.indexOf(text[end], end + 1);
                end = close < 0 ? text.size() : close;
            }
            ++end;
        }
        const qsizetype stop = qMin(end, text.size());
        const QByteArrayView href = attributeValue(text.sliced(i, stop - i), "href");
        if (!href.isNull())
            entries.add(decodeXmlEntities(href), base);
        pos = stop;
    }
    return entries.take();
}

} // namespace qiravon::playlist
