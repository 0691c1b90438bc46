#pragma once

#include <QLoggingCategory>

namespace qiravon {

//! The "qiravon.catalogue" category: info and warnings by default, debug with
//! QT_LOGGING_RULES="qiravon.catalogue.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcCatalogue)

} // namespace qiravon
