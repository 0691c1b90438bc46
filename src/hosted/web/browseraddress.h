#pragma once

#include <QString>
#include <QUrl>

namespace qiravon {

//! The URL a browser loads for `address`: an existing absolute file path becomes a file URL
//! as it stands, anything else is read the way an address bar reads typed text.
[[nodiscard]] QUrl browserUrl(const QString& address);

} // namespace qiravon
