#pragma once

#include <QString>

namespace qiravon::test {

//! Short test-tone recordings made with gst-launch-1.0, for the local servers to send.
struct MediaFixtures
{
    QString mp3;    //!< 128 kbps CBR MP3, 44.1 kHz stereo
    QString aac;    //!< ADTS AAC, 128 kbps
    QString hlsDir; //!< an HLS playlist "radio.m3u8" of 1-second AAC segments, ended
};

//! Writes the fixtures into `dir`; empty error text on success.
[[nodiscard]] QString makeMediaFixtures(const QString& dir, MediaFixtures& out);

//! Runs gst-launch-1.0 with `pipeline` to its end; empty error text on success.
[[nodiscard]] QString runGstLaunch(const QString& pipeline, int timeoutMs = 60000);

} // namespace qiravon::test
