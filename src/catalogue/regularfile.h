#pragma once

#include "common/runtimeerror.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace qiravon {

//! The most a catalogue file may hold: far beyond any real catalogue, and far below what
//! would exhaust memory.
inline constexpr qint64 kMaxCatalogueBytes = qint64(256) * 1024 * 1024;

//! What reading a whole file gave: its bytes, or the error that stopped the read.
struct FileBytes
{
    QByteArray bytes;
    std::optional<RuntimeError> error;
};

//! Reads the whole of `path`, which must be a regular file (after following links) of at
//! most `maxBytes`. Never blocks on what is not a regular file: a FIFO, a device or a socket
//! gets error 75 at once, a missing file 53, a larger file 75 without its content read.
//! Safe on the UI thread.
[[nodiscard]] FileBytes readRegularFile(const QString& path, qint64 maxBytes = kMaxCatalogueBytes);

} // namespace qiravon
