#include "passageterms.h"

#include "core/answertext.h"
#include "core/glossarytextmatcher.h"
#include "core/termkey.h"

#include <QSet>

namespace wordlumen {

QString PassageTerm::heading() const
{
    const QString title = AnswerText::displayTitle(term);
    if (title.isEmpty() || termKey(title) == termKey(label))
        return label;
    return label + QStringLiteral(" · ") + title;
}

namespace PassageTerms {

QString label(const SpottedTerm &spotted)
{
    const QString title = AnswerText::displayTitle(spotted.term);
    const QString titleKey = termKey(title);
    if (!titleKey.isEmpty() && GlossaryTextMatcher::contains(titleKey, termKey(spotted.text)))
        return title;
    return spotted.text;
}

QList<PassageTerm> distinct(const QList<SpottedTerm> &spotted)
{
    QList<PassageTerm> terms;
    QSet<QString> seen;
    for (const SpottedTerm &hit : spotted) {
        const QString key = termKey(hit.term);
        if (seen.contains(key))
            continue;
        seen.insert(key);
        terms.append({label(hit), hit.text, hit.term, hit.explanation, hit.origin});
    }
    return terms;
}

QList<PassageTerm> others(const QList<PassageTerm> &terms, const QString &answeredTerm)
{
    const QString answered = termKey(answeredTerm);
    QList<PassageTerm> rest;
    for (const PassageTerm &term : terms) {
        if (answered.isEmpty() || termKey(term.term) != answered)
            rest.append(term);
    }
    return rest;
}

QStringList knownNames(const QList<PassageTerm> &terms)
{
    QStringList names;
    QSet<QString> seen;
    auto add = [&](const QString &name) {
        const QString key = termKey(name);
        if (key.isEmpty() || seen.contains(key))
            return;
        seen.insert(key);
        names.append(name);
    };
    for (const PassageTerm &term : terms) {
        add(term.text);
        add(AnswerText::displayTitle(term.term));
    }
    return names;
}

} // namespace PassageTerms
} // namespace wordlumen
