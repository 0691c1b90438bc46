#pragma once

// The same typedef as GStreamer's, so this header needs none of its headers.
typedef struct _GstElement GstElement; // NOLINT(modernize-use-using)

namespace qiravon::gst {

//! Keeps the network queue of a playbin short once audio plays; see the definition for why.
void limitNetworkQueue(GstElement* playbin);

//! Makes decodebin pick the lighter of two equally good decoders; call once after gst_init.
void preferLightDecoders();

} // namespace qiravon::gst
