#pragma once

#include <QString>

namespace wordlumen {

/// Why a history operation did not happen. Shown with historyErrorMessage().
enum class HistoryError
{
    /// Written by a newer Wordlumen: left untouched, history is off.
    NewerSchema,
    /// Not a history database, or corrupt, and it could not be moved aside: history is off.
    Unreadable,
    /// The folder or the file cannot be created or opened (permissions, a full disk).
    CannotOpen,
    /// Qt's SQLite driver is not installed (Debian: libqt6sql6-sqlite).
    DriverMissing,
    /// Another program kept the database locked for longer than the busy timeout.
    Busy,
    /// Reading or writing failed part-way (a full disk, an I/O error); nothing was changed.
    StorageFailed,
    /// No entry for that term.
    NotFound,
    /// The export file could not be written where the user asked.
    ExportFailed,
    /// A pack export found no entry to write (a pack without entries would not import).
    NothingToExport,
};

/// The user's sentence for `error`.
[[nodiscard]] QString historyErrorMessage(HistoryError error);

} // namespace wordlumen
