#include "app/log.h"

namespace qiravon {

Q_LOGGING_CATEGORY(lcApp, "qiravon.app", QtInfoMsg)

} // namespace qiravon
