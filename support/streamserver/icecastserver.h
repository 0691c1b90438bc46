#pragma once

#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>

namespace qiravon::test {

//! Debian's icecast2 on 127.0.0.1 with live test-tone sources fed by gst-launch-1.0:
//! "/mp3" (128 kbps MP3) and "/opus" (Ogg Opus).
class IcecastServer
{
public:
    IcecastServer();
    ~IcecastServer();
    //! Starts the server and its sources and waits until both mounts answer; empty error
    //! text on success.
    [[nodiscard]] QString start();
    void stop();
    [[nodiscard]] QUrl url(const QString& mount) const;

private:
    QString startFeeder(const QString& encoder, const QString& mount);

    QTemporaryDir m_dir;
    quint16 m_port = 0;
    std::unique_ptr<QProcess> m_server;
    QList<std::shared_ptr<QProcess>> m_feeders;
};

//! A TCP port nobody listens on right now.
[[nodiscard]] quint16 freePort();
//! Polls `url` until it answers 200 with a body, up to `timeoutMs`.
[[nodiscard]] bool waitForHttp200(const QUrl& url, int timeoutMs);

} // namespace qiravon::test
