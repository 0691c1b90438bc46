#include "hosted/tray/log.h"

namespace qiravon {

Q_LOGGING_CATEGORY(lcTray, "qiravon.tray", QtInfoMsg)

} // namespace qiravon
