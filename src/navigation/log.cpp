#include "navigation/log.h"

namespace qiravon {

Q_LOGGING_CATEGORY(lcNavigation, "qiravon.navigation", QtInfoMsg)

} // namespace qiravon
