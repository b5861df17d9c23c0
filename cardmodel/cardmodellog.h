#pragma once

#include <QLoggingCategory>

namespace wordlumen {

/// Logging of the card's view model: which way a lookup went. Never the key,
/// never the query's text (it may be private).
Q_DECLARE_LOGGING_CATEGORY(lcCardModel)

} // namespace wordlumen
