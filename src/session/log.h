#pragma once

#include <QLoggingCategory>

namespace qiravon {

//! The "qiravon.session" category: info and warnings by default, debug with
//! QT_LOGGING_RULES="qiravon.session.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcSession)

} // namespace qiravon
