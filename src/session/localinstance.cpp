#include "session/localinstance.h"

#include "session/log.h"

#include <QLocalSocket>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

const QByteArray kRaise = "raise\n";
constexpr int kConnectTimeoutMs = 1000;
// A client that connects and says nothing is dropped after this long.
constexpr int kClientTimeoutMs = 2000;

QString fileStem(const QString& folder, const QString& display)
{
    QString key;
    for (const QChar c : display)
        key.append(c.isLetterOrNumber() && c.unicode() < 0x80 ? c : u'_');
    return folder + u"/qiravon-"_s + (key.isEmpty() ? u"default"_s : key);
}

} // namespace

LocalInstance::LocalInstance(const QString& folder, const QString& display, QObject* parent)
    : QObject(parent), m_socketPath(fileStem(folder, display) + u".socket"_s),
      m_lock(fileStem(folder, display) + u".lock"_s), m_folderMissing(folder.isEmpty())
{
    // Only a holder that is gone makes the lock stale, however long it has been held.
    m_lock.setStaleLockTime(0);
}

LocalInstance::~LocalInstance()
{
    if (m_server)
        m_server->close();
}

LocalInstance::Claim LocalInstance::claim()
{
    // Qt gives no runtime folder when it cannot make a private one; no other place will do.
    if (m_folderMissing)
        return Claim::Unusable;
    if (m_lock.tryLock(0)) {
        listen();
        return Claim::Held;
    }
    if (m_lock.error() != QLockFile::LockFailedError) {
        qCWarning(lcSession) << "cannot lock" << m_socketPath << "; starting regardless";
        return Claim::Unusable;
    }
    if (!askToRaise())
        qCInfo(lcSession) << "a player is running but did not answer; it may still be starting";
    return Claim::Running;
}

bool LocalInstance::askToRaise()
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(kRaise);
    const bool sent = socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return sent;
}

void LocalInstance::listen()
{
    // Holding the lock, any socket left there belongs to a player that is gone.
    QLocalServer::removeServer(m_socketPath);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server.get(), &QLocalServer::newConnection, this, &LocalInstance::onConnection);
    if (!m_server->listen(m_socketPath))
        qCWarning(lcSession) << "cannot listen on" << m_socketPath << ":"
                             << m_server->errorString();
}

void LocalInstance::onConnection()
{
    while (QLocalSocket* client = m_server->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        QTimer::singleShot(kClientTimeoutMs, client, &QLocalSocket::abort);
        connect(client, &QLocalSocket::readyRead, this, [this, client] {
            if (client->bytesAvailable() < kRaise.size())
                return;
            const bool raise = client->read(kRaise.size()) == kRaise;
            client->abort();
            qCDebug(lcSession) << "a later start asked for the window:" << raise;
            if (raise)
                Q_EMIT raiseRequested();
        });
    }
}

} // namespace qiravon
