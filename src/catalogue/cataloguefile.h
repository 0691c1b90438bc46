#pragma once

#include "common/runtimeerror.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace qiravon {

//! The code page of every catalogue file.
inline constexpr char kCatalogueCodec[] = "GBK";

//! Nothing when `codec` decodes catalogue text correctly; otherwise the error to stop on.
//! A Qt built without ICU has no GBK decoder, and would read every line as empty text.
[[nodiscard]] std::optional<RuntimeError>
checkCatalogueDecoder(const char* codec = kCatalogueCodec);

//! The lines of one catalogue text file (code page 936), read whole and closed again.
struct CatalogueFile
{
    QStringList lines;
    std::optional<RuntimeError> error;

    //! Reads `path`, which must be a regular file of at most 256 MiB; a missing file gives
    //! error 53, anything else that cannot be read 75. Never blocks on a FIFO or a device.
    static CatalogueFile read(const QString& path);
    //! Reads `path` and hands each line to `line` in file order, after the file is closed;
    //! nothing is handed on when the file cannot be read. Spares large catalogues the list
    //! of every line that read() builds.
    static std::optional<RuntimeError> forEachLine(const QString& path,
                                                   const std::function<void(const QString&)>& line);
};

//! Splits raw bytes into lines: CR LF or a lone CR ends a line, a lone LF stays inside it;
//! a last line without a line end is kept, a final line end adds no empty line. Each line is
//! decoded from GBK on its own, so a malformed sequence spoils only its own characters.
[[nodiscard]] QStringList decodeCatalogueLines(const QByteArray& bytes);
//! The same lines as decodeCatalogueLines(), handed to `line` one by one.
void forEachCatalogueLine(const QByteArray& bytes, const std::function<void(const QString&)>& line);

} // namespace qiravon
