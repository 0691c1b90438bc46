#include "hosted/gst/connectprobe.h"

#include "hosted/gst/systemproxy.h"

#include <QNetworkProxy>
#include <QTcpSocket>
#include <QUrl>

namespace qiravon {

ConnectProbe::ConnectProbe(QObject* parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(5000);
    connect(&m_timer, &QTimer::timeout, this, [this] { finish(PlayerError::Timeout); });
}

void ConnectProbe::start(const QUrl& url)
{
    cancel();
    m_socket = new QTcpSocket(this);
    const int defaultPort =
        url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 ? 443 : 80;
    QString host = url.host();
    int port = url.port(defaultPort);
    bool viaHttpProxy = false;
    const QNetworkProxy proxy = SystemProxy::forUrl(url);
    switch (proxy.type()) {
    case QNetworkProxy::HttpProxy:
    case QNetworkProxy::HttpCachingProxy:
        // GStreamer's HTTP source sent its request to the proxy, so the proxy is what did not
        // answer; a tunnel through it would test something the stream never used.
        host = proxy.hostName();
        port = proxy.port();
        viaHttpProxy = true;
        m_socket->setProxy(QNetworkProxy::NoProxy);
        break;
    case QNetworkProxy::Socks5Proxy:
        m_socket->setProxy(proxy);
        break;
    default:
        m_socket->setProxy(QNetworkProxy::NoProxy);
        break;
    }
    connect(m_socket, &QTcpSocket::connected, this, [this] { finish(PlayerError::Timeout); });
    connect(m_socket, &QTcpSocket::errorOccurred, this,
            [this, viaHttpProxy](QAbstractSocket::SocketError e) {
                switch (e) {
                case QAbstractSocket::ConnectionRefusedError:
                    finish(viaHttpProxy ? PlayerError::ProxyRefused : PlayerError::Refused);
                    break;
                case QAbstractSocket::HostNotFoundError:
                    finish(viaHttpProxy ? PlayerError::ProxyNotFound : PlayerError::HostNotFound);
                    break;
                case QAbstractSocket::ProxyConnectionRefusedError:
                    finish(PlayerError::ProxyRefused);
                    break;
                case QAbstractSocket::ProxyNotFoundError:
                    finish(PlayerError::ProxyNotFound);
                    break;
                default:
                    finish(PlayerError::Timeout);
                    break;
                }
            });
    m_socket->connectToHost(host, static_cast<quint16>(port));
    m_timer.start();
}

void ConnectProbe::cancel()
{
    m_timer.stop();
    if (QTcpSocket* socket = m_socket) {
        m_socket = nullptr;
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
}

void ConnectProbe::finish(PlayerError error)
{
    if (!m_socket)
        return;
    cancel();
    Q_EMIT finished(error);
}

} // namespace qiravon
