#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <functional>

// The same typedef as GStreamer's, so this header needs none of its headers.
typedef struct _GstElement GstElement; // NOLINT(modernize-use-using)

namespace qiravon::gst {

//! Whether a URI reaches a server over the network (http, https, icy, rtsp, rtmp, mms, the
//! packet schemes udp, rtp, srt, rist, and their variants). Everything else, file://, fd://
//! and device schemes included, opens something on this machine, which a station on the
//! network must never make us do.
[[nodiscard]] bool isNetworkUri(QByteArrayView uri);

//! For a source element of a network station: when it could open anything but the network,
//! stops it before it opens anything (it is held in NULL, its pads refuse to activate, and
//! its location and device are blanked) and returns the URI it named. Empty when the element
//! is no source, a network one, or one refused before. Safe on any thread, before the
//! element leaves NULL.
[[nodiscard]] QByteArray refuseLocalSource(GstElement* element);

//! Installs the process-wide check of source elements made outside any pipeline, as the HLS
//! and DASH demuxers make them for variant playlists and keys. Such sources are refused
//! while any NetworkScope lives. Call once, right after gst_init() and before any pipeline
//! starts: GStreamer's hooks may not be added while pipelines run.
void installSourceGuard();

//! Marks a network pipeline's lifetime for the process-wide check, and hears of the sources
//! it refused. Sources made outside any pipeline cannot be told apart by station, so while
//! network pipelines live all of them are refused and every scope hears of it; a local file
//! played while a network pipeline winds down loses at most its variant playlists.
class NetworkScope
{
public:
    using Refused = std::function<void(const QByteArray& uri)>;
    explicit NetworkScope(Refused refused);
    ~NetworkScope();
    NetworkScope(const NetworkScope&) = delete;
    NetworkScope& operator=(const NetworkScope&) = delete;

    //! Called with the global registry locked; not for callers outside the guard.
    void tell(const QByteArray& uri) const { m_refused(uri); }

private:
    Refused m_refused;
};

} // namespace qiravon::gst
