#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace wordlumen {

/**
 * The one rule by which a query finds the best of many names, shared by the
 * built-in dictionary and the supplement packs.
 *
 * Each name is a term key with a target (what the caller wants back, such as
 * an entry's position). A name equal to the whole query scores its length in
 * characters plus `kExactMatchBonus`; a name found inside the query
 * (`GlossaryTextMatcher::contains`) scores its length; the highest score wins,
 * and on equal scores the name added first. So an exact match beats every
 * containment and a longer found name beats a shorter one.
 *
 * Every name found inside the query is one of the query's substrings of a
 * size that some name has, so a query looks its substrings up in a hash
 * instead of searching for every name: the cost follows the query's length
 * and the number of distinct name sizes, not the number of names.
 *
 * Lengths are counted on first need, so building stays cheap for large
 * libraries; queries therefore belong to one thread at a time.
 *
 * TermSpotter finds every name in a whole passage by the same key and the
 * same whole-word rule (see there for why it is a second index).
 */
class NameMatcher final
{
public:
    static constexpr qsizetype kExactMatchBonus = 10000;

    /// Adds a name in the order the rule walks them; an empty key is passed over.
    void add(const QString &key, qsizetype target);

    /// The target of the best name for `queryKey`, itself a term key; nothing when none counts.
    [[nodiscard]] std::optional<qsizetype> bestMatch(const QString &queryKey) const;

    [[nodiscard]] bool isEmpty() const { return m_names.isEmpty(); }

private:
    struct Name
    {
        qsizetype order = 0; // position in the walk: the earlier wins a tie
        qsizetype target = 0;
        bool ascii = true;
        mutable qsizetype length = -1; // grapheme clusters, counted when first needed
    };

    QStringList m_keyStorage;         // owns the text the hash's views point into
    QHash<QStringView, Name> m_names; // the first name added with a key keeps it
    QList<qsizetype> m_keySizes;      // distinct key sizes in code units, ascending
    qsizetype m_walked = 0;
};

} // namespace wordlumen
