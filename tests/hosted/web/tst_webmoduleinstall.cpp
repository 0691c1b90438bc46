// `cmake --install` into a prefix of its own: the installed program finds the installed web
// engine module by its own way from its folder, not the build tree's module, and it loads.

#include "hosted/web/webengineenv.h"
#include "hosted/web/webmodule.h"
#include "hosted/web/webmoduleloader.h"

#include <QApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;

class TestWebModuleInstall : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void theInstalledProgramFindsTheInstalledModule();

private:
    QTemporaryDir m_prefix;
    QString m_program;
};

void TestWebModuleInstall::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(QIRAVON_CMAKE), {u"--install"_s, QStringLiteral(QIRAVON_BUILD_DIR),
                                                  u"--prefix"_s, m_prefix.path()});
    QVERIFY(install.waitForFinished(120000));
    QVERIFY2(install.exitCode() == 0, install.readAll().constData());

    // Wherever the install rules put the program.
    QDirIterator it(m_prefix.path(), {u"qiravon"_s}, QDir::Files | QDir::Executable,
                    QDirIterator::Subdirectories);
    QVERIFY(it.hasNext());
    m_program = it.next();
}

void TestWebModuleInstall::theInstalledProgramFindsTheInstalledModule()
{
    const QString programDir = QFileInfo(m_program).absolutePath();
    WebModuleLoader loader(webModuleFolders(programDir,
                                            QStringLiteral(QIRAVON_WEB_MODULE_INSTALLED_RELDIR),
                                            QStringLiteral(QIRAVON_WEB_MODULE_BUILD_RELDIR)),
                           QStringLiteral(QIRAVON_WEB_MODULE_FILE));
    QString error;
    QVERIFY2(loader.module(&error), qPrintable(error));
    const QString from = QFileInfo(loader.loadedFrom()).canonicalFilePath();
    const QString prefix = QFileInfo(m_prefix.path()).canonicalFilePath() + u'/';
    QVERIFY2(from.startsWith(prefix), qPrintable(from));
}

int main(int argc, char* argv[])
{
    prepareWebEngineEnvironment();
    QApplication app(argc, argv);
    TestWebModuleInstall test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_webmoduleinstall.moc"
