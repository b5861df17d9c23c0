#include "historylog.h"

namespace wordlumen {

Q_LOGGING_CATEGORY(lcHistory, "wordlumen.history", QtWarningMsg)

} // namespace wordlumen
