#include "historytimetext.h"

namespace wordlumen::HistoryTimeText {

QString lastSeenText(const QDateTime &when, const QDateTime &now)
{
    const QDateTime local = when.toLocalTime();
    const QDate day = local.date();
    const QDate today = now.toLocalTime().date();
    const QString clock = local.toString(QStringLiteral("HH:mm"));
    if (day == today)
        return QStringLiteral("今天 ") + clock;
    if (day == today.addDays(-1))
        return QStringLiteral("昨天 ") + clock;
    if (day.year() == today.year() && day < today)
        return QStringLiteral("%1月%2日").arg(day.month()).arg(day.day());
    return QStringLiteral("%1年%2月%3日").arg(day.year()).arg(day.month()).arg(day.day());
}

} // namespace wordlumen::HistoryTimeText
