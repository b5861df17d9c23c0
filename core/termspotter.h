#pragma once

#include "termkey.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace wordlumen {

/**
 * Finds every known name in a passage in one pass: an Aho–Corasick automaton
 * over the names' term keys, built once from all of them.
 *
 * The rule is the one a lookup uses to find a name inside a query, applied
 * along the whole passage: the passage's term key is searched, a Latin
 * (all-ASCII) name counts only as a whole word (GlossaryTextMatcher), and any
 * other name counts wherever its key occurs. Of the names that occur, the
 * hits are chosen leftmost first, the longest at each place, without overlap.
 * A hit covers whole characters of the passage (SourcedTermKey's pieces), so
 * its place in the original text is exact whatever folding did to lengths.
 *
 * It sits beside NameMatcher rather than replacing it. NameMatcher answers
 * another question, the one best name for a whole query (a name equal to the
 * query beats any found inside it, then the longest, then the first added),
 * from a hash of the query's substrings that is cheap to build and keeps each
 * store's answers exactly as they are. The spotter tiles a passage with the
 * names of all sources at once, which only an automaton does in one pass.
 * Both read the same term keys and the same whole-word rule, so a name the
 * matcher finds inside a query is found in that query as a passage too,
 * unless it is only part of what one character folds to (ŉ folds to ʼn).
 *
 * Immutable once built, so one spotter serves any number of threads.
 */
class TermSpotter final
{
public:
    /// One name found in a passage.
    struct Hit
    {
        /// The target the name was added with.
        qsizetype target = 0;
        /// Where the hit is in the passage, in UTF-16 code units (for Qt's text APIs).
        qsizetype start = 0;
        qsizetype length = 0;
        /// The same in characters (grapheme clusters).
        qsizetype characterStart = 0;
        qsizetype characterLength = 0;

        bool operator==(const Hit &) const = default;
    };

    /// Collects names in lookup order, then builds the automaton once.
    class Builder
    {
    public:
        /// Adds a term key with its target; an empty key, or one added before, is passed over.
        void add(const QString &key, qsizetype target);
        [[nodiscard]] TermSpotter build() const;

    private:
        QStringList m_keys;
        QList<qsizetype> m_targets;
        QSet<QString> m_seen; // the first name added with a key keeps it
    };

    /// A spotter that knows no names and finds nothing.
    TermSpotter() = default;

    /// Every hit in `text`, in order of appearance.
    [[nodiscard]] QList<Hit> spot(QStringView text) const;

    /// The same over the sourced key of a passage, made already.
    [[nodiscard]] QList<Hit> spot(const SourcedTermKey &source) const;

    [[nodiscard]] qsizetype nameCount() const { return m_nameTarget.size(); }
    [[nodiscard]] qsizetype stateCount() const { return m_name.size(); }

    /// The bytes the automaton holds on the heap (the capacity of its arrays).
    [[nodiscard]] qsizetype memoryUsage() const;

private:
    // The state reached from `state` by `c`, or -1 when the trie has no such edge.
    [[nodiscard]] qint32 child(qint32 state, char16_t c) const;
    // For each key position, the longest name that may start a hit there, or -1.
    [[nodiscard]] QList<qint32> longestAt(const SourcedTermKey &source) const;

    // States in breadth-first order, the root first. A state's edges are
    // m_edgeLabel/m_edgeTarget[m_firstEdge[state] .. m_firstEdge[state + 1]),
    // sorted by label.
    QList<qint32> m_firstEdge;
    QList<char16_t> m_edgeLabel;
    QList<qint32> m_edgeTarget;
    QList<qint32> m_rootNext; // the root's edges by code unit; 0 where it has none
    QList<qint32> m_fail;     // the longest proper suffix that is a state
    QList<qint32> m_name;     // the name that ends at the state, or -1
    QList<qint32> m_nextName; // the nearest state on the fail chain that ends a name, or -1

    // Per name: its key's size in code units, whether it is Latin, its target.
    QList<qint32> m_nameSize;
    QList<bool> m_nameAscii;
    QList<qsizetype> m_nameTarget;
};

} // namespace wordlumen
