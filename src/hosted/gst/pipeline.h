#pragma once

#include "gstptr.h"

#include <QEvent>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>

class QObject;

namespace qiravon::gst {

//! Carries one bus message from a streaming thread to the player's thread.
class BusEvent final : public QEvent
{
public:
    static QEvent::Type eventType();
    BusEvent(quint64 generation, GstMessage* message);
    const quint64 generation;
    const MessagePtr message;
};

//! Says that the first decoded buffer reached the audio sink.
class FirstAudioEvent final : public QEvent
{
public:
    static QEvent::Type eventType();
    FirstAudioEvent(quint64 generation, qint64 monotonicNs);
    const quint64 generation;
    const qint64 monotonicNs;
};

//! Shared by the bus handler and the sink probe of one pipeline, which run on GStreamer's
//! threads, and the player, which detaches it before letting the pipeline go so nothing is
//! posted to a player that is gone.
class Relay
{
public:
    Relay(QObject* target, quint64 generation) : m_target(target), m_generation(generation) {}
    Relay(const Relay&) = delete;
    Relay& operator=(const Relay&) = delete;
    void post(QEvent* event);
    void detach();
    [[nodiscard]] quint64 generation() const { return m_generation; }

    std::atomic<quint64> buffers{0};  //!< decoded buffers that reached the sink
    std::atomic<qint64> firstNs{-1};  //!< g_get_monotonic_time() of the first, in ns
    //! Of the second: a synchronising sink holds the first until the pipeline plays.
    std::atomic<qint64> secondNs{-1};
    //! Orders the start and the teardown, which the thread pool may run side by side.
    std::mutex stateMutex;
    bool stopped = false;
    //! The element whose ts-offset moves the first audio to the start; set once, before
    //! the pipeline starts.
    ElementPtr syncElement;

private:
    std::mutex m_mutex;
    QObject* m_target;
    const quint64 m_generation;
};

//! One playbin for one address. Starting and stopping happen on GStreamer's thread pool,
//! so the caller's thread never waits on the network or a state change.
class Pipeline
{
public:
    //! `sinkDescription` is an element name or a gst-launch bin description.
    Pipeline(QObject* target, quint64 generation, const QString& uri,
             const QString& sinkDescription, int volume);
    ~Pipeline();
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;

    //! False when playbin or the sink could not be made; nothing will then be posted.
    [[nodiscard]] bool isValid() const { return m_playbin != nullptr; }
    void start();
    void setVolume(int volume);
    [[nodiscard]] quint64 generation() const { return m_relay->generation(); }
    [[nodiscard]] quint64 buffersAtSink() const { return m_relay->buffers.load(); }
    [[nodiscard]] qint64 firstAudioNs() const { return m_relay->firstNs.load(); }
    [[nodiscard]] qint64 secondAudioNs() const { return m_relay->secondNs.load(); }

    //! Waits (bounded) until every pipeline handed to the thread pool has stopped; for exit.
    static void drainTeardowns(int timeoutMs);

private:
    std::shared_ptr<Relay> m_relay;
    ElementPtr m_playbin;
};

} // namespace qiravon::gst
