#pragma once

#include "core/result.h"
#include "historyentry.h"
#include "historyerror.h"
#include "packs/glossarypackwriter.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace wordlumen {

class HistoryStore;

/**
 * The history written out for other programs: as a supplement pack that
 * imports back into Wordlumen (its entries then answer as the user's own), as
 * tab-separated text for Anki, and as CSV for spreadsheets. Entries are
 * written in the order given (the store lists newest first).
 */
namespace HistoryExport {

enum class Format
{
    Pack, ///< a pack file (Markdown): term and answer, under 「行业：我的收藏」 or 「查询历史」
    Tsv,  ///< tab-separated with Anki's header lines: term, answer, context, source, tags
    Csv,  ///< RFC 4180, UTF-8 with a byte order mark (for spreadsheet programs), header row
};

/// "pack", "tsv", "csv".
[[nodiscard]] QString toString(Format format);
[[nodiscard]] std::optional<Format> formatFromString(QStringView text);

/// The industry of an exported pack: 「我的收藏」 for starred entries, else 「查询历史」.
[[nodiscard]] QString packIndustry(bool starredOnly);

/// The entries as a pack file, and what the parser will read back from it.
[[nodiscard]] GlossaryPackText toPack(const QList<HistoryEntry> &entries, bool starredOnly);

/**
 * Tab-separated text for Anki: header lines (`#separator:tab`, `#html:false`,
 * the column names, `#tags column:5`), then one line per entry. Tabs and line
 * breaks inside a field become spaces; a field starting with a double quote
 * or 「#」 is quoted, since Anki would read it as quoting or as a header.
 */
[[nodiscard]] QByteArray toTsv(const QList<HistoryEntry> &entries);

/**
 * CSV with a header row and CRLF line ends. Fields with a comma, a quote or
 * a line break are quoted with quotes doubled; a text field that starts with
 * 「=」「+」「-」「@」 gets a leading apostrophe, so a spreadsheet shows it
 * instead of running it as a formula (an online answer is outside text).
 */
[[nodiscard]] QByteArray toCsv(const QList<HistoryEntry> &entries);

/// What an export to a file wrote.
struct Summary
{
    Format format = Format::Pack;
    /// Entries written (for a pack: after leaving out empty and repeated terms).
    qsizetype entryCount = 0;
    /// Pack only: entries left out, and explanations cut to the parser's limit.
    qsizetype skippedCount = 0;
    qsizetype shortenedCount = 0;
    /// Pack only: the file is larger than a pack import accepts.
    bool tooLargeToImport = false;

    /// One line for the user, e.g. 「已导出 35 条到 …」.
    [[nodiscard]] QString message(const QString &filePath) const;
};

/**
 * Writes the starred (or all) entries of `store` to `filePath` in `format`,
 * replacing the file in one step. Fails with the store's error, with
 * `NothingToExport` for a pack without entries (nothing is written), or with
 * `ExportFailed` when the file cannot be written.
 */
Result<Summary, HistoryError> exportToFile(HistoryStore &store, Format format, bool starredOnly,
                                           const QString &filePath);

} // namespace HistoryExport
} // namespace wordlumen
