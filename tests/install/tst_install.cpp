// `cmake --install` to a prefix of its own gives a desktop program: bin/qiravon on PATH that
// finds its catalogue, a valid desktop entry and AppStream file, and the icons they name.

#include "support/realprogram.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon::test;

class InstallTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_prefix.isValid());
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(
            QStringLiteral(QIRAVON_CMAKE),
            {u"--install"_s, QStringLiteral(QIRAVON_BUILD_DIR), u"--prefix"_s, m_prefix.path()});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());
    }

    void theProgramAndWhatItReadsAreInPlace()
    {
        QVERIFY(QFileInfo(path(u"bin/qiravon"_s)).isExecutable());
        for (const char* name :
             {"map.cdb", "radiolist.cdb", "fine.cdb", "NetRadio.cdb", "forin.cdb", "index.htm"})
            QVERIFY2(QFile::exists(path(u"share/qiravon/data/"_s + QLatin1String(name))), name);
        for (int size : {16, 24, 32, 48, 64, 128, 256})
            QVERIFY(QFile::exists(path(u"share/icons/hicolor/%1x%1/apps/qiravon.png"_s.arg(size))));
    }

    void theDesktopFilesPassTheirValidators_data()
    {
        QTest::addColumn<QString>("validator");
        QTest::addColumn<QStringList>("args");
        QTest::newRow("desktop entry")
            << u"desktop-file-validate"_s
            << QStringList{path(u"share/applications/qiravon.desktop"_s)};
        QTest::newRow("AppStream")
            << u"appstreamcli"_s
            << QStringList{u"validate"_s, u"--no-net"_s,
                           path(u"share/metainfo/org.qiravon.Qiravon.metainfo.xml"_s)};
    }

    void theDesktopFilesPassTheirValidators()
    {
        QFETCH(QString, validator);
        QFETCH(QStringList, args);
        if (QStandardPaths::findExecutable(validator).isEmpty())
            QSKIP(qPrintable(validator + u" is not installed"_s));
        QVERIFY(QFile::exists(args.last()));
        QProcess check;
        check.setProcessChannelMode(QProcess::MergedChannels);
        check.start(validator, args);
        QVERIFY(check.waitForFinished(30000));
        const QByteArray said = check.readAll();
        QVERIFY2(check.exitCode() == 0, said.constData());
        // Warnings count too: the desktop entry validator reports them with status 0.
        if (validator == u"desktop-file-validate"_s)
            QVERIFY2(said.trimmed().isEmpty(), said.constData());
    }

    void startedFromPathTheWindowComesUpWithItsCatalogue()
    {
        if (const QString missing = missingDesktopTool(); !missing.isEmpty())
            QSKIP(qPrintable(u"needs %1"_s.arg(missing)));
        // Found as the desktop entry's Exec finds it, by name on PATH, and started from a folder
        // unrelated to either tree. Without its catalogue the load would stop at an error box
        // and show no window.
        QTemporaryDir runtime;
        QProcessEnvironment env = programEnvironment(runtime.path(), {});
        const QString program = QStandardPaths::findExecutable(u"qiravon"_s, {path(u"bin"_s)});
        QCOMPARE(program, path(u"bin/qiravon"_s));
        auto player = startProgram(program, env, QDir::rootPath());
        const bool shown = !waitForMainWindow().isEmpty();
        endProgram(player.get());
        QVERIFY2(shown, "the installed program showed no window");
    }

private:
    QString path(const QString& relative) const { return m_prefix.filePath(relative); }

    QTemporaryDir m_prefix;
};

QTEST_GUILESS_MAIN(InstallTest)
#include "tst_install.moc"
