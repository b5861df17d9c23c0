#include "packslog.h"

namespace wordlumen {

Q_LOGGING_CATEGORY(lcPacks, "wordlumen.packs", QtWarningMsg)

} // namespace wordlumen
