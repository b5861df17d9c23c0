#pragma once

#include <QLoggingCategory>

namespace wordlumen {

/// Logging of the lookup history: opening, migrations, files moved aside,
/// database errors. Off below warnings unless QT_LOGGING_RULES asks for more.
/// Terms, queries and answers are the user's text and are never logged.
Q_DECLARE_LOGGING_CATEGORY(lcHistory)

} // namespace wordlumen
