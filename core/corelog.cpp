#include "corelog.h"

namespace wordlumen {

Q_LOGGING_CATEGORY(lcCore, "wordlumen.core", QtWarningMsg)

} // namespace wordlumen
