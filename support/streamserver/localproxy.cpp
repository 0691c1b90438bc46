#include "streamserver/localproxy.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace qiravon::test {

LocalProxy::LocalProxy(quint16 upstreamPort, QObject* parent)
    : QObject(parent), m_server(new QTcpServer(this)), m_upstreamPort(upstreamPort)
{
    connect(m_server, &QTcpServer::newConnection, this, &LocalProxy::onConnection);
}

LocalProxy::~LocalProxy()
{
    for (Tunnel* tunnel : std::as_const(m_tunnels)) {
        if (tunnel->client)
            tunnel->client->abort();
        if (tunnel->upstream)
            tunnel->upstream->abort();
        delete tunnel;
    }
}

bool LocalProxy::start()
{
    return m_server->listen(QHostAddress::LocalHost, 0);
}

quint16 LocalProxy::port() const
{
    return m_server->serverPort();
}

void LocalProxy::onConnection()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        auto* tunnel = new Tunnel;
        tunnel->client = socket;
        m_tunnels.append(tunnel);
        connect(socket, &QTcpSocket::readyRead, this, [this, tunnel] { onClientData(*tunnel); });
        connect(socket, &QTcpSocket::disconnected, this, [tunnel] {
            if (tunnel->upstream)
                tunnel->upstream->disconnectFromHost();
        });
    }
}

void LocalProxy::onClientData(Tunnel& tunnel)
{
    if (tunnel.upstream) {
        tunnel.upstream->write(tunnel.client->readAll());
        return;
    }
    tunnel.head += tunnel.client->readAll();
    const qsizetype end = tunnel.head.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    // "GET http://host:port/path HTTP/1.1": the absolute form is what proxies are sent.
    const qsizetype lineEnd = tunnel.head.indexOf("\r\n");
    const QList<QByteArray> line = tunnel.head.left(lineEnd).split(' ');
    const QUrl target = QUrl::fromEncoded(line.value(1));
    if (line.size() != 3 || !target.isValid() || target.scheme() != QLatin1String("http")) {
        tunnel.client->write("HTTP/1.0 400 Bad Request\r\nContent-Length: 0\r\n\r\n");
        tunnel.client->disconnectFromHost();
        return;
    }
    m_requests.append(line.value(1));
    QByteArray path = target.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority);
    if (path.isEmpty())
        path = "/";
    const QByteArray request =
        line.value(0) + ' ' + path + ' ' + line.value(2) + tunnel.head.mid(lineEnd);
    auto* upstream = new QTcpSocket(this);
    tunnel.upstream = upstream;
    Tunnel* self = &tunnel;
    connect(upstream, &QTcpSocket::connected, this,
            [upstream, request] { upstream->write(request); });
    connect(upstream, &QTcpSocket::readyRead, this, [self, upstream] {
        if (self->client)
            self->client->write(upstream->readAll());
    });
    connect(upstream, &QTcpSocket::disconnected, this, [self, upstream] {
        if (self->client)
            self->client->disconnectFromHost();
        upstream->deleteLater();
    });
    upstream->connectToHost(QHostAddress::LocalHost, m_upstreamPort);
}

} // namespace qiravon::test
