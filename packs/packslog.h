#pragma once

#include <QLoggingCategory>

namespace wordlumen {

/// Logging of the pack library: loads, writes, the lock and outside changes.
/// Off below warnings unless QT_LOGGING_RULES asks for more. Pack contents are
/// the user's text and are never logged.
Q_DECLARE_LOGGING_CATEGORY(lcPacks)

} // namespace wordlumen
