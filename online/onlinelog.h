#pragma once

#include <QLoggingCategory>

namespace wordlumen {

/// Logging of the online library. Off below warnings unless QT_LOGGING_RULES
/// asks for more. Nothing logged here ever carries the API key or request headers.
Q_DECLARE_LOGGING_CATEGORY(lcOnline)

} // namespace wordlumen
