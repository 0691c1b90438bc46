#include "playback/log.h"

namespace qiravon {

Q_LOGGING_CATEGORY(lcPlayback, "qiravon.playback", QtInfoMsg)

} // namespace qiravon
