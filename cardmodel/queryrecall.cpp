#include "queryrecall.h"

namespace wordlumen {

std::optional<QString> QueryRecall::older(const QString &input, const Source &recent)
{
    if (!isWalking()) {
        // Only the empty input starts a walk: text the user typed stays theirs.
        if (!input.isEmpty())
            return std::nullopt;
        m_queries = recent ? recent() : QStringList();
        m_queries.removeAll(QString());
        if (m_queries.isEmpty())
            return std::nullopt;
        m_index = 0;
        return m_queries.first();
    }
    if (m_index + 1 < m_queries.size())
        ++m_index;
    return m_queries.at(m_index);
}

std::optional<QString> QueryRecall::newer()
{
    if (!isWalking())
        return std::nullopt;
    if (m_index == 0) {
        leave();
        return QString();
    }
    --m_index;
    return m_queries.at(m_index);
}

void QueryRecall::leave()
{
    m_index = -1;
    m_queries.clear();
}

} // namespace wordlumen
