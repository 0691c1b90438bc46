#pragma once

#include <QString>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace qiravon::test {

//! Makes a FIFO at `path` for a test of code that must not wait on one. Should the code wait
//! in open() for a writer all the same, the guard opens the other end after `graceMs`, so the
//! test fails on its checks (hadToRelease() among them) instead of hanging.
class FifoGuard
{
public:
    explicit FifoGuard(const QString& path, int graceMs = 10000);
    ~FifoGuard();
    FifoGuard(const FifoGuard&) = delete;
    FifoGuard& operator=(const FifoGuard&) = delete;

    //! Whether the FIFO was made.
    [[nodiscard]] bool isMade() const { return m_made; }
    //! Whether a reader was found waiting and had to be let go.
    [[nodiscard]] bool hadToRelease() const { return m_released; }

private:
    void watch(int graceMs);

    QByteArray m_path;
    bool m_made = false;
    std::atomic<bool> m_released{false};
    std::mutex m_mutex;
    std::condition_variable m_stop;
    bool m_stopping = false;
    std::thread m_watcher;
};

} // namespace qiravon::test
