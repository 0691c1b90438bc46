#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace qiravon {

//! How much of a page is read for its title: a title further in is not looked for.
inline constexpr qint64 kPageTitleScanBytes = 64 * 1024;

//! The title an engine would report for `head`, the first bytes of an HTML document: the text
//! of its first <title> element, decoded by the byte-order mark or the charset a <meta> tag
//! declares in the first 1,024 bytes (UTF-8 when it validates, else GB18030, when none is
//! declared), character references resolved and ASCII white space collapsed. Nothing when
//! there is no complete, non-empty title.
[[nodiscard]] std::optional<QString> pageTitle(const QByteArray& head);

//! pageTitle() of the local file `path`, reading at most kPageTitleScanBytes and only from a
//! regular file: a FIFO, device or folder is never opened.
[[nodiscard]] std::optional<QString> readLocalPageTitle(const QString& path);

} // namespace qiravon
