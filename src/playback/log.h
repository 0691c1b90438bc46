#pragma once

#include <QLoggingCategory>

namespace qiravon {

//! The "qiravon.playback" category: info and warnings by default, debug with
//! QT_LOGGING_RULES="qiravon.playback.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcPlayback)

} // namespace qiravon
