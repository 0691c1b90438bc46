#pragma once

// What every fuzz target shares: a check that stops the run with a message, and a watch on
// the slowest input. Built into both the libFuzzer targets and the replay of their corpus.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken invariant is a finding like a crash: libFuzzer keeps the input that caused it.
#define FUZZ_CHECK(condition, what)                                                                \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", what, __FILE__, __LINE__);      \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace qiravon::fuzz {

//! The input as bytes, without a copy.
inline QByteArray bytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                   static_cast<qsizetype>(size));
}

//! Measures one input in the CPU time of this thread, which other work on a shared machine
//! barely disturbs, and reports each new slowest input on stderr. With QIRAVON_FUZZ_SLOWEST
//! set to a file name, the slowest input so far is kept in that file, to be timed again on
//! its own.
class TimedInput
{
public:
    TimedInput(const std::uint8_t* data, std::size_t size);
    ~TimedInput();
    TimedInput(const TimedInput&) = delete;
    TimedInput& operator=(const TimedInput&) = delete;

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    double m_start;
};

} // namespace qiravon::fuzz
