#pragma once

namespace qiravon {

//! Sets up GStreamer once for the process; call from main() before any player exists.
void initGStreamer(int* argc, char*** argv);

} // namespace qiravon
