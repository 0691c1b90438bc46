#include "hosted/gst/connectprobe.h"

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
    connect(m_socket, &QTcpSocket::connected, this, [this] { finish(PlayerError::Timeout); });
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        switch (e) {
        case QAbstractSocket::ConnectionRefusedError:
            finish(PlayerError::Refused);
            break;
        case QAbstractSocket::HostNotFoundError:
            finish(PlayerError::HostNotFound);
            break;
        default:
            finish(PlayerError::Timeout);
            break;
        }
    });
    const int defaultPort =
        url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 ? 443 : 80;
    m_socket->connectToHost(url.host(), static_cast<quint16>(url.port(defaultPort)));
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
