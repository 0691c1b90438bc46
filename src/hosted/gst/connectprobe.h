#pragma once

#include "hosted/gst/playerstatus.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

class QTcpSocket;
class QUrl;

namespace qiravon {

//! Connects to an address's host and port once, to tell a refused connection from an
//! unknown host or a silent one when the stream source reports them all alike. Behind an
//! HTTP proxy it connects to the proxy, which is where the stream source went.
class ConnectProbe final : public QObject
{
    Q_OBJECT
public:
    explicit ConnectProbe(QObject* parent = nullptr);
    //! Abandons any probe still running (it reports nothing) and starts a new one.
    void start(const QUrl& url);
    void cancel();

Q_SIGNALS:
    //! Refused, HostNotFound, ProxyRefused, ProxyNotFound or Timeout; Timeout also when the
    //! connection succeeds, since the server then accepted but never answered the request.
    void finished(qiravon::PlayerError error);

private:
    void finish(PlayerError error);

    QPointer<QTcpSocket> m_socket;
    QTimer m_timer;
};

} // namespace qiravon
