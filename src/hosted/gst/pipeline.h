#pragma once

#include "hosted/gst/busreport.h"

#include <QEvent>
#include <QString>
#include <memory>

class QObject;

// The same typedef as GStreamer's, so this header needs none of its headers.
typedef struct _GstElement GstElement; // NOLINT(modernize-use-using)

namespace qiravon::gst {

//! Carries what one bus message told from a streaming thread to the player's thread.
class BusEvent final : public QEvent
{
public:
    static QEvent::Type eventType();
    BusEvent(quint64 generation, BusReport report);
    const quint64 generation;
    const BusReport report;
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

class Relay;

//! One playbin for one address. Starting and stopping happen on GStreamer's thread pool,
//! so the caller's thread never waits on the network or a state change. Bus messages are
//! decoded where they arise and reach `target` as BusEvent, stamped with `generation`.
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
    [[nodiscard]] quint64 generation() const;
    //! Decoded buffers that reached the sink so far; read from any thread.
    [[nodiscard]] quint64 buffersAtSink() const;
    //! g_get_monotonic_time() in ns when the first buffer reached the sink, or -1.
    [[nodiscard]] qint64 firstAudioNs() const;
    //! Likewise for the second: a synchronising sink takes it only once the pipeline plays.
    [[nodiscard]] qint64 secondAudioNs() const;

    //! Waits (bounded) until every pipeline handed to the thread pool has stopped; for exit.
    static void drainTeardowns(int timeoutMs);

private:
    std::shared_ptr<Relay> m_relay;
    GstElement* m_playbin = nullptr; // owned: one reference, handed to the teardown
};

} // namespace qiravon::gst
