#pragma once

#include <QLoggingCategory>

namespace qiravon {

//! The "qiravon.web" category: info and warnings by default, debug with
//! QT_LOGGING_RULES="qiravon.web.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcWeb)

} // namespace qiravon
