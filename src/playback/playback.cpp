// Filled in by the playback part.
