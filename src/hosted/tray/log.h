#pragma once

#include <QLoggingCategory>

namespace qiravon {

//! The "qiravon.tray" category: info and warnings by default, debug with
//! QT_LOGGING_RULES="qiravon.tray.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcTray)

} // namespace qiravon
