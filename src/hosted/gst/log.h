#pragma once

#include <QLoggingCategory>

namespace qiravon {

//! The "qiravon.player" category: info and warnings by default, debug with
//! QT_LOGGING_RULES="qiravon.player.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcPlayer)

} // namespace qiravon
