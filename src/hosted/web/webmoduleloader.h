#pragma once

#include <QPluginLoader>
#include <QStringList>

namespace qiravon {

class IWebEngineModule;

//! Finds and loads the web engine module once, on the first call of module(). It looks only
//! in the folders it was given, in their order, never in the working folder or in Qt's own
//! plugin paths. The module is never unloaded: the engine's threads outlive any caller.
class WebModuleLoader
{
public:
    WebModuleLoader(QStringList folders, QString fileName);
    ~WebModuleLoader();
    WebModuleLoader(const WebModuleLoader&) = delete;
    WebModuleLoader& operator=(const WebModuleLoader&) = delete;

    //! The module, or null when it cannot be had; `error`, if given, then says why. A failure
    //! is final for the process: a missing library does not appear by asking again. Must be
    //! called on the UI thread, as Qt WebEngine starts itself when it is loaded.
    [[nodiscard]] IWebEngineModule* module(QString* error = nullptr);

    //! The file the module was loaded from; empty until then.
    [[nodiscard]] QString loadedFrom() const;

private:
    QStringList m_folders;
    QString m_fileName;
    QPluginLoader m_loader;
    IWebEngineModule* m_module = nullptr;
    bool m_tried = false;
    QString m_error;
};

//! Where a program in `programDir` looks for its web engine module: `installedRelDir`, the way
//! from an installed program's folder to the installed module's, then `buildRelDir`, the same
//! in the build tree. Both are relative to the program, never to the working folder, so
//! neither tree can pick up the other's module unless it lies where that tree puts it.
[[nodiscard]] QStringList webModuleFolders(const QString& programDir,
                                           const QString& installedRelDir,
                                           const QString& buildRelDir);

} // namespace qiravon
