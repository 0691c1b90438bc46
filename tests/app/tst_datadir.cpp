// Where the program looks for its catalogue: beside itself in the build tree, in share when
// installed, wherever the prefix is.

#include "app/datadir.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;

class DataDirTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findsTheCatalogueOfEachLayout_data()
    {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("expected");
        QTest::newRow("build tree") << QStringList{u"bin/data"_s} << u"bin/data/"_s;
        QTest::newRow("installed")
            << QStringList{u"share/qiravon/data"_s} << u"share/qiravon/data/"_s;
        QTest::newRow("both: the one beside wins")
            << QStringList{u"bin/data"_s, u"share/qiravon/data"_s} << u"bin/data/"_s;
        QTest::newRow("neither: the usual place") << QStringList{} << u"bin/data/"_s;
    }

    void findsTheCatalogueOfEachLayout()
    {
        QFETCH(QStringList, folders);
        QFETCH(QString, expected);
        QTemporaryDir prefix;
        QDir root(prefix.path());
        QVERIFY(root.mkpath(u"bin"_s));
        for (const QString& folder : folders)
            QVERIFY(root.mkpath(folder));
        QCOMPARE(locateDataDir(root.filePath(u"bin"_s), u"../share/qiravon/data"_s),
                 root.filePath(expected));
    }
};

QTEST_GUILESS_MAIN(DataDirTest)
#include "tst_datadir.moc"
