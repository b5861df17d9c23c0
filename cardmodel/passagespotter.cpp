#include "passagespotter.h"

#include "core/answertext.h"
#include "core/termkey.h"
#include "packs/customglossarystore.h"

namespace wordlumen {

PassageSpotter::PassageSpotter(std::optional<GlossaryStore> dictionary, CustomGlossaryStore *packs,
                               QObject *parent)
    : QObject(parent)
    , m_dictionary(std::move(dictionary))
    , m_packs(packs)
{
    if (m_dictionary) {
        const QList<GlossaryEntry> &entries = m_dictionary->entries();
        for (qsizetype index = 0; index < entries.size(); ++index) {
            for (const QString &alias : entries[index].aliases)
                m_dictionaryKeys.append({termKey(alias), index});
        }
    }
    if (m_packs)
        connect(m_packs, &CustomGlossaryStore::packsChanged, this, &PassageSpotter::rebuild);
    rebuild();
}

PassageSpotter::~PassageSpotter() = default;

void PassageSpotter::rebuild()
{
    QList<Entry> entries;
    TermSpotter::Builder builder;
    if (m_packs) {
        for (const CustomGlossaryEntry &entry : m_packs->entries()) {
            const qsizetype target = entries.size();
            builder.add(termKey(entry.term), target);
            for (const QString &alias : entry.aliases)
                builder.add(termKey(alias), target);
            entries.append({entry.term, entry.explanation, ExplanationOrigin::Custom});
        }
    }
    if (m_dictionary) {
        const qsizetype offset = entries.size();
        for (const GlossaryEntry &entry : m_dictionary->entries())
            entries.append({entry.term, entry.explanation, ExplanationOrigin::Local});
        for (const auto &[key, index] : std::as_const(m_dictionaryKeys))
            builder.add(key, offset + index);
    }
    m_entries = std::move(entries);
    m_spotter = builder.build();
    emit sourcesChanged();
}

QList<SpottedTerm> PassageSpotter::spot(QStringView passage) const
{
    QList<SpottedTerm> terms;
    const int length = maximumCharacterCount(kExplanationLength);
    for (const TermSpotter::Hit &hit : m_spotter.spot(passage)) {
        const Entry &entry = m_entries[hit.target];
        terms.append({passage.mid(hit.start, hit.length).toString(), hit.start, hit.length,
                      hit.characterStart, hit.characterLength, entry.term, entry.origin,
                      AnswerText::readableExplanation(entry.explanation, length)});
    }
    return terms;
}

} // namespace wordlumen
