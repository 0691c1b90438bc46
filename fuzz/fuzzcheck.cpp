#include "fuzzcheck.h"

#include <ctime>

namespace qiravon::fuzz {

namespace {

double threadCpuMs()
{
    timespec now = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double g_slowestMs = 0;

} // namespace

TimedInput::TimedInput(const std::uint8_t* data, std::size_t size)
    : m_data(data), m_size(size), m_start(threadCpuMs())
{
}

TimedInput::~TimedInput()
{
    const double ms = threadCpuMs() - m_start;
    // Reported only when clearly slower than the last report, so the log stays short.
    if (ms <= g_slowestMs * 1.2 || ms < 1.0)
        return;
    g_slowestMs = ms;
    std::fprintf(stderr, "slowest input so far: %.2f ms CPU, %zu bytes\n", ms, m_size);
    if (const char* keep = std::getenv("QIRAVON_FUZZ_SLOWEST")) {
        if (std::FILE* out = std::fopen(keep, "wb")) {
            std::fwrite(m_data, 1, m_size, out);
            std::fclose(out);
        }
    }
}

} // namespace qiravon::fuzz
