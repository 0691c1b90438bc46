// The start page's title as the lazy browser reads it before any engine runs: decoded as the
// engine would decode the page, and read only from a regular file, within a bound.

#include "hosted/web/pagetitle.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace Qt::StringLiterals;
using qiravon::pageTitle;
using qiravon::readLocalPageTitle;

namespace {

QByteArray encoded(const char* encoding, const QString& text)
{
    QStringEncoder encoder(encoding);
    return encoder.encode(text);
}

} // namespace

class TestPageTitle : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void titleOfTheHead_data();
    void titleOfTheHead();
    void onlyRegularFilesAreRead();
    void aTitleBeyondTheBoundIsNotLookedFor();
};

void TestPageTitle::titleOfTheHead_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QString>("title");

    const QString radio = u"Qiravon 网络收音机"_s;
    QTest::newRow("meta charset utf-8")
        << (u"<!DOCTYPE html><meta charset=\"utf-8\"><title>"_s + radio + u"</title>"_s).toUtf8()
        << radio;
    QTest::newRow("http-equiv gbk")
        << encoded("GBK", u"<html><head><meta http-equiv=\"Content-"
                          u"Type\" content=\"text/html; charset=gb2312\">"
                          u"<TITLE>"_s +
                              radio + u"</TITLE>"_s)
        << radio;
    QTest::newRow("undeclared gbk")
        << encoded("GBK", u"<title>"_s + radio + u"</title>"_s) << radio;
    QTest::newRow("undeclared utf-8") << (u"<title>"_s + radio + u"</title>"_s).toUtf8() << radio;
    QTest::newRow("utf-16 bom") << (QByteArray("\xFF\xFE") +
                                    encoded("UTF-16LE", u"<title>"_s + radio + u"</title>"_s))
                                << radio;
    // A UTF-16 name in ASCII bytes cannot be true; browsers read such a page as UTF-8.
    QTest::newRow("utf-16 declared in ascii")
        << (u"<meta charset=utf-16><title>"_s + radio + u"</title>"_s).toUtf8() << radio;
    QTest::newRow("references and markup stay text")
        << QByteArray("<title>Qiravon &lt;b&gt;&#39318;&#x9875;&lt;/b&gt; &amp; &quot;x&quot; "
                      "&copy;</title>")
        << u"Qiravon <b>首页</b> & \"x\" &copy;"_s;
    QTest::newRow("white space collapses")
        << QByteArray("<title>\n  Radio \t\r\n  one  </title>") << u"Radio one"_s;
    QTest::newRow("attributes on the tag")
        << QByteArray("<title lang=\"en\">Radio</title>") << u"Radio"_s;
    QTest::newRow("first title wins")
        << QByteArray("<title>one</title><title>two</title>") << u"one"_s;
    QTest::newRow("no title") << QByteArray("<html><head></head><body>x</body>") << QString();
    QTest::newRow("empty title") << QByteArray("<title>  </title>") << QString();
    QTest::newRow("unterminated") << QByteArray("<title>Radio") << QString();
    QTest::newRow("titlebar is no title") << QByteArray("<titlebar>x</titlebar>") << QString();
}

void TestPageTitle::titleOfTheHead()
{
    QFETCH(QByteArray, head);
    QFETCH(QString, title);
    QCOMPARE(pageTitle(head).value_or(QString()), title);
}

void TestPageTitle::onlyRegularFilesAreRead()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString page = dir.filePath(u"index #1.htm"_s);
    QFile file(page);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<title>local</title>");
    file.close();
    QCOMPARE(readLocalPageTitle(page).value_or(QString()), u"local"_s);

    // Opening a FIFO for reading would block until a writer comes; it must not be tried.
    const QString fifo = dir.filePath(u"fifo.htm"_s);
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(!readLocalPageTitle(fifo));
    QVERIFY(!readLocalPageTitle(dir.path()));
    QVERIFY(!readLocalPageTitle(dir.filePath(u"missing.htm"_s)));
    QVERIFY(!readLocalPageTitle(u"/dev/zero"_s));
}

void TestPageTitle::aTitleBeyondTheBoundIsNotLookedFor()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString page = dir.filePath(u"long.htm"_s);
    QFile file(page);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<!--");
    file.write(QByteArray(qiravon::kPageTitleScanBytes, 'x'));
    file.write("--><title>late</title>");
    file.close();
    QVERIFY(!readLocalPageTitle(page));
}

QTEST_GUILESS_MAIN(TestPageTitle)
#include "tst_pagetitle.moc"
