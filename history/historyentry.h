#pragma once

#include "core/explanationresult.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace wordlumen {

/**
 * Where a recorded answer came from, beside its origin: the pack's name (for
 * `custom`), the dictionary (for `local`), or the endpoint, model and style
 * of an online answer (for `deepSeek`). Never holds the API key: an endpoint
 * is kept without user name, password, query or fragment, where a key could
 * have been written.
 */
struct AnswerSource
{
    /// The pack's display name or the dictionary's name; empty for online answers.
    QString name;
    /// `scheme://host[:port]/path` of the service, nothing else.
    QString endpoint;
    QString model;
    /// The explanation style as the user knows it, e.g. 「白话 · 标准」.
    QString style;

    bool operator==(const AnswerSource &) const = default;

    [[nodiscard]] static AnswerSource pack(const QString &packName);
    /// The built-in dictionary, named as the card names it.
    [[nodiscard]] static AnswerSource dictionary();
    [[nodiscard]] static AnswerSource online(const QString &endpoint, const QString &model,
                                             const QString &style);

    /// The same source with its endpoint passed through endpointWithoutCredentials().
    [[nodiscard]] AnswerSource withoutCredentials() const;

    /**
     * `endpoint` as `scheme://host[:port]/path`: user name, password, query and
     * fragment removed. Empty for text that is no absolute URL, since its parts
     * cannot be told apart.
     */
    [[nodiscard]] static QString endpointWithoutCredentials(const QString &endpoint);

    /// One line for lists: the name, or host · model · style of an online answer.
    [[nodiscard]] QString displayText() const;
};

/// An answer the card showed, as it is handed to the history.
struct HistoryRecord
{
    /// The term the answer explains (its title on the card); the row's key is its term key.
    QString term;
    /// What the user typed.
    QString query;
    /// The answer's text as shown.
    QString answer;
    /// `custom`, `local` or `deepSeek`; notices (`unavailable`) are never recorded.
    ExplanationOrigin origin = ExplanationOrigin::Local;
    AnswerSource source;
    /// The passage or selection the term was looked up from, when known.
    QString context;

    bool operator==(const HistoryRecord &) const = default;
};

/// One row of the history: the latest answer for one term key.
struct HistoryEntry
{
    qint64 id = 0;
    QString termKey;
    QString term;
    QString query;
    QString answer;
    ExplanationOrigin origin = ExplanationOrigin::Local;
    AnswerSource source;
    QString context;
    int lookupCount = 0;
    /// UTC, millisecond precision.
    QDateTime firstSeen;
    QDateTime lastSeen;
    bool starred = false;

    bool operator==(const HistoryEntry &) const = default;
};

/// Where a page of the list ends: the next page starts after this entry.
struct HistoryCursor
{
    qint64 lastSeenMs = 0;
    qint64 id = 0;

    bool operator==(const HistoryCursor &) const = default;
};

/// Which entries to list, newest first.
struct HistoryQuery
{
    /// Found anywhere in the term or the answer, Chinese or Latin, any case; empty finds all.
    QString search;
    bool starredOnly = false;
    /// Only entries last seen at or after this time; invalid for no bound.
    QDateTime since;
    /// Entries per page; 0 or less for all of them.
    int limit = 100;
    /// Continue after this entry (the `next` of the previous page).
    std::optional<HistoryCursor> after;
};

/// One page of the list and where the next one starts (nothing after the last page).
struct HistoryPage
{
    QList<HistoryEntry> entries;
    std::optional<HistoryCursor> next;
};

} // namespace wordlumen
