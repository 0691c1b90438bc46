#pragma once

#include <QLoggingCategory>

namespace qiravon {

//! The "qiravon.app" category: info and warnings by default, debug with
//! QT_LOGGING_RULES="qiravon.app.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcApp)

} // namespace qiravon
