#include "catalogue/log.h"

namespace qiravon {

Q_LOGGING_CATEGORY(lcCatalogue, "qiravon.catalogue", QtInfoMsg)

} // namespace qiravon
