#pragma once

#include "core/result.h"
#include "glossarypackdraft.h"
#include "packerror.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace wordlumen {

/**
 * Turns the text of a supplement pack file into a draft.
 *
 * The grammar is forgiving because the files come from chat assistants and
 * from people: metadata (「行业：」, 「词表深度：」, 「解释视角：」) may stand
 * anywhere; an entry starts at a Markdown heading of level two or deeper or
 * at a numbered line (「1. RAG」, 「2、向量库」, 「3｜Token」); inside it
 * labelled lines give the English name, the aliases and the explanation, with
 * Chinese or English labels, either colon width and optional emphasis. What is
 * not recognised is skipped silently; only whole entries that fail their
 * checks are counted.
 *
 * Pure functions; callable from any thread.
 */
namespace GlossaryPackageParser {

/// Longest explanation, in characters, that a pack entry may carry.
inline constexpr qsizetype kMaximumExplanationLength = 180;

/**
 * Largest pack file accepted, in bytes. An entry with a full 180-character
 * explanation, an English name and a few aliases takes about 650 bytes of
 * UTF-8, so 4 MiB holds some 6,000 such entries, more than any pack the
 * pack prompt produces; a file far beyond it is no pack, and reading it would
 * cost every later start of the program its memory and time.
 */
inline constexpr qint64 kMaximumFileSize = 4 * 1024 * 1024;

/**
 * The text of a pack file's bytes: UTF-8, a leading byte order mark dropped.
 * Fails with `NotUtf8` on invalid UTF-8 and on a NUL byte, which no text file
 * holds and which is what UTF-16 without a byte order mark looks like.
 */
[[nodiscard]] Result<QString, PackError> decodeFileText(const QByteArray &bytes);

/// A label and its value from a line such as 「- **别名**：检索增强、RAG 检索」.
struct LabeledValue
{
    QString label;
    QString value;

    bool operator==(const LabeledValue &) const = default;
};

/**
 * The draft for `text`, read from a file called `sourceFileName`. Fails with
 * `EmptyFile` when the text is only white space and `NoValidEntries` when no
 * entry was accepted. Parsed entries carry a fresh id and `now` as both times.
 */
[[nodiscard]] Result<GlossaryPackDraft, PackError>
parse(const QString &text, const QString &sourceFileName, const QDateTime &now);

/// `parse` at the current time.
[[nodiscard]] Result<GlossaryPackDraft, PackError> parse(const QString &text,
                                                         const QString &sourceFileName);

// The pieces of the grammar, public so that each can be tested on its own.

/// The first 「# 」 heading (level one only), without its marker.
[[nodiscard]] std::optional<QString> firstDocumentTitle(const QStringList &lines);

/**
 * The industry when the file names none: from the title, else the file name
 * without extension, with 「行业黑话补充包」, 「黑话补充包」 and 「补充包」 taken
 * out; "自定义行业" for generic titles or when nothing is left.
 */
[[nodiscard]] QString inferredIndustry(const std::optional<QString> &title,
                                       const QString &sourceFileName);

/// Splits at the first colon of either width; nothing when the line has none.
[[nodiscard]] std::optional<LabeledValue> labeledValue(QStringView line);

/**
 * The term that a trimmed line opens an entry with, or nothing when the line
 * is no entry header. The term may be empty (「##」 alone), which makes an
 * entry that is later rejected.
 */
[[nodiscard]] std::optional<QString> entryHeader(QStringView line);

/// Drops a leading number with its separator (「2. 」, 「3、」) and Markdown emphasis.
[[nodiscard]] QString cleanNumberPrefix(QStringView text);

/**
 * Aliases without emphasis, placeholders (「无」, 「N/A」, …), blanks, names
 * that normalise to the term itself, and repeats; order kept, spelling kept.
 */
[[nodiscard]] QStringList cleanedAliases(const QStringList &aliases, const QString &excludingTerm);

// The fixed vocabularies of the grammar, compared after lower-casing and trimming.
[[nodiscard]] const QStringList &industryKeys();
[[nodiscard]] const QStringList &depthKeys();
[[nodiscard]] const QStringList &perspectiveKeys();

} // namespace GlossaryPackageParser
} // namespace wordlumen
