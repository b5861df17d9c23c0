#include "namematcher.h"

#include "glossarytextmatcher.h"
#include "textmetrics.h"

#include <algorithm>

namespace wordlumen {

void NameMatcher::add(const QString &key, qsizetype target)
{
    const qsizetype order = m_walked++;
    if (key.isEmpty() || m_names.contains(QStringView(key)))
        return;
    // The view points into the shared text of `key`, which m_keyStorage keeps
    // alive and never changes; copies of the matcher share it the same way.
    m_keyStorage.append(key);
    m_names.insert(QStringView(m_keyStorage.constLast()),
                   Name{order, target, GlossaryTextMatcher::isAscii(key)});
    const auto size = std::lower_bound(m_keySizes.begin(), m_keySizes.end(), key.size());
    if (size == m_keySizes.end() || *size != key.size())
        m_keySizes.insert(size, key.size());
}

std::optional<qsizetype> NameMatcher::bestMatch(const QString &queryKey) const
{
    if (queryKey.isEmpty())
        return std::nullopt;
    const QStringView query(queryKey);

    // A name equal to the whole query outscores every containment, and all
    // exact hits tie, so the first one in walking order is the answer.
    if (const auto exact = m_names.constFind(query); exact != m_names.constEnd())
        return exact->target;

    const Name *best = nullptr;
    qsizetype bestLength = 0;
    for (const qsizetype size : m_keySizes) {
        if (size >= query.size())
            break;
        for (qsizetype at = 0; at + size <= query.size(); ++at) {
            const auto found = m_names.constFind(query.mid(at, size));
            if (found == m_names.constEnd())
                continue;
            const Name &name = *found;
            if (name.length < 0)
                name.length = TextMetrics::graphemeCount(found.key());
            if (best && (name.length < bestLength ||
                         (name.length == bestLength && name.order >= best->order)))
                continue;
            // A Latin name also needs word boundaries, somewhere in the query.
            if (name.ascii && !GlossaryTextMatcher::contains(found.key(), true, query))
                continue;
            best = &name;
            bestLength = name.length;
        }
    }
    if (!best)
        return std::nullopt;
    return best->target;
}

} // namespace wordlumen
