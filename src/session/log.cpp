#include "session/log.h"

namespace qiravon {

Q_LOGGING_CATEGORY(lcSession, "qiravon.session", QtInfoMsg)

} // namespace qiravon
