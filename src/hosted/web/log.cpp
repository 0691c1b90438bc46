#include "hosted/web/log.h"

namespace qiravon {

Q_LOGGING_CATEGORY(lcWeb, "qiravon.web", QtInfoMsg)

} // namespace qiravon
