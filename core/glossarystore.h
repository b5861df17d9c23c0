#pragma once

#include "glossaryentry.h"
#include "glossaryerror.h"
#include "namematcher.h"
#include "result.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace wordlumen {

/**
 * The built-in dictionary: exactly 200 entries read from "Glossary.md" (numbered
 * Markdown entries) and "Aliases.json" (entry number to extra names), which ship
 * beside the program. Immutable once loaded.
 */
class GlossaryStore final
{
public:
    static constexpr qsizetype kExpectedEntryCount = 200;
    static constexpr auto kMarkdownFileName = "Glossary.md";
    static constexpr auto kAliasesFileName = "Aliases.json";

    /// A store over entries that are already parsed (tests, benchmarks, tools).
    explicit GlossaryStore(QList<GlossaryEntry> entries = {});

    /// Loads the two files from a resource directory; a missing file is `MissingResource`.
    [[nodiscard]] static Result<GlossaryStore, GlossaryError>
    loadFromDirectory(const QString &directory);

    /// Loads from two explicit files.
    [[nodiscard]] static Result<GlossaryStore, GlossaryError> load(const QString &markdownPath,
                                                                   const QString &aliasesPath);

    /**
     * The dictionary from the two files' contents: the Markdown must be UTF-8
     * (`InvalidEncoding`), the aliases a JSON object of arrays of texts.
     */
    [[nodiscard]] static Result<GlossaryStore, GlossaryError>
    fromFileContents(const QByteArray &markdown, const QByteArray &aliases);

    /// Loads the dictionary installed beside the program.
    [[nodiscard]] static Result<GlossaryStore, GlossaryError> loadInstalled();

    /**
     * Where the installed dictionary lives: `<prefix>/share/wordlumen` next to
     * `<prefix>/bin`, which holds both in the build tree and after installing.
     */
    [[nodiscard]] static QString installedResourceDirectory();

    /// Parses dictionary text with an alias table; fails unless exactly 200 entries result.
    [[nodiscard]] static Result<QList<GlossaryEntry>, GlossaryError>
    parse(const QString &markdown, const QHash<QString, QStringList> &aliasTable);

    /// Removes a trailing section heading such as "## 基础概念（1–20）" and trims.
    [[nodiscard]] static QString cleanedExplanation(const QString &text);

    /// The title, the title without parenthesised parts, and each piece inside parentheses.
    [[nodiscard]] static QStringList namesDerivedFromTitle(const QString &title);

    [[nodiscard]] const QList<GlossaryEntry> &entries() const { return m_entries; }

    /**
     * The best entry for a query: an alias equal to the whole query wins over
     * any alias found inside it; among found aliases the longest wins; on a tie
     * the lower-numbered entry keeps its place.
     */
    [[nodiscard]] std::optional<GlossaryEntry> match(QStringView query) const;

    /// One item per entry, in stored order, with the aliases as they are.
    [[nodiscard]] QList<GlossaryCatalogItem> catalogItems() const;

private:
    QList<GlossaryEntry> m_entries;
    // Every alias's key, computed once; a query then costs one normalisation
    // and a few hash look-ups.
    NameMatcher m_names;
};

} // namespace wordlumen
