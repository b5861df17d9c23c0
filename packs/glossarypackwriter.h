#pragma once

#include "customglossaryentry.h"

#include <QList>
#include <QString>

namespace wordlumen {

/// The three labels at the top of a pack file.
struct GlossaryPackHeader
{
    /// Written as 「行业：…」; "自定义行业" when empty.
    QString industry;
    /// Written as 「词表深度：…」; "未标注" when empty.
    QString vocabularyDepth;
    /// Written as 「解释视角：…」; "未标注" when empty.
    QString explanationPerspective;

    bool operator==(const GlossaryPackHeader &) const = default;
};

/// A pack file's text and what GlossaryPackageParser will read back from it.
struct GlossaryPackText
{
    QString text;
    /// The header as the parser reads it back.
    GlossaryPackHeader header;
    /**
     * The entries as the parser reads them back, in file order: term, aliases
     * and explanation as written (ids and times are the caller's, unchanged).
     */
    QList<CustomGlossaryEntry> entries;
    /// Entries left out because their term is empty or they have no explanation.
    qsizetype emptyCount = 0;
    /// Entries left out because an earlier entry has the same term key.
    qsizetype duplicateCount = 0;
    /// Explanations above the parser's limit, cut to a readable length.
    qsizetype shortenedCount = 0;

    bool operator==(const GlossaryPackText &) const = default;
};

/**
 * Writes entries as a supplement pack file that GlossaryPackageParser reads
 * back whole: every entry written is accepted, none is skipped or split.
 *
 * What the grammar cannot carry is made safe before writing, not lost:
 * - line breaks (and tabs and other control characters) become spaces, so an
 *   explanation is one line and a later line of it can never start a new
 *   entry (「3.5 倍速度」) or a new field (「别名：…」);
 * - 「**」 and backticks, which the parser strips from terms and aliases as
 *   Markdown emphasis, are written in their full-width forms (「＊＊」,
 *   「｀」), which compare as the same term;
 * - separators inside an alias (「，」「、」「；」…) become spaces, which the
 *   term key treats alike;
 * - an explanation above GlossaryPackageParser::kMaximumExplanationLength is
 *   cut where the card would cut it;
 * - of entries with the same term key only the first is written; entries
 *   without a term or an explanation are left out.
 * Every entry is headed 「## N. term」, so a term that itself starts with a
 * number (「3.5 Sonnet」) keeps it.
 */
namespace GlossaryPackWriter {

[[nodiscard]] GlossaryPackText write(const GlossaryPackHeader &header,
                                     const QList<CustomGlossaryEntry> &entries);

/// `text` on one line: line breaks, tabs and control characters become spaces, runs of
/// white space one space, trimmed.
[[nodiscard]] QString singleLine(const QString &text);

} // namespace GlossaryPackWriter
} // namespace wordlumen
