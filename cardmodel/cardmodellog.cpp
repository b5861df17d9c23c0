#include "cardmodellog.h"

namespace wordlumen {

Q_LOGGING_CATEGORY(lcCardModel, "wordlumen.cardmodel", QtWarningMsg)

} // namespace wordlumen
