#pragma once

namespace qiravon {

//! Sets up GStreamer for the process at once; for programs that play straight away. Call
//! before any player exists.
void initGStreamer(int* argc, char*** argv);

//! What the window's process does instead: readies the environment now (call from main()
//! before the window is made) and leaves GStreamer's own set-up to prewarmGStreamer(), so the
//! window does not wait for GStreamer's registry. GStreamer options on the command line
//! (--gst-*) still take effect: with any of them, GStreamer is set up at once.
void prepareGStreamer(int* argc, char*** argv);

//! Sets GStreamer up, if that has not happened, and loads what a first station needs, on a
//! thread of its own; returns at once. Call once the window has painted. Later calls do
//! nothing.
void prewarmGStreamer();

namespace gst {
//! Returns once GStreamer is set up, setting it up here if no other thread is doing so.
//! Every use of GStreamer in this module goes through it first.
void ensureGStreamer();
} // namespace gst

} // namespace qiravon
