#pragma once

#include <QLoggingCategory>

namespace wordlumen {

/// Logging of the lookup core. Off below warnings unless QT_LOGGING_RULES asks
/// for more. Queries are the user's text and are never logged.
Q_DECLARE_LOGGING_CATEGORY(lcCore)

} // namespace wordlumen
