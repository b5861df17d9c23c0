#pragma once

#include "core/explanationresult.h"
#include "history/historyentry.h"
#include "online/explanationpromptprofile.h"
#include "online/onlinesettings.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <functional>
#include <optional>

namespace wordlumen {

class CustomGlossaryStore;
class HistoryStore;
class HistoryWriter;

/**
 * The card's side of the lookup history: it records every complete answer
 * the card shows (from a pack, the dictionary or the online service; never a
 * notice, a failure or a cancelled answer), and says for the answer shown
 * whether it can be starred, whether it is, and whether it is a saved answer
 * shown again (「已保存 · 今天 14:05」). It also finds what the card reads
 * back: a saved answer to reuse, and the recent queries for Up and Down.
 *
 * Recordings and stars go to the HistoryWriter's thread, so showing an
 * answer never waits for the database; the star's state comes back from the
 * history once the recording is written (a moment later, before the card has
 * finished turning over). Reads go through the store on this thread: they
 * happen when the user asks for something, and see what was handed to the
 * writer and not yet written.
 */
class HistoryRecorder final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryRecorder)

    /// The answer shown is in the history, so its star works.
    Q_PROPERTY(bool canStar READ canStar NOTIFY answerStateChanged)
    Q_PROPERTY(bool starred READ starred NOTIFY answerStateChanged)
    /// The star's name for screen readers and its tool tip: 「收藏」 or 「取消收藏」.
    Q_PROPERTY(QString starLabel READ starLabel NOTIFY answerStateChanged)
    /// 「已保存 · 今天 14:05」 while the answer shown is a saved one shown again; else empty.
    Q_PROPERTY(QString savedLabel READ savedLabel NOTIFY answerStateChanged)

public:
    /// The current time; the saved mark's text is relative to it.
    using Clock = std::function<QDateTime()>;

    /// What a lookup knows when it starts, beside the answer it ends in.
    struct Lookup
    {
        /// The query as typed.
        QString query;
        /// The passage or description the term was chosen from, when known.
        QString context;
        /// For an answer from a pack: the entry's id, to name its pack.
        QUuid packEntry;
        /// For an online answer: the service and the style it writes in.
        AnswerSource online;

        bool operator==(const Lookup &) const = default;
    };

    /**
     * `store` is read on this thread, `writer` writes into the same file,
     * `packs` names the pack of a pack's answer. Any may be null: without a
     * store or a writer nothing is recorded or read.
     */
    HistoryRecorder(HistoryStore *store, HistoryWriter *writer, CustomGlossaryStore *packs,
                    Clock clock = {}, QObject *parent = nullptr);
    ~HistoryRecorder() override;

    /// The service, model and style an online answer is written with: its source in the history.
    [[nodiscard]] static AnswerSource onlineSource(const OnlineSettings &settings,
                                                   const ExplanationPromptProfile &profile);
    /// The style as the user chose it: 「通俗白话 · 推荐」, a custom perspective named.
    [[nodiscard]] static QString styleText(const ExplanationPromptProfile &profile);

    [[nodiscard]] bool canStar() const { return m_canStar; }
    [[nodiscard]] bool starred() const { return m_starred; }
    [[nodiscard]] QString starLabel() const;
    [[nodiscard]] QString savedLabel() const;
    [[nodiscard]] bool showsSaved() const { return m_saved.has_value(); }
    /// The saved answer shown again, if one is.
    [[nodiscard]] const std::optional<HistoryEntry> &shownSaved() const { return m_saved; }

    /**
     * A complete answer is shown: it is recorded (while recording is on) and
     * its star follows the history. Notices are not recorded and have no star.
     */
    void answerShown(const Lookup &lookup, const ExplanationResult &answer);
    /**
     * A saved answer is shown again, marked as saved with its time. Counted
     * as a lookup, with `lookup`'s query, when the user looked it up again;
     * opened from the history page, it is only shown.
     */
    void savedShown(const HistoryEntry &entry, const std::optional<Lookup> &lookup);
    /// Nothing complete is shown any more: a new lookup runs, or the answer is gone.
    void answerCleared();

    /**
     * The saved online answer of `term` that asking `source` again would
     * repeat: same service, model and style. Nothing for other answers.
     */
    [[nodiscard]] std::optional<HistoryEntry> reusableAnswer(const QString &term,
                                                             const AnswerSource &source);
    /// Distinct queries as typed, newest first, at most `limit`.
    [[nodiscard]] QStringList recentQueries(int limit);

    /// The star on the answer face and Ctrl+D.
    Q_INVOKABLE void toggleStar();

signals:
    void answerStateChanged();
    /// A star could not be set; the user's sentence.
    void starFailed(const QString &message);

private:
    [[nodiscard]] HistoryRecord recordFor(const Lookup &lookup, const ExplanationResult &answer,
                                          const std::optional<HistoryEntry> &saved) const;
    /// The saved row of `term`, or the recording of it on its way there.
    [[nodiscard]] std::optional<HistoryEntry> savedAnswer(const QString &term);
    [[nodiscard]] bool isCurrent(const QString &termKey) const;
    void setStarState(bool canStar, bool starred);
    void recordWritten(const QString &termKey, bool starred);
    void starRead(const QString &termKey, bool found, bool starred);
    void starWriteFailed(const QString &termKey);
    void historyChanged();

    QPointer<HistoryStore> m_store;
    QPointer<HistoryWriter> m_writer;
    QPointer<CustomGlossaryStore> m_packs;
    Clock m_clock;

    // The answer shown, by its term and term key; empty when none is complete.
    QString m_term;
    QString m_termKey;
    bool m_canStar = false;
    bool m_starred = false;
    std::optional<HistoryEntry> m_saved;
};

} // namespace wordlumen
