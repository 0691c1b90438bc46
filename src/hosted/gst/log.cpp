#include "hosted/gst/log.h"

namespace qiravon {

Q_LOGGING_CATEGORY(lcPlayer, "qiravon.player", QtInfoMsg)

} // namespace qiravon
