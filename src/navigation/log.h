#pragma once

#include <QLoggingCategory>

namespace qiravon {

//! The "qiravon.navigation" category: info and warnings by default, debug with
//! QT_LOGGING_RULES="qiravon.navigation.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcNavigation)

} // namespace qiravon
