// The face the list and the links are drawn in: named once by what is installed, and the
// very face Qt would have chosen from the design's whole list of names.

#include "resources/resources.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;

namespace {

// The design's names, as Qt resolved them before the face was named once.
QFont designListFont(double points)
{
    QFont font;
    font.setFamilies({u"宋体"_s, u"SimSun"_s, u"Noto Serif CJK SC"_s, u"AR PL UMing CN"_s,
                      u"WenQuanYi Micro Hei"_s});
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

class FontFaceTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void theFirstInstalledNameIsTaken_data();
    void theFirstInstalledNameIsTaken();
    void theFaceIsTheOneTheDesignsListGives_data();
    void theFaceIsTheOneTheDesignsListGives();
};

void FontFaceTest::theFirstInstalledNameIsTaken_data()
{
    QTest::addColumn<QStringList>("families");
    QTest::addColumn<QString>("expected");
    // The test machine has the WenQuanYi faces (fonts-wqy-microhei) and none of the others.
    const QString microHei = u"WenQuanYi Micro Hei"_s;
    QTest::newRow("missing faces are passed over")
        << QStringList{u"Qiravon No Such Face"_s, u"SimSun"_s, microHei} << microHei;
    QTest::newRow("the first installed wins")
        << QStringList{u"WenQuanYi Micro Hei Mono"_s, microHei} << u"WenQuanYi Micro Hei Mono"_s;
    QTest::newRow("case does not matter") << QStringList{u"wenquanyi micro hei"_s} << microHei;
    QTest::newRow("a Chinese name gives the listed name")
        << QStringList{u"文泉驿微米黑"_s} << microHei;
    QTest::newRow("a substitute does not count")
        << QStringList{u"sans-serif"_s, u"Qiravon No Such Face"_s} << QString();
    QTest::newRow("nothing installed") << QStringList{u"Qiravon No Such Face"_s} << QString();
    QTest::newRow("no names") << QStringList{} << QString();
}

void FontFaceTest::theFirstInstalledNameIsTaken()
{
    QFETCH(QStringList, families);
    QFETCH(QString, expected);
    QCOMPARE(resources::firstInstalledFamily(families), expected);
}

void FontFaceTest::theFaceIsTheOneTheDesignsListGives_data()
{
    QTest::addColumn<double>("points");
    // The two lists' sizes, and a link's fitted sizes around its 12 px line.
    QTest::newRow("list 9 pt") << 9.0;
    QTest::newRow("master table 8.25 pt") << 8.25;
    QTest::newRow("12 px") << -12.0;
    QTest::newRow("11 px") << -11.0;
}

void FontFaceTest::theFaceIsTheOneTheDesignsListGives()
{
    QFETCH(double, points);
    QFont named = resources::songti(points > 0 ? points : 9.0);
    QFont design = designListFont(points > 0 ? points : 9.0);
    if (points < 0) {
        named.setPixelSize(int(-points));
        design.setPixelSize(int(-points));
    }
    QCOMPARE(QFontInfo(named).family(), QFontInfo(design).family());
    const QFontMetricsF a(named);
    const QFontMetricsF b(design);
    QCOMPARE(a.ascent(), b.ascent());
    QCOMPARE(a.height(), b.height());
    QCOMPARE(a.underlinePos(), b.underlinePos());
    // Ideographs, Latin letters and digits, as the captions mix them.
    for (const QString& text : {u"电台列表"_s, u"劲曲调频HIT FM"_s, u"正在播放:128K/s"_s})
        QCOMPARE(a.horizontalAdvance(text), b.horizontalAdvance(text));
}

QTEST_MAIN(FontFaceTest)
#include "tst_fontface.moc"
