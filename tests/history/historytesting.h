#pragma once

#include "history/historyentry.h"
#include "history/historystore.h"

#include <QDateTime>
#include <QFile>
#include <QStringList>
#include <QTimeZone>

namespace wordlumen::testing {

inline const QDateTime kHistoryStart(QDate(2026, 12, 1), QTime(9, 0), QTimeZone::utc());

/// A clock that moves one minute on every reading, so each record is newer than the last.
struct SteppingClock
{
    QDateTime next = kHistoryStart;
    HistoryStore::Clock function()
    {
        return [this] {
            const QDateTime now = next;
            next = next.addSecs(60);
            return now;
        };
    }
};

/// A dictionary answer for `term`.
inline HistoryRecord localRecord(const QString &term, const QString &answer = {})
{
    return {term,
            term,
            answer.isEmpty() ? term + QStringLiteral("的白话解释。") : answer,
            ExplanationOrigin::Local,
            AnswerSource::dictionary(),
            {}};
}

/// The terms of `entries`, in order.
inline QStringList termsOf(const QList<HistoryEntry> &entries)
{
    QStringList terms;
    for (const HistoryEntry &entry : entries)
        terms.append(entry.term);
    return terms;
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace wordlumen::testing
