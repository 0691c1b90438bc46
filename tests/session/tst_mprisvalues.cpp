// What the bus shows of the controls' values: the metadata of what plays, volumes written
// from outside, and untrusted text made fit for a bus string.

#include "session/mediacontrols.h"
#include "session/mprisvalues.h"

#include <QDBusObjectPath>
#include <QtTest>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using namespace qiravon;

class MprisValuesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void metadataNamesTheStationAndWhatItPlays_data()
    {
        QTest::addColumn<NowPlaying>("now");
        QTest::addColumn<QVariantMap>("expected");
        const QString url = u"http://127.0.0.1/live"_s;
        QTest::newRow("before the first station") << NowPlaying{} << QVariantMap{};
        QTest::newRow("no stream title") << NowPlaying{1, u"音乐台"_s, {}, url}
                                         << QVariantMap{{u"xesam:title"_s, u"音乐台"_s},
                                                        {u"xesam:album"_s, u"音乐台"_s},
                                                        {u"xesam:url"_s, url}};
        QTest::newRow("the stream's title") << NowPlaying{2, u"音乐台"_s, u"夜色 - 歌手"_s, url}
                                            << QVariantMap{{u"xesam:title"_s, u"夜色 - 歌手"_s},
                                                           {u"xesam:album"_s, u"音乐台"_s},
                                                           {u"xesam:url"_s, url}};
        // A NUL would end the bus string early; a title of control characters is no title.
        QTest::newRow("control characters")
            << NowPlaying{3, u"A\u0000B\tC"_s, u"\u0001\u001b"_s, u"http://h/\u0000x"_s}
            << QVariantMap{{u"xesam:title"_s, u"ABC"_s},
                           {u"xesam:album"_s, u"ABC"_s},
                           {u"xesam:url"_s, u"http://h/x"_s}};
        QTest::newRow("no address")
            << NowPlaying{4, u"S"_s, {}, {}}
            << QVariantMap{{u"xesam:title"_s, u"S"_s}, {u"xesam:album"_s, u"S"_s}};
    }

    void metadataNamesTheStationAndWhatItPlays()
    {
        QFETCH(NowPlaying, now);
        QFETCH(QVariantMap, expected);
        QVariantMap metadata = mpris::metadata(now);
        if (now.serial > 0) {
            const auto id = metadata.take(u"mpris:trackid"_s).value<QDBusObjectPath>();
            QCOMPARE(id.path(), u"/org/qiravon/Qiravon/Station/"_s + QString::number(now.serial));
        }
        QCOMPARE(metadata, expected);
    }

    void volumesFromTheBusAreClampedAndRounded_data()
    {
        QTest::addColumn<double>("written");
        QTest::addColumn<int>("volume"); // -1: ignored
        constexpr double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("silence") << 0.0 << 0;
        QTest::newRow("half") << 0.5 << 50;
        QTest::newRow("rounded down") << 0.334 << 33;
        QTest::newRow("rounded up") << 0.005 << 1;
        QTest::newRow("full") << 1.0 << 100;
        QTest::newRow("negative") << -0.2 << 0;
        QTest::newRow("amplified") << 1.8 << 100;
        QTest::newRow("minus infinity") << -inf << 0;
        QTest::newRow("infinity") << inf << 100;
        QTest::newRow("not a number") << std::nan("") << -1;
    }

    void volumesFromTheBusAreClampedAndRounded()
    {
        QFETCH(double, written);
        QFETCH(int, volume);
        QCOMPARE(mpris::volumeFromBus(written).value_or(-1), volume);
    }

    void overlongTextIsCutWithoutHalvingACharacter()
    {
        QCOMPARE(mpris::busText(QString(5000, u'x')).size(), 1024);
        // "𝄞" is two UTF-16 units; one straddling the cut goes whole.
        const QString text = QString(1023, u'x') + u"𝄞"_s;
        QCOMPARE(mpris::busText(text), QString(1023, u'x'));
    }
};

QTEST_GUILESS_MAIN(MprisValuesTest)
#include "tst_mprisvalues.moc"
