#pragma once

#include <QString>

namespace qiravon::weblinks {

// The addresses the program opens. They live here alone so a move of any site is one edit.
inline const QString kHomePage = QStringLiteral("https://qiravon.org/");
inline const QString kBlog = QStringLiteral("https://blog.qiravon.org/");
//! The regional web player shown in the main window.
inline const QString kRegionalPlayerMain = QStringLiteral("https://radio.qiravon.org/#1");
//! The regional web player shown in its own small window.
inline const QString kRegionalPlayerWindow =
    QStringLiteral("https://player.qiravon.org/player/radio.htm?tt=1");

} // namespace qiravon::weblinks
