#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QTimer>
#include <QUrl>

class QTcpServer;
class QTcpSocket;

namespace qiravon::test {

//! A small HTTP/1.0 radio server on 127.0.0.1 that a test drives: it serves looping streams
//! at their real bit rate (optionally with ICY metadata), plain files, and faults on demand.
class LocalRadio final : public QObject
{
    Q_OBJECT
public:
    struct Stream
    {
        QByteArray data; //!< looped for as long as the client listens
        QByteArray contentType;
        int bytesPerSecond = 16000;
        int burstBytes = 16000;       //!< sent at once, as radio servers do for a quick start
        QByteArray icyTitle;          //!< raw bytes of StreamTitle; empty: no ICY metadata
        qint64 stallAfterBytes = -1;  //!< stop sending (socket kept open) after this many
        qint64 contentLength = -1;    //!< announced as the Content-Length; -1: none, as radios do
        qint64 hangUpAfterBytes = -1; //!< close the connection after this many
    };

    explicit LocalRadio(QObject* parent = nullptr);
    ~LocalRadio() override;

    //! Listens on `port` (0: any free port). Returns false when the port is taken.
    bool start(quint16 port = 0);
    //! Closes the listening socket and every connection, as a crashed server would.
    void stop();
    [[nodiscard]] quint16 port() const { return m_port; }
    [[nodiscard]] QUrl url(const QString& path) const;

    void addStream(const QString& path, const Stream& stream) { m_streams.insert(path, stream); }
    //! Serves `body` whole, with its Content-Length.
    void addFile(const QString& path, const QByteArray& body, const QByteArray& contentType);
    //! Answers `path` with a redirect to `location`.
    void addRedirect(const QString& path, const QByteArray& location);
    //! While broken, `path` answers 503 and its open connections are cut, as a station that
    //! went off the air does; the rest of the server carries on.
    void setBroken(const QString& path, bool broken);
    //! Serves every file of `dir` under `prefix` (for HLS playlists and segments).
    void addDirectory(const QString& prefix, const QString& dir) { m_dirs.insert(prefix, dir); }
    //! How many requests each path got, so tests see reconnects.
    [[nodiscard]] int requests(const QString& path) const { return m_requests.value(path); }

private:
    struct File
    {
        QByteArray body;
        QByteArray contentType;
    };
    struct Client
    {
        QPointer<QTcpSocket> socket;
        QByteArray request;
        QString path;
        const Stream* stream = nullptr;
        qint64 position = 0; //!< in the looped data
        qint64 sent = 0;     //!< audio bytes sent
        int metaint = 0;     //!< 0: no ICY metadata
        int untilMeta = 0;
    };

    void onConnection();
    void onRequest(Client& client);
    void respond(Client& client, const QByteArray& path, bool wantsIcy);
    void pump();
    void sendAudio(Client& client, qint64 bytes);

    QTcpServer* m_server;
    quint16 m_port = 0;
    QTimer m_pace;
    QHash<QString, Stream> m_streams;
    QHash<QString, File> m_files;
    QHash<QString, QByteArray> m_redirects;
    QSet<QString> m_broken;
    QHash<QString, QString> m_dirs;
    QHash<QString, int> m_requests;
    QList<Client*> m_clients;
};

} // namespace qiravon::test
