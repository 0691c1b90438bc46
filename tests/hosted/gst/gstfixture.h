#pragma once

#include "hosted/gst/gstmediaplayer.h"
#include "hosted/gst/gstsetup.h"
#include "streamserver/mediafixtures.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace qiravon::test {

// Generous: the machine running these is small and shared, and nothing here is timed.
constexpr int kPlayTimeoutMs = 30000;

//! A player on a clock-synchronised fakesink, so audio is consumed at its real rate and a
//! starving stream is noticed; stalls are declared after two seconds to keep tests short.
//! `retryUnitMs` shortens the reconnect delays for tests that go through many of them.
inline std::unique_ptr<GstMediaPlayer> makeTestPlayer(int retryUnitMs = 1000)
{
    GstPlayerOptions options;
    options.audioSink = QStringLiteral("fakesink sync=true");
    options.stallTimeoutMs = 2000;
    options.connectTimeoutMs = 20000;
    options.retryUnitMs = retryUnitMs;
    return std::make_unique<GstMediaPlayer>(options);
}

//! What every test case of a player test needs first: GStreamer set up, and the test media
//! made in `dir`. Returns what went wrong, or nothing.
inline QString setUpPlayerTest(const QTemporaryDir& dir, MediaFixtures& media)
{
    initGStreamer(nullptr, nullptr);
    if (!dir.isValid())
        return QStringLiteral("no temporary folder");
    return makeMediaFixtures(dir.path(), media);
}

//! The bytes of a fixture file; empty when it cannot be read.
inline QByteArray readFixture(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace qiravon::test
