#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

namespace qiravon {

//! One player per desktop without the session bus: a lock file held for the program's life
//! and a local socket beside it, both in the user's private runtime folder.
class LocalInstance final : public QObject
{
    Q_OBJECT
public:
    //! Places the lock and the socket in `folder`, named for `display` (the desktop the
    //! windows go to), so players on other displays do not meet.
    LocalInstance(const QString& folder, const QString& display, QObject* parent = nullptr);
    ~LocalInstance() override;

    enum class Claim
    {
        Held,    //!< this process holds the lock and listens
        Running, //!< another process holds it; it was asked to show its window
        Unusable //!< the folder cannot hold a lock; nothing is known
    };
    //! Takes the lock or, when another player holds it, asks that one to show its window.
    [[nodiscard]] Claim claim();

    //! Tells the player that holds the lock to show its window; false when none answers.
    bool askToRaise();

    [[nodiscard]] QString socketPath() const { return m_socketPath; }

Q_SIGNALS:
    //! A later start asked for the window.
    void raiseRequested();

private:
    void listen();
    void onConnection();

    QString m_socketPath;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
    bool m_folderMissing;
};

} // namespace qiravon
