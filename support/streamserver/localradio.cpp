#include "streamserver/localradio.h"

#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace qiravon::test {

namespace {

constexpr int kTickMs = 50;
constexpr int kMetaint = 8192;

QByteArray typeForFile(const QString& name)
{
    if (name.endsWith(QLatin1String(".m3u8")))
        return "application/vnd.apple.mpegurl";
    if (name.endsWith(QLatin1String(".ts")))
        return "video/mp2t";
    return "application/octet-stream";
}

QByteArray icyBlock(const QByteArray& title)
{
    QByteArray text = "StreamTitle='" + title + "';";
    const int blocks = static_cast<int>((text.size() + 15) / 16);
    text.resize(blocks * 16, '\0');
    return char(blocks) + text;
}

} // namespace

LocalRadio::LocalRadio(QObject* parent) : QObject(parent), m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &LocalRadio::onConnection);
    m_pace.setInterval(kTickMs);
    connect(&m_pace, &QTimer::timeout, this, &LocalRadio::pump);
}

LocalRadio::~LocalRadio()
{
    stop();
}

bool LocalRadio::start(quint16 port)
{
    if (!m_server->listen(QHostAddress::LocalHost, port))
        return false;
    m_port = m_server->serverPort();
    m_pace.start();
    return true;
}

void LocalRadio::stop()
{
    m_server->close();
    m_pace.stop();
    for (Client* client : std::as_const(m_clients)) {
        if (client->socket)
            client->socket->abort();
        delete client;
    }
    m_clients.clear();
}

QUrl LocalRadio::url(const QString& path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path));
}

void LocalRadio::addFile(const QString& path, const QByteArray& body, const QByteArray& type)
{
    m_files.insert(path, {body, type});
}

void LocalRadio::addRedirect(const QString& path, const QByteArray& location)
{
    m_redirects.insert(path, location);
}

void LocalRadio::setBroken(const QString& path, bool broken)
{
    if (!broken) {
        m_broken.remove(path);
        return;
    }
    m_broken.insert(path);
    for (Client* client : std::as_const(m_clients))
        if (client->path == path && client->socket)
            client->socket->abort();
}

void LocalRadio::onConnection()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        auto* client = new Client;
        client->socket = socket;
        m_clients.append(client);
        connect(socket, &QTcpSocket::readyRead, this, [this, client] {
            if (client->stream || !client->socket)
                return;
            client->request += client->socket->readAll();
            if (client->request.contains("\r\n\r\n"))
                onRequest(*client);
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void LocalRadio::onRequest(Client& client)
{
    const QList<QByteArray> lines = client.request.split('\n');
    const QList<QByteArray> first = lines.first().split(' ');
    const QByteArray path = first.value(1);
    bool wantsIcy = false;
    for (const QByteArray& line : lines)
        if (line.trimmed().toLower() == "icy-metadata: 1")
            wantsIcy = true;
    client.path = QString::fromUtf8(path);
    m_requests[client.path] += 1;
    respond(client, path, wantsIcy);
}

void LocalRadio::respond(Client& client, const QByteArray& rawPath, bool wantsIcy)
{
    const QString path = QString::fromUtf8(rawPath);
    QTcpSocket* socket = client.socket;
    auto sendWhole = [socket](const QByteArray& status, const QByteArray& type,
                              const QByteArray& body, const QByteArray& extra = {}) {
        socket->write("HTTP/1.0 " + status + "\r\nContent-Type: " + type +
                      "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n" + extra +
                      "Connection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    };
    if (m_broken.contains(path)) {
        sendWhole("503 Service Unavailable", "text/plain", "off the air");
        return;
    }
    if (auto it = m_redirects.constFind(path); it != m_redirects.constEnd()) {
        sendWhole("302 Found", "text/plain", {}, "Location: " + it.value() + "\r\n");
        return;
    }
    if (auto it = m_streams.constFind(path); it != m_streams.constEnd()) {
        client.stream = &it.value();
        QByteArray head =
            "HTTP/1.0 200 OK\r\nContent-Type: " + it->contentType + "\r\nicy-name: Local Radio\r\n";
        if (it->contentLength >= 0)
            head += "Content-Length: " + QByteArray::number(it->contentLength) + "\r\n";
        if (wantsIcy && !it->icyTitle.isEmpty()) {
            client.metaint = client.untilMeta = kMetaint;
            head += "icy-metaint: " + QByteArray::number(kMetaint) + "\r\n";
        }
        socket->write(head + "\r\n");
        sendAudio(client, it->burstBytes);
        return;
    }
    if (auto it = m_files.constFind(path); it != m_files.constEnd()) {
        sendWhole("200 OK", it->contentType, it->body);
        return;
    }
    for (auto it = m_dirs.constBegin(); it != m_dirs.constEnd(); ++it) {
        if (!path.startsWith(it.key()))
            continue;
        const QString name = QFileInfo(path.mid(it.key().size())).fileName();
        QFile file(it.value() + QLatin1Char('/') + name);
        if (!name.isEmpty() && file.open(QIODevice::ReadOnly)) {
            sendWhole("200 OK", typeForFile(name), file.readAll());
            return;
        }
    }
    sendWhole("404 Not Found", "text/html", "<html><body>Not found</body></html>");
}

void LocalRadio::pump()
{
    for (qsizetype i = 0; i < m_clients.size();) {
        Client* client = m_clients.at(i);
        if (!client->socket || client->socket->state() != QAbstractSocket::ConnectedState) {
            delete client;
            m_clients.removeAt(i);
            continue;
        }
        if (client->stream)
            sendAudio(*client, client->stream->bytesPerSecond * kTickMs / 1000);
        ++i;
    }
}

void LocalRadio::sendAudio(Client& client, qint64 bytes)
{
    const Stream& stream = *client.stream;
    if (stream.data.isEmpty() || !client.socket)
        return;
    if (stream.stallAfterBytes >= 0)
        bytes = qMin(bytes, stream.stallAfterBytes - client.sent);
    if (stream.hangUpAfterBytes >= 0)
        bytes = qMin(bytes, stream.hangUpAfterBytes - client.sent);
    // Keep the kernel's buffer from hiding a stall or a slow reader.
    if (client.socket->bytesToWrite() > 256 * 1024)
        return;
    QByteArray out;
    while (bytes > 0) {
        qint64 n = qMin(bytes, stream.data.size() - client.position);
        if (client.metaint > 0)
            n = qMin<qint64>(n, client.untilMeta);
        out += stream.data.mid(client.position, n);
        client.position = (client.position + n) % stream.data.size();
        client.sent += n;
        bytes -= n;
        if (client.metaint > 0 && (client.untilMeta -= static_cast<int>(n)) == 0) {
            out += icyBlock(stream.icyTitle);
            client.untilMeta = client.metaint;
        }
    }
    client.socket->write(out);
    if (stream.hangUpAfterBytes >= 0 && client.sent >= stream.hangUpAfterBytes)
        client.socket->disconnectFromHost();
}

} // namespace qiravon::test
