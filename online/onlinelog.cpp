#include "onlinelog.h"

namespace wordlumen {

Q_LOGGING_CATEGORY(lcOnline, "wordlumen.online", QtWarningMsg)

} // namespace wordlumen
