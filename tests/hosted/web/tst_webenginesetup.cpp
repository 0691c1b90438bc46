// Where the browser looks for an address, and how the process recognises a virtual X server;
// neither needs a running engine.

#include "hosted/web/browseraddress.h"
#include "hosted/web/webengineenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using qiravon::browserUrl;
using qiravon::isVirtualXServer;

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace

class TestWebEngineSetup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void localFileKeepsCharactersAnAddressBarWouldEat();
    void otherAddressesAreReadAsTyped();
    void virtualServerIsFoundThroughItsLockFile();
    void otherServersAreNotVirtual();
};

void TestWebEngineSetup::localFileKeepsCharactersAnAddressBarWouldEat()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // An install folder may hold spaces, '#', '?', '%' and Chinese; none of them may become a
    // fragment, a query or an escape.
    const QString path = dir.path() + u"/电台 #1?x=%20/index.htm"_s;
    writeFile(path, "<title>t</title>");
    const QUrl url = browserUrl(path);
    QVERIFY(url.isLocalFile());
    QCOMPARE(url.toLocalFile(), path);
    QVERIFY(!url.hasFragment());
    QVERIFY(!url.hasQuery());
}

void TestWebEngineSetup::otherAddressesAreReadAsTyped()
{
    QCOMPARE(browserUrl(u"http://radio.example.org/play.htm?id=3#top"_s),
             QUrl(u"http://radio.example.org/play.htm?id=3#top"_s));
    QCOMPARE(browserUrl(u"www.example.org/live"_s), QUrl(u"http://www.example.org/live"_s));
    // A start page that is missing still goes to the engine, which shows its own error page.
    const QUrl missing = browserUrl(u"/nonexistent-qiravon/data/index.htm"_s);
    QVERIFY(missing.isLocalFile());
    QCOMPARE(missing.toLocalFile(), u"/nonexistent-qiravon/data/index.htm"_s);
}

void TestWebEngineSetup::virtualServerIsFoundThroughItsLockFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString locks = dir.path() + u"/tmp"_s;
    const QString proc = dir.path() + u"/proc"_s;
    // The lock file holds the pid right-aligned in ten columns, as the X server writes it.
    writeFile(locks + u"/.X99-lock"_s, "      4242\n");
    writeFile(proc + u"/4242/comm"_s, "Xvfb\n");

    QVERIFY(isVirtualXServer(u":99"_s, locks, proc));
    QVERIFY(isVirtualXServer(u":99.0"_s, locks, proc));
    QVERIFY(isVirtualXServer(u"unix:99"_s, locks, proc));
}

void TestWebEngineSetup::otherServersAreNotVirtual()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString locks = dir.path() + u"/tmp"_s;
    const QString proc = dir.path() + u"/proc"_s;
    writeFile(locks + u"/.X0-lock"_s, "       100\n");
    writeFile(proc + u"/100/comm"_s, "Xorg\n");
    writeFile(locks + u"/.X10-lock"_s, "       200\n");
    writeFile(proc + u"/200/comm"_s, "Xvfb\n");
    writeFile(locks + u"/.X5-lock"_s, "garbage\n");

    QVERIFY(!isVirtualXServer(u":0"_s, locks, proc));
    // An SSH forward names a TCP display; a local Xvfb that happens to share its number is
    // not the server the program talks to.
    QVERIFY(!isVirtualXServer(u"localhost:10.0"_s, locks, proc));
    QVERIFY(!isVirtualXServer(u":5"_s, locks, proc));
    QVERIFY(!isVirtualXServer(u":7"_s, locks, proc));
    QVERIFY(!isVirtualXServer(QString(), locks, proc));
}

QTEST_GUILESS_MAIN(TestWebEngineSetup)
#include "tst_webenginesetup.moc"
