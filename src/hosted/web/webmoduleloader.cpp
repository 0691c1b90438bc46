#include "hosted/web/webmoduleloader.h"

#include "hosted/web/log.h"
#include "hosted/web/webmodule.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

QtMessageHandler g_previousHandler = nullptr;

// Qt WebEngine, loaded after the application object exists, warns that it should have been
// set up before it; the module then does that set-up itself (see webenginemodule.cpp), so
// those two warnings only mislead. Everything else is passed on.
void dropLateStartWarnings(QtMsgType type, const QMessageLogContext& context,
                           const QString& message)
{
    if (type == QtWarningMsg &&
        (message.startsWith(u"Qt WebEngine seems to be initialized from a plugin"_s) ||
         message.startsWith(u"Attribute Qt::AA_ShareOpenGLContexts must be set before"_s)))
        return;
    // Qt hands back its default handler when none was installed, so there always is one.
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

} // namespace

WebModuleLoader::WebModuleLoader(QStringList folders, QString fileName)
    : m_folders(std::move(folders)), m_fileName(std::move(fileName))
{
}

// The library stays mapped: unloading Chromium at exit runs its teardown in the wrong order.
WebModuleLoader::~WebModuleLoader() = default;

IWebEngineModule* WebModuleLoader::module(QString* error)
{
    if (!m_tried) {
        m_tried = true;
        QString path;
        for (const QString& folder : std::as_const(m_folders)) {
            const QFileInfo candidate(QDir(folder).filePath(m_fileName));
            if (candidate.isFile()) {
                path = candidate.absoluteFilePath();
                break;
            }
        }
        if (path.isEmpty()) {
            m_error = u"%1 is in none of: %2"_s.arg(m_fileName, m_folders.join(u", "_s));
        } else {
            qCDebug(lcWeb) << "loading the web engine module" << path;
            m_loader.setFileName(path);
            m_loader.setLoadHints(QLibrary::PreventUnloadHint);
            // A module built against another Qt, or whose engine libraries are missing, fails
            // here with the loader's reason.
            g_previousHandler = qInstallMessageHandler(dropLateStartWarnings);
            QObject* instance = m_loader.instance();
            qInstallMessageHandler(g_previousHandler);
            m_module = qobject_cast<IWebEngineModule*>(instance);
            if (!instance)
                m_error = m_loader.errorString();
            else if (!m_module)
                m_error = u"%1 is not a web engine module"_s.arg(path);
        }
    }
    if (!m_module && error)
        *error = m_error;
    return m_module;
}

QString WebModuleLoader::loadedFrom() const
{
    return m_module ? m_loader.fileName() : QString();
}

QStringList webModuleFolders(const QString& programDir, const QString& installedRelDir,
                             const QString& buildRelDir)
{
    // Installed first, so an installed program never picks up a stray build's module.
    const QDir program(programDir);
    QStringList folders{QDir::cleanPath(program.filePath(installedRelDir))};
    const QString built = QDir::cleanPath(program.filePath(buildRelDir));
    if (!folders.contains(built))
        folders.append(built);
    return folders;
}

} // namespace qiravon
