#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>

class QTcpServer;
class QTcpSocket;

namespace qiravon::test {

//! A forwarding HTTP proxy on 127.0.0.1 for tests: it takes absolute-URI requests
//! ("GET http://host/path HTTP/1.1"), counts them, and sends each to one upstream server on
//! 127.0.0.1 whatever host it names, so a test can use host names that only the proxy
//! "resolves". Responses, streams included, are relayed until either side hangs up.
class LocalProxy final : public QObject
{
    Q_OBJECT
public:
    explicit LocalProxy(quint16 upstreamPort, QObject* parent = nullptr);
    ~LocalProxy() override;

    [[nodiscard]] bool start();
    [[nodiscard]] quint16 port() const;
    //! The absolute URIs asked for, in order.
    [[nodiscard]] const QList<QByteArray>& requests() const { return m_requests; }

private:
    struct Tunnel
    {
        QPointer<QTcpSocket> client;
        QPointer<QTcpSocket> upstream;
        QByteArray head;
    };
    void onConnection();
    void onClientData(Tunnel& tunnel);

    QTcpServer* m_server;
    quint16 m_upstreamPort;
    QList<QByteArray> m_requests;
    QList<Tunnel*> m_tunnels;
};

} // namespace qiravon::test
