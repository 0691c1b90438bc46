#include "streamserver/icecastserver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qiravon::test {

namespace {

const QString kPassword = QStringLiteral("qiravon-test");

// icecast2 refuses to run as root; it then needs a user to become, who must be able to
// reach and write its log folder.
QString ownershipClause(const QString& logDir)
{
    if (geteuid() != 0)
        return {};
    const passwd* user = getpwnam("nobody");
    if (!user)
        return {};
    const group* grp = getgrgid(user->pw_gid);
    if (chown(QFile::encodeName(logDir).constData(), user->pw_uid, user->pw_gid) != 0)
        return {};
    return QStringLiteral("<changeowner><user>nobody</user><group>%1</group></changeowner>")
        .arg(QString::fromLocal8Bit(grp ? grp->gr_name : "nogroup"));
}

} // namespace

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool waitForHttp200(const QUrl& url, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QTcpSocket socket;
        socket.connectToHost(url.host(), static_cast<quint16>(url.port(80)));
        if (socket.waitForConnected(1000)) {
            socket.write("GET " + url.path().toUtf8() + " HTTP/1.0\r\n\r\n");
            QByteArray reply;
            while (reply.size() < 2048 && socket.waitForReadyRead(1000))
                reply += socket.readAll();
            if (reply.startsWith("HTTP/1.0 200") || reply.startsWith("HTTP/1.1 200"))
                return true;
        }
        QThread::msleep(200);
    }
    return false;
}

IcecastServer::IcecastServer() = default;

IcecastServer::~IcecastServer()
{
    stop();
}

QString IcecastServer::start()
{
    if (!m_dir.isValid())
        return QStringLiteral("no temporary folder");
    m_port = freePort();
    const QString logDir = m_dir.path() + QStringLiteral("/log");
    QDir().mkpath(logDir);
    // The server drops root before opening its logs, so the folder above must be passable.
    chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    const QString config = QStringLiteral(R"(<icecast>
  <location>test</location><admin>test@localhost</admin>
  <limits><clients>50</clients><sources>4</sources><burst-on-connect>1</burst-on-connect>
    <burst-size>32768</burst-size><source-timeout>10</source-timeout></limits>
  <authentication><source-password>%1</source-password><admin-user>admin</admin-user>
    <admin-password>%1</admin-password></authentication>
  <hostname>127.0.0.1</hostname>
  <listen-socket><port>%2</port><bind-address>127.0.0.1</bind-address></listen-socket>
  <fileserve>1</fileserve>
  <paths><basedir>/usr/share/icecast2</basedir><logdir>%3</logdir>
    <webroot>/usr/share/icecast2/web</webroot><adminroot>/usr/share/icecast2/admin</adminroot>
  </paths>
  <logging><accesslog>access.log</accesslog><errorlog>error.log</errorlog>
    <loglevel>2</loglevel></logging>
  <security><chroot>0</chroot>%4</security>
</icecast>
)")
                               .arg(kPassword)
                               .arg(m_port)
                               .arg(logDir, ownershipClause(logDir));
    const QString configPath = m_dir.path() + QStringLiteral("/icecast.xml");
    QFile file(configPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(config.toUtf8()) < 0)
        return QStringLiteral("cannot write %1").arg(configPath);
    file.close();

    m_server = std::make_unique<QProcess>();
    m_server->setProcessChannelMode(QProcess::MergedChannels);
    m_server->start(QStringLiteral("icecast2"), {QStringLiteral("-c"), configPath});
    if (!m_server->waitForStarted(5000))
        return QStringLiteral("icecast2 did not start");
    if (!waitForHttp200(url(QStringLiteral("/status-json.xsl")), 10000))
        return QStringLiteral("icecast2 does not answer: %1")
            .arg(QString::fromLocal8Bit(m_server->readAll()));

    const QString mp3 = QStringLiteral("lamemp3enc target=bitrate bitrate=128 cbr=true");
    const QString opus = QStringLiteral("opusenc bitrate=64000 ! oggmux");
    for (const auto& [encoder, mount] :
         {std::pair{mp3, QStringLiteral("/mp3")}, std::pair{opus, QStringLiteral("/opus")}}) {
        if (QString error = startFeeder(encoder, mount); !error.isEmpty())
            return error;
    }
    return {};
}

QString IcecastServer::startFeeder(const QString& encoder, const QString& mount)
{
    auto feeder = std::make_shared<QProcess>();
    feeder->setProcessChannelMode(QProcess::MergedChannels);
    const QString pipeline =
        QStringLiteral("audiotestsrc is-live=true wave=sine freq=440 volume=0.3 ! "
                       "audio/x-raw,rate=48000,channels=2 ! audioconvert ! audioresample ! %1 "
                       "! shout2send ip=127.0.0.1 port=%2 password=%3 mount=%4")
            .arg(encoder)
            .arg(m_port)
            .arg(kPassword, mount);
    feeder->start(QStringLiteral("gst-launch-1.0"),
                  QStringList{QStringLiteral("-q")} + QProcess::splitCommand(pipeline));
    m_feeders.append(feeder);
    if (!waitForHttp200(url(mount), 15000))
        return QStringLiteral("mount %1 never came up: %2")
            .arg(mount, QString::fromLocal8Bit(feeder->readAll()));
    return {};
}

void IcecastServer::stop()
{
    for (const auto& feeder : std::as_const(m_feeders)) {
        feeder->kill();
        feeder->waitForFinished(3000);
    }
    m_feeders.clear();
    if (m_server) {
        m_server->terminate();
        if (!m_server->waitForFinished(3000)) {
            m_server->kill();
            m_server->waitForFinished(3000);
        }
        m_server.reset();
    }
}

QUrl IcecastServer::url(const QString& mount) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(mount));
}

} // namespace qiravon::test
