#include "support/fifoguard.h"

#include <QFile>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qiravon::test {

FifoGuard::FifoGuard(const QString& path, int graceMs) : m_path(QFile::encodeName(path))
{
    m_made = ::mkfifo(m_path.constData(), 0600) == 0;
    if (m_made)
        m_watcher = std::thread([this, graceMs] { watch(graceMs); });
}

FifoGuard::~FifoGuard()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_stop.notify_all();
    if (m_watcher.joinable())
        m_watcher.join();
}

void FifoGuard::watch(int graceMs)
{
    std::unique_lock lock(m_mutex);
    if (m_stop.wait_for(lock, std::chrono::milliseconds(graceMs), [this] { return m_stopping; }))
        return;
    // Opening the writing end without blocking succeeds only while a reader waits; then the
    // reader's open returns and it reads an empty file.
    while (!m_stopping) {
        const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            m_released = true;
            ::close(fd);
            return;
        }
        m_stop.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_stopping; });
    }
}

} // namespace qiravon::test
