#pragma once

// The parts every playlist format shares: what makes an entry a network address we may play,
// and the cap on how many are kept. Used by the format readers only.

#include <QByteArrayView>
#include <QList>
#include <QUrl>

namespace qiravon::playlist {

//! Whether `c` may stand in a URI scheme (or an XML name), at its start or further on.
[[nodiscard]] bool isSchemeChar(char c, bool first);

//! Collects entries up to a cap. With a cap, it also stops after a few times as many entries
//! passed the cheap checks and still failed to parse: a playlist of thousands of such lines
//! is not worth reading to its end.
class PlaylistEntries
{
public:
    explicit PlaylistEntries(qsizetype max) : m_max(max) {}
    [[nodiscard]] bool full() const
    {
        return m_max >= 0 && (m_urls.size() >= m_max || m_parsed >= 4 * m_max + 16);
    }
    //! True when `raw` gave an entry.
    bool add(QByteArrayView raw, const QUrl& base);
    QList<QUrl> take() { return std::move(m_urls); }

private:
    qsizetype m_max;
    qsizetype m_parsed = 0;
    QList<QUrl> m_urls;
};

} // namespace qiravon::playlist
