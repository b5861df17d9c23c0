#include "historyrecorder.h"

#include "core/termkey.h"
#include "core/textmetrics.h"
#include "history/historystore.h"
#include "history/historytimetext.h"
#include "history/historywriter.h"
#include "packs/customglossarystore.h"

namespace wordlumen {

namespace {

// A custom perspective is the user's own sentence; the style names enough of
// it to tell two apart in the history's list.
constexpr qsizetype kPerspectiveShown = 24;

} // namespace

HistoryRecorder::HistoryRecorder(HistoryStore *store, HistoryWriter *writer,
                                 CustomGlossaryStore *packs, Clock clock, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_writer(writer)
    , m_packs(packs)
    , m_clock(std::move(clock))
{
    if (m_writer) {
        connect(m_writer, &HistoryWriter::recordWritten, this, &HistoryRecorder::recordWritten);
        connect(m_writer, &HistoryWriter::recordFailed, this,
                [this](const QString &termKey) { starRead(termKey, false, false); });
        connect(m_writer, &HistoryWriter::starRead, this, &HistoryRecorder::starRead);
        connect(m_writer, &HistoryWriter::starFailed, this,
                [this](const QString &termKey, HistoryError error) {
                    if (!isCurrent(termKey))
                        return;
                    starWriteFailed(termKey);
                    emit starFailed(historyErrorMessage(error));
                });
    }
    if (m_store)
        connect(m_store, &HistoryStore::entriesChanged, this, &HistoryRecorder::historyChanged);
}

HistoryRecorder::~HistoryRecorder() = default;

AnswerSource HistoryRecorder::onlineSource(const OnlineSettings &settings,
                                           const ExplanationPromptProfile &profile)
{
    return AnswerSource::online(settings.endpointText, settings.model, styleText(profile));
}

QString HistoryRecorder::styleText(const ExplanationPromptProfile &profile)
{
    QString audience = title(profile.audience);
    const QString perspective = TextMetrics::trimmed(profile.customPerspective);
    if (profile.audience == ExplanationAudience::Custom && !perspective.isEmpty()) {
        audience += QStringLiteral("：") +
                    (TextMetrics::graphemeCount(perspective) > kPerspectiveShown
                         ? TextMetrics::leftGraphemes(perspective, kPerspectiveShown - 1) +
                               QStringLiteral("…")
                         : perspective);
    }
    return audience + QStringLiteral(" · ") + title(profile.length);
}

QString HistoryRecorder::starLabel() const
{
    return m_starred ? QStringLiteral("取消收藏") : QStringLiteral("收藏");
}

QString HistoryRecorder::savedLabel() const
{
    if (!m_saved)
        return {};
    const QDateTime now = m_clock ? m_clock() : QDateTime::currentDateTime();
    return QStringLiteral("已保存 · ") + HistoryTimeText::lastSeenText(m_saved->lastSeen, now);
}

void HistoryRecorder::answerShown(const Lookup &lookup, const ExplanationResult &answer)
{
    answerCleared();
    if (answer.origin == ExplanationOrigin::Unavailable || answer.explanation.isEmpty())
        return;
    m_termKey = termKey(answer.term);
    if (m_termKey.isEmpty() || !m_writer)
        return;
    m_term = answer.term;
    // The star shows once the history has the row: at once when this
    // recording is written, or, with recording off, when the row is found.
    if (!m_writer->record(recordFor(lookup, answer, std::nullopt)))
        m_writer->readStar(m_term);
}

void HistoryRecorder::savedShown(const HistoryEntry &entry, const std::optional<Lookup> &lookup)
{
    answerCleared();
    m_term = entry.term;
    m_termKey = termKey(entry.term);
    m_saved = entry;
    if (m_writer && lookup)
        m_writer->record(recordFor(*lookup, {entry.term, entry.answer, entry.origin}, entry));
    const std::optional<bool> asked = m_writer ? m_writer->pendingStar(entry.term) : std::nullopt;
    m_starred = asked.value_or(entry.starred);
    m_canStar = m_writer != nullptr;
    emit answerStateChanged();
}

void HistoryRecorder::answerCleared()
{
    if (m_termKey.isEmpty() && !m_canStar && !m_saved)
        return;
    m_term.clear();
    m_termKey.clear();
    m_saved.reset();
    m_canStar = false;
    m_starred = false;
    emit answerStateChanged();
}

HistoryRecord HistoryRecorder::recordFor(const Lookup &lookup, const ExplanationResult &answer,
                                         const std::optional<HistoryEntry> &saved) const
{
    HistoryRecord record;
    record.term = answer.term;
    record.query = lookup.query;
    record.answer = answer.explanation;
    record.origin = answer.origin;
    record.context = lookup.context;
    if (saved) {
        record.source = saved->source;
        return record;
    }
    switch (answer.origin) {
    case ExplanationOrigin::Custom: {
        const auto pack = m_packs ? m_packs->packOf(lookup.packEntry) : std::nullopt;
        // A pack deleted while its answer was shown is still a pack.
        record.source = AnswerSource::pack(pack ? pack->displayName() : QStringLiteral("补充包"));
        break;
    }
    case ExplanationOrigin::Local:
        record.source = AnswerSource::dictionary();
        break;
    case ExplanationOrigin::DeepSeek:
        record.source = lookup.online;
        break;
    case ExplanationOrigin::Unavailable:
        break;
    }
    return record;
}

std::optional<HistoryEntry> HistoryRecorder::savedAnswer(const QString &term)
{
    std::optional<HistoryEntry> entry;
    if (m_store) {
        if (auto saved = m_store->savedAnswer(term); saved)
            entry = std::move(saved).value();
    }
    if (!m_writer)
        return entry;
    if (const auto pending = m_writer->pendingRecord(term)) {
        // Written a moment from now: the row will be this.
        const HistoryRecord &record = pending->record;
        HistoryEntry next = entry.value_or(HistoryEntry{});
        if (!entry)
            next.firstSeen = pending->handedAt;
        next.termKey = pending->termKey;
        next.term = TextMetrics::trimmed(record.term);
        next.query = TextMetrics::trimmed(record.query);
        next.answer = record.answer;
        next.origin = record.origin;
        next.source = record.source.withoutCredentials();
        if (!TextMetrics::trimmed(record.context).isEmpty())
            next.context = TextMetrics::trimmed(record.context);
        next.lookupCount += 1;
        next.lastSeen = pending->handedAt;
        entry = next;
    }
    if (entry) {
        if (const auto asked = m_writer->pendingStar(term))
            entry->starred = *asked;
    }
    return entry;
}

std::optional<HistoryEntry> HistoryRecorder::reusableAnswer(const QString &term,
                                                            const AnswerSource &source)
{
    auto saved = savedAnswer(term);
    if (!saved || saved->origin != ExplanationOrigin::DeepSeek ||
        TextMetrics::trimmed(saved->answer).isEmpty())
        return std::nullopt;
    if (saved->source != source.withoutCredentials())
        return std::nullopt;
    return saved;
}

QStringList HistoryRecorder::recentQueries(int limit)
{
    QStringList queries;
    auto add = [&](const QString &query) {
        const QString text = TextMetrics::trimmed(query);
        if (!text.isEmpty() && !queries.contains(text) && queries.size() < limit)
            queries.append(text);
    };
    if (m_writer) {
        const auto &pending = m_writer->pendingRecords();
        for (auto it = pending.crbegin(); it != pending.crend(); ++it)
            add(it->record.query);
    }
    if (m_store) {
        if (const auto stored = m_store->recentQueries(limit)) {
            for (const QString &query : stored.value())
                add(query);
        }
    }
    return queries;
}

void HistoryRecorder::toggleStar()
{
    if (!m_canStar || !m_writer)
        return;
    const bool wanted = !m_starred;
    m_writer->setStarred(m_term, wanted);
    if (m_saved)
        m_saved->starred = wanted;
    setStarState(true, wanted);
}

bool HistoryRecorder::isCurrent(const QString &termKey) const
{
    return !m_termKey.isEmpty() && termKey == m_termKey;
}

void HistoryRecorder::setStarState(bool canStar, bool starred)
{
    if (m_canStar == canStar && m_starred == starred)
        return;
    m_canStar = canStar;
    m_starred = starred;
    emit answerStateChanged();
}

void HistoryRecorder::recordWritten(const QString &termKey, bool starred)
{
    if (!isCurrent(termKey))
        return;
    // A star asked for since is on its way and wins.
    setStarState(true, m_writer->pendingStar(m_term).value_or(starred));
}

void HistoryRecorder::starRead(const QString &termKey, bool found, bool starred)
{
    if (!isCurrent(termKey))
        return;
    if (!found) {
        setStarState(false, false);
        return;
    }
    setStarState(true, m_writer->pendingStar(m_term).value_or(starred));
}

void HistoryRecorder::starWriteFailed(const QString &termKey)
{
    Q_UNUSED(termKey)
    // Show what the history holds, whatever was asked.
    m_writer->readStar(m_term);
}

void HistoryRecorder::historyChanged()
{
    // The page (or the terminal companion, once the page refreshed) may have
    // starred, unstarred or removed the answer shown.
    if (!m_termKey.isEmpty() && m_writer)
        m_writer->readStar(m_term);
}

} // namespace wordlumen
