#pragma once

#include "cardmodel/passagespotter.h"
#include "core/explanationresult.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace wordlumen {

/// One term of a passage as the card lists it: an entry named once or more.
struct PassageTerm
{
    /// What a chip shows: the entry's shown title where the passage's words
    /// hold it ("对齐" for "对齐一下"), else the words as written ("RAG").
    QString label;
    /// The words as the passage writes them, at their first place.
    QString text;
    /// The title of the entry they name; choosing the term looks this up.
    QString term;
    /// The entry's explanation after the readable cut at the short length.
    QString explanation;
    ExplanationOrigin origin = ExplanationOrigin::Local;

    bool operator==(const PassageTerm &) const = default;

    /// "RAG · 检索增强生成": the label, then the shown title when it says more.
    [[nodiscard]] QString heading() const;
};

/**
 * The card's rules for the terms spotted in a passage: one term per entry, in
 * the order they first appear, and which of them the answer's row offers.
 */
namespace PassageTerms {

/**
 * One term per entry, at the place it first appears: a second mention of an
 * entry, under the same words or others ("RAG" after "检索增强生成"), adds
 * nothing. Entries are told apart by their titles' term keys.
 */
[[nodiscard]] QList<PassageTerm> distinct(const QList<SpottedTerm> &spotted);

/// The chip's label of one spotted term (see PassageTerm::label).
[[nodiscard]] QString label(const SpottedTerm &spotted);

/**
 * The terms the answer's row offers: every term but the one the answer is
 * about (`answeredTerm`, the answer's title, compared by term key), in order.
 */
[[nodiscard]] QList<PassageTerm> others(const QList<PassageTerm> &terms,
                                        const QString &answeredTerm);

/**
 * The names the online search is told are explained already: each term's
 * words as written and its shown title, once each.
 */
[[nodiscard]] QStringList knownNames(const QList<PassageTerm> &terms);

} // namespace PassageTerms
} // namespace wordlumen
