#pragma once

#include "core/result.h"
#include "customglossaryentry.h"
#include "glossarypack.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace wordlumen {

/**
 * The library file "MyGlossary.json": its current layout (an object with
 * `version` 2 and `packs`) and the two older ones still read (a bare array of
 * packs, and a bare array of entries from before there were packs).
 *
 * Reading is strict: every key must be present with its type, UUIDs must be
 * canonical and timestamps exactly `yyyy-MM-ddTHH:mm:ssZ`. A file that does not
 * fit is reported as a whole rather than read in part, and so is text that
 * could not be kept exactly as written (raw control characters, unknown
 * escapes, a surrogate escape without its partner, anything after the value),
 * since the next write would change it silently.
 */
namespace GlossaryLibraryFile {

inline constexpr int kCurrentVersion = 2;

enum class Layout
{
    Document,      ///< {"packs": [...], "version": 2}
    PackArray,     ///< [pack, ...], the previous layout
    LegacyEntries, ///< [entry, ...], the oldest layout: one unnamed word list
};

struct Contents
{
    Layout layout = Layout::Document;
    /// For `Document` and `PackArray`, in file order.
    QList<GlossaryPack> packs;
    /// For `LegacyEntries` only.
    QList<CustomGlossaryEntry> legacyEntries;
};

/// The current layout, pretty-printed with sorted keys, UUIDs in upper case.
[[nodiscard]] QByteArray encode(const QList<GlossaryPack> &packs);

/**
 * Reads any of the three layouts. The error is a description for the user,
 * naming where in the file the problem is (「packs[0].entries[3].createdAt」).
 */
[[nodiscard]] Result<Contents, QString> decode(const QByteArray &bytes);

} // namespace GlossaryLibraryFile
} // namespace wordlumen
