#pragma once

#include "hosted/gst/playerstatus.h"
#include "hosted/gst/playlistparser.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace qiravon {

//! What fetching an address as a playlist found.
struct PlaylistResult
{
    QList<QUrl> entries;                   //!< in playlist order; empty on failure
    bool isStream = false;                 //!< the address is a stream (HLS, audio): play it as is
    PlayerError error = PlayerError::None; //!< set when neither entries nor a stream came back
    int httpStatus = 0;
};

//! Fetches and parses one playlist at a time, asynchronously on the UI thread's event loop,
//! with a cap on the body's size and on the whole fetch's duration.
class PlaylistFetcher final : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 kMaxBytes = 512 * 1024;
    //! Entries kept from one playlist: more are never tried, however long it is.
    static constexpr qsizetype kMaxEntries = 20;

    explicit PlaylistFetcher(QObject* parent = nullptr);
    ~PlaylistFetcher() override;

    //! Starts fetching `url`, abandoning any fetch still running (it reports nothing).
    //! `hint` is the kind the address's name suggested, used when the body does not tell.
    void fetch(const QUrl& url, PlaylistKind hint);
    void cancel();
    void setTimeout(int ms) { m_timer.setInterval(ms); }

Q_SIGNALS:
    //! Emitted once per fetch() that was not cancelled.
    void finished(const QUrl& url, const qiravon::PlaylistResult& result);

private:
    void onMetaData();
    void onReadyRead();
    void onFinished();
    void finish(PlaylistResult result);

    QNetworkAccessManager* m_network;
    QPointer<QNetworkReply> m_reply;
    QTimer m_timer;
    QUrl m_url;
    PlaylistKind m_hint = PlaylistKind::None;
    QByteArray m_body;
    bool m_timedOut = false;
    bool m_tooLarge = false;
    bool m_isStream = false;
};

} // namespace qiravon
