#include "cardviewmodel.h"

#include "cardmetrics.h"
#include "cardmodellog.h"
#include "core/answertext.h"
#include "core/selectiontext.h"
#include "core/textmetrics.h"
#include "lookupdecision.h"
#include "online/apisettingsnotifier.h"
#include "online/deepseekclient.h"
#include "online/keychainstore.h"
#include "packs/customglossarystore.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace wordlumen {

namespace {

const QString kEmptyQueryMessage = QStringLiteral("先写下一个看不懂的词。");
const QString kNoDictionaryMessage =
    QStringLiteral("本地词典没有加载成功，仍可在设置 API 后使用在线解释。");
const QString kExplanationFailedNotice =
    QStringLiteral("这次没有解释成功。翻回正面后可以重试，或到设置里检查 API。");
const QString kReverseLookupFailedNotice =
    QStringLiteral("这次没有反查成功。翻回正面后可以重试，或到设置里检查 API。");

// Online text is read up to this much past the length limit, so the readable
// cut has a sentence end to look for and a verbose reply costs no more.
constexpr int kStreamSlack = 60;

} // namespace

CardViewModel::CardViewModel(std::optional<GlossaryStore> glossary,
                             CustomGlossaryStore *customGlossary, ProfileProvider profileProvider,
                             KeyProvider apiKeyProvider,
                             OnlineSettingsProvider onlineSettingsProvider, QObject *parent)
    : QObject(parent)
    , m_glossary(std::move(glossary))
    , m_customGlossary(customGlossary)
    , m_profileProvider(std::move(profileProvider))
    , m_apiKeyProvider(std::move(apiKeyProvider))
    , m_onlineSettingsProvider(std::move(onlineSettingsProvider))
    , m_matchModel(new ReverseLookupMatchModel(this))
{
    m_passage = new PassageSession(m_glossary, m_customGlossary.data(), m_profileProvider,
                                   m_apiKeyProvider, m_onlineSettingsProvider, this);
    if (!m_profileProvider)
        m_profileProvider = [] {
            return ExplanationPromptProfile::current();
        };
    if (!m_apiKeyProvider)
        m_apiKeyProvider = [] {
            return KeychainStore::readAPIKey();
        };
    if (!m_onlineSettingsProvider) {
        m_onlineSettingsProvider = &OnlineSettings::stored;
    }
    m_hasAPIKey = !m_apiKeyProvider().isEmpty();
    m_passage->setHasAPIKey(m_hasAPIKey);
    connect(this, &CardViewModel::hasAPIKeyChanged, m_passage,
            [this] { m_passage->setHasAPIKey(m_hasAPIKey); });
    // The row and the passage view follow the passage (changed sources, the online search).
    connect(m_passage, &PassageSession::othersChanged, this, [this] {
        if (m_result)
            updateAnswerHeight();
    });
    for (auto changed : {&PassageSession::passageChanged, &PassageSession::searchChanged})
        connect(m_passage, changed, this, [this] {
            if (m_answerMode == AnswerMode::Passage)
                updatePassageHeight();
        });
    if (!m_glossary)
        m_errorMessage = kNoDictionaryMessage;

    connect(&ApiSettingsNotifier::instance(), &ApiSettingsNotifier::apiSettingsDidChange, this,
            &CardViewModel::refreshHasAPIKey);
    for (auto changed : {&CardViewModel::resultChanged, &CardViewModel::isLoadingChanged,
                         &CardViewModel::hasAPIKeyChanged, &CardViewModel::answerModeChanged})
        connect(this, changed, this, &CardViewModel::canRegenerateChanged);
}

CardViewModel::~CardViewModel()
{
    cancelRequest();
}

void CardViewModel::setQuery(const QString &query)
{
    // Typing, a chip or a launch request ends a walk through the recent queries.
    m_recall.leave();
    if (m_query == query)
        return;
    m_query = query;
    emit queryChanged();
}

QString CardViewModel::resultTitle() const
{
    return m_result ? AnswerText::displayTitle(m_result->term) : QString();
}

QString CardViewModel::resultExplanation() const
{
    return m_result ? m_result->explanation : QString();
}

ExplanationOrigin CardViewModel::resultOrigin() const
{
    return m_result ? m_result->origin : ExplanationOrigin::Unavailable;
}

bool CardViewModel::offersApiSetup() const
{
    return m_result && m_result->origin == ExplanationOrigin::Unavailable;
}

const QList<ReverseLookupMatch> &CardViewModel::reverseLookupMatches() const
{
    return m_matchModel->matches();
}

void CardViewModel::setPresentation(Presentation presentation)
{
    if (m_presentation == presentation)
        return;
    m_presentation = presentation;
    emit presentationChanged();
}

void CardViewModel::explain()
{
    const QString context = std::exchange(m_pendingContext, {});
    m_recall.leave();
    const QString q = TextMetrics::trimmed(m_query);
    if (q.isEmpty()) {
        setErrorMessage(kEmptyQueryMessage);
        return;
    }

    setErrorMessage({});
    cancelRequest();
    m_regenerating.reset();
    setLoading(false);
    setAnswerMode(AnswerMode::Explanation);
    setMatches({});

    LookupSources sources;
    if (m_customGlossary) {
        sources.pack = m_customGlossary->match(q);
    }
    if (!sources.pack && m_glossary) {
        sources.dictionary = m_glossary->match(q);
    }
    const ExplanationPromptProfile profile = m_profileProvider();
    // The key is read only when the answer depends on it.
    const QString key =
        LookupDecision::needsKey(sources, profile.audience) ? m_apiKeyProvider() : QString();
    const LookupDecision decision =
        LookupDecision::decide(q, sources, profile.audience, !key.isEmpty());
    m_lookup = {q, context, sources.pack ? sources.pack->id : QUuid(), {}};

    switch (decision.kind) {
    case LookupDecision::Kind::LocalAnswer:
        notePassage(q, decision.term);
        showExplanation(decision.term, decision.text, decision.origin,
                        profile.maximumCharacterCount());
        return;
    case LookupDecision::Kind::Notice:
        notePassage(q, decision.term);
        setResult(ExplanationResult{decision.term, decision.text, decision.origin});
        updateAnswerHeight();
        setResumePresentation(Presentation::Back);
        setPresentation(Presentation::Back);
        return;
    case LookupDecision::Kind::OnlineExplanation:
    case LookupDecision::Kind::OnlineReverseLookup:
        break;
    }

    const OnlineSettings online = m_onlineSettingsProvider();
    const Result<DeepSeekClient, DeepSeekError> client =
        DeepSeekClient::build(online, key, profile, DeepSeekClient::sharedSession());
    if (!client) {
        setErrorMessage(client.error().message());
        // Where the answer face shows it (a chosen candidate), it must fit.
        if (m_presentation == Presentation::Back && m_result)
            updateAnswerHeight();
        return;
    }
    m_lookup.online = HistoryRecorder::onlineSource(online, profile);
    // What the same service already wrote in the same style is not paid for twice.
    if (m_history && decision.kind == LookupDecision::Kind::OnlineExplanation) {
        if (const auto saved = m_history->reusableAnswer(decision.term, m_lookup.online)) {
            showSaved(*saved, m_lookup);
            return;
        }
    }

    notePassage(q, decision.term);
    setResult(ExplanationResult{decision.term, QString(), ExplanationOrigin::DeepSeek});
    setLoading(true);
    updateAnswerHeight();
    setResumePresentation(Presentation::Back);
    setPresentation(Presentation::Back);

    const bool reverse = decision.kind == LookupDecision::Kind::OnlineReverseLookup;
    qCDebug(lcCardModel) << (reverse ? "asking the service for candidate terms"
                                     : "asking the service to explain")
                         << (sources.dictionary ? "a dictionary term" : "an unknown term");
    if (reverse)
        beginReverseLookup(q, *client);
    else
        beginOnlineExplanation(decision.term, *client, profile.maximumCharacterCount());
}

void CardViewModel::selectReverseLookup(const ReverseLookupMatch &match)
{
    const QString description = TextMetrics::trimmed(m_query);
    setQuery(match.term);
    setAnswerMode(AnswerMode::Explanation);
    setMatches({});
    setResult(std::nullopt);
    // The term was found from the description: that is where it came from.
    m_pendingContext = description;
    explain();
}

void CardViewModel::selectReverseLookup(int row)
{
    const QList<ReverseLookupMatch> &matches = reverseLookupMatches();
    if (row < 0 || row >= matches.size())
        return;
    const ReverseLookupMatch match = matches[row];
    selectReverseLookup(match);
}

void CardViewModel::explainPassageTerm(const QString &term)
{
    m_keepPassage = true;
    setQuery(term);
    setAnswerMode(AnswerMode::Explanation);
    setMatches({});
    setResult(std::nullopt);
    explain();
    m_keepPassage = false;
}

void CardViewModel::showPassage()
{
    setAnswerMode(AnswerMode::Passage);
    updatePassageHeight();
    setResumePresentation(Presentation::Back);
    setPresentation(Presentation::Back);
}

void CardViewModel::openPassage(const QString &text)
{
    cancelRequest();
    setLoading(false);
    setErrorMessage({});
    setMatches({});
    setQuery(text);
    setResult(std::nullopt);
    m_passage->setPassage(text);
    m_passage->setAnsweredTerm({});
    showPassage();
}

void CardViewModel::lookUpSelection(const QString &selection)
{
    const QString passage = SelectionText::passage(selection);
    if (SelectionText::readsAsPassage(passage, m_passage->knownTermCount(passage))) {
        openPassage(passage);
        return;
    }
    setQuery(SelectionText::normalised(selection));
    explain();
}

void CardViewModel::leavePassage()
{
    m_passage->cancelSearch();
    if (!m_result) {
        flipToFront();
        return;
    }
    setAnswerMode(AnswerMode::Explanation);
    updateAnswerHeight();
}

void CardViewModel::flipToFront()
{
    cancelRequest();
    setLoading(false);
    setErrorMessage({});
    setAnswerMode(AnswerMode::Explanation);
    setMatches({});
    if (m_regenerating)
        restoreSaved();
    setResumePresentation(Presentation::Front);
    setPresentation(Presentation::Front);
}

void CardViewModel::startOver()
{
    flipToFront();
    setQuery({});
    setResult(std::nullopt);
    setExpandedHeight(CardMetrics::kDefaultHeight);
}

void CardViewModel::collapse()
{
    if (m_presentation != Presentation::Collapsed)
        setResumePresentation(m_presentation);
    setPresentation(Presentation::Collapsed);
}

void CardViewModel::expand()
{
    if (m_presentation == Presentation::Collapsed)
        setPresentation(m_resumePresentation);
}

void CardViewModel::openSettings()
{
    setExpandedHeight(CardMetrics::kSettingsHeight);
    setResumePresentation(Presentation::Settings);
    setPresentation(Presentation::Settings);
}

void CardViewModel::closeSettings()
{
    refreshHasAPIKey();
    setExpandedHeight(CardMetrics::kDefaultHeight);
    setResumePresentation(Presentation::Front);
    setPresentation(Presentation::Front);
}

void CardViewModel::refreshHasAPIKey()
{
    setHasAPIKey(!m_apiKeyProvider().isEmpty());
}

bool CardViewModel::canRegenerate() const
{
    return m_history && m_history->showsSaved() && m_result &&
           m_result->origin == ExplanationOrigin::DeepSeek &&
           m_answerMode == AnswerMode::Explanation && m_hasAPIKey && !m_isLoading;
}

void CardViewModel::setHistory(HistoryRecorder *history)
{
    if (m_history == history)
        return;
    if (m_history)
        m_history->disconnect(this);
    m_history = history;
    if (m_history) {
        connect(m_history, &HistoryRecorder::answerStateChanged, this,
                &CardViewModel::canRegenerateChanged);
        connect(m_history, &HistoryRecorder::starFailed, this, [this](const QString &message) {
            setErrorMessage(message);
            if (m_result)
                updateAnswerHeight();
        });
    }
    emit historyChanged();
    emit canRegenerateChanged();
}

void CardViewModel::openSaved(const HistoryEntry &entry)
{
    m_pendingContext.clear();
    setErrorMessage({});
    cancelRequest();
    m_regenerating.reset();
    setLoading(false);
    setAnswerMode(AnswerMode::Explanation);
    setMatches({});
    setQuery(entry.term);
    showSaved(entry, std::nullopt);
}

void CardViewModel::regenerate()
{
    if (!canRegenerate())
        return;
    const HistoryEntry saved = *m_history->shownSaved();
    const ExplanationPromptProfile profile = m_profileProvider();
    const OnlineSettings online = m_onlineSettingsProvider();
    const Result<DeepSeekClient, DeepSeekError> client =
        DeepSeekClient::build(online, m_apiKeyProvider(), profile, DeepSeekClient::sharedSession());
    if (!client) {
        setErrorMessage(client.error().message());
        updateAnswerHeight();
        return;
    }
    setErrorMessage({});
    cancelRequest();
    m_lookup = {saved.query, saved.context, {}, HistoryRecorder::onlineSource(online, profile)};
    m_regenerating = saved;
    setResult(ExplanationResult{saved.term, QString(), ExplanationOrigin::DeepSeek});
    setLoading(true);
    updateAnswerHeight();
    beginOnlineExplanation(saved.term, *client, profile.maximumCharacterCount());
}

bool CardViewModel::recallOlder()
{
    return showRecalled(m_recall.older(m_query, [this] {
        return m_history ? m_history->recentQueries(QueryRecall::kDepth) : QStringList();
    }));
}

bool CardViewModel::recallNewer()
{
    return showRecalled(m_recall.newer());
}

bool CardViewModel::showRecalled(const std::optional<QString> &text)
{
    if (!text)
        return false;
    // Not through setQuery, which would end the walk.
    if (m_query != *text) {
        m_query = *text;
        emit queryChanged();
    }
    return true;
}

void CardViewModel::recordAnswer()
{
    if (m_history && m_result && m_answerMode == AnswerMode::Explanation)
        m_history->answerShown(m_lookup, *m_result);
}

void CardViewModel::showSaved(const HistoryEntry &entry,
                              const std::optional<HistoryRecorder::Lookup> &lookup)
{
    setResult(ExplanationResult{entry.term, entry.answer, entry.origin});
    if (m_history)
        m_history->savedShown(entry, lookup);
    updateAnswerHeight();
    setResumePresentation(Presentation::Back);
    setPresentation(Presentation::Back);
}

void CardViewModel::restoreSaved()
{
    const HistoryEntry saved = *std::exchange(m_regenerating, std::nullopt);
    setResult(ExplanationResult{saved.term, saved.answer, saved.origin});
    if (m_history)
        m_history->savedShown(saved, std::nullopt);
    updateAnswerHeight();
}

void CardViewModel::setResult(std::optional<ExplanationResult> result)
{
    if (m_result == result)
        return;
    m_result = std::move(result);
    // What the history knew of the answer shown (its star, the saved mark) is for that answer.
    if (m_history)
        m_history->answerCleared();
    emit resultChanged();
    updateShowsPlaceholder();
}

void CardViewModel::setResultExplanation(const QString &explanation)
{
    if (!m_result || m_result->explanation == explanation)
        return;
    m_result->explanation = explanation;
    emit resultChanged();
    updateShowsPlaceholder();
}

void CardViewModel::setAnswerMode(AnswerMode mode)
{
    if (m_answerMode == mode)
        return;
    m_answerMode = mode;
    emit answerModeChanged();
    updateShowsPlaceholder();
}

void CardViewModel::setMatches(const QList<ReverseLookupMatch> &matches)
{
    m_matchModel->setMatches(matches);
    updateShowsPlaceholder();
}

void CardViewModel::setResumePresentation(Presentation presentation)
{
    if (m_resumePresentation == presentation)
        return;
    m_resumePresentation = presentation;
    emit resumePresentationChanged();
}

void CardViewModel::setExpandedHeight(double height)
{
    if (qFuzzyCompare(m_expandedHeight, height))
        return;
    m_expandedHeight = height;
    emit expandedHeightChanged();
}

void CardViewModel::setLoading(bool loading)
{
    if (m_isLoading == loading)
        return;
    m_isLoading = loading;
    emit isLoadingChanged();
    updateShowsPlaceholder();
}

void CardViewModel::setErrorMessage(const QString &message)
{
    if (m_errorMessage == message)
        return;
    m_errorMessage = message;
    emit errorMessageChanged();
}

void CardViewModel::updateShowsPlaceholder()
{
    const bool nothingYet = m_answerMode == AnswerMode::ReverseLookup
                                ? m_matchModel->count() == 0
                                : !m_result || m_result->explanation.isEmpty();
    const bool shows = m_isLoading && nothingYet;
    if (shows == m_showsPlaceholder)
        return;
    m_showsPlaceholder = shows;
    emit showsPlaceholderChanged();
}

QString CardViewModel::sourcesLine() const
{
    // The count is the dictionary's own, and a dictionary that did not load
    // is not offered as a source.
    if (!m_glossary) {
        return m_hasAPIKey ? QStringLiteral("在线 API · 本地词典未加载")
                           : QStringLiteral("本地词典未加载 · 需要 API");
    }
    return m_hasAPIKey
               ? QStringLiteral("本地词典 + 在线 API")
               : QStringLiteral("%1 条本地词典 · 无需 API").arg(m_glossary->entries().size());
}

void CardViewModel::setHasAPIKey(bool hasKey)
{
    if (m_hasAPIKey == hasKey)
        return;
    m_hasAPIKey = hasKey;
    emit hasAPIKeyChanged();
}

void CardViewModel::showExplanation(const QString &term, const QString &explanation,
                                    ExplanationOrigin origin, int maximumCharacterCount)
{
    const QString text = AnswerText::readableExplanation(explanation, maximumCharacterCount);
    qCDebug(lcCardModel) << "answered locally from" << toString(origin);
    setResult(ExplanationResult{term, text, origin});
    updateAnswerHeight();
    setResumePresentation(Presentation::Back);
    setPresentation(Presentation::Back);
    recordAnswer();
}

void CardViewModel::updateAnswerHeight()
{
    // An answer streaming in behind the passage view does not resize it.
    if (m_answerMode == AnswerMode::Passage)
        return;
    setExpandedHeight(CardMetrics::heightForAnswer(
        {resultTitle(), resultExplanation(), m_showsPlaceholder, offersApiSetup(), m_errorMessage,
         m_history && m_history->showsSaved(),
         m_result.has_value() && m_passage->others()->count() > 0}));
}

void CardViewModel::updatePassageHeight()
{
    setExpandedHeight(CardMetrics::heightForPassage(m_passage->viewContent()));
}

void CardViewModel::notePassage(const QString &query, const QString &answeredTerm)
{
    if (!m_keepPassage)
        m_passage->setPassage(query);
    m_passage->setAnsweredTerm(answeredTerm);
}

void CardViewModel::cancelRequest()
{
    // A new generation makes every late report of the old task a no-op, even
    // one already queued; disconnecting and cancelling stops the transfer.
    ++m_generation;
    m_passage->cancelSearch();
    if (m_task) {
        m_task->disconnect(this);
        m_task->cancel();
        m_task->deleteLater();
    }
    m_task.clear();
}

void CardViewModel::beginOnlineExplanation(const QString &term, const DeepSeekClient &client,
                                           int maximumCharacterCount)
{
    const quint64 generation = m_generation;
    const int max = maximumCharacterCount;
    const qsizetype hardLimit = max + kStreamSlack;
    auto buffer = std::make_shared<QString>();

    ExplanationStream *stream = client.explain(term, this);
    m_task = stream;

    auto finish = [this, generation, buffer, max] {
        if (generation != m_generation)
            return;
        setLoading(false);
        if (m_result) {
            setResultExplanation(AnswerText::readableExplanation(*buffer, max));
            updateAnswerHeight();
        }
        // Complete: the history keeps it (a regenerated answer replaces the saved one).
        m_regenerating.reset();
        recordAnswer();
    };

    connect(stream, &ExplanationStream::pieceReceived, this,
            [this, stream, generation, buffer, hardLimit, max, finish](const QString &piece) {
                if (generation != m_generation)
                    return;
                const qsizetype remaining = hardLimit - TextMetrics::graphemeCount(*buffer);
                if (remaining < 1)
                    return;
                buffer->append(TextMetrics::leftGraphemes(piece, remaining));
                if (m_result) {
                    setResultExplanation(TextMetrics::leftGraphemes(*buffer, max));
                    updateAnswerHeight();
                }
                if (TextMetrics::graphemeCount(*buffer) >= hardLimit) {
                    // Enough text: end the request and finish with what we have.
                    stream->cancel();
                    stream->deleteLater();
                    finish();
                }
            });
    connect(stream, &ExplanationStream::finished, this, [stream, finish] {
        stream->deleteLater();
        finish();
    });
    connect(stream, &ExplanationStream::failed, this,
            [this, stream, generation](const DeepSeekError &error) {
                stream->deleteLater();
                if (generation != m_generation)
                    return;
                setLoading(false);
                setErrorMessage(error.message());
                if (m_regenerating) {
                    restoreSaved();
                    return;
                }
                if (m_result && m_result->explanation.isEmpty())
                    setResultExplanation(kExplanationFailedNotice);
                if (m_result)
                    updateAnswerHeight();
            });
}

void CardViewModel::beginReverseLookup(const QString &query, const DeepSeekClient &client)
{
    setAnswerMode(AnswerMode::ReverseLookup);
    setResult(std::nullopt);
    setMatches({});
    setLoading(true);
    setExpandedHeight(CardMetrics::kReverseLookupLoadingHeight);
    setResumePresentation(Presentation::Back);
    setPresentation(Presentation::Back);

    QList<GlossaryCatalogItem> catalog;
    if (m_customGlossary)
        catalog += m_customGlossary->catalogItems();
    if (m_glossary)
        catalog += m_glossary->catalogItems();

    const quint64 generation = m_generation;
    ReverseLookupRequest *request = client.reverseLookup(query, catalog, this);
    m_task = request;

    auto fail = [this, generation, query](const DeepSeekError &error) {
        if (generation != m_generation)
            return;
        setAnswerMode(AnswerMode::Explanation);
        setLoading(false);
        setErrorMessage(error.message());
        setResult(
            ExplanationResult{query, kReverseLookupFailedNotice, ExplanationOrigin::Unavailable});
        updateAnswerHeight();
    };

    connect(request, &ReverseLookupRequest::finished, this, [this, request, generation, fail] {
        request->deleteLater();
        if (generation != m_generation)
            return;
        // The service answered but named nothing usable.
        if (request->matches().isEmpty()) {
            fail(DeepSeekError::invalidResponse());
            return;
        }
        setMatches(request->matches());
        setLoading(false);
        setExpandedHeight(CardMetrics::heightForCandidates(request->matches().size()));
    });
    connect(request, &ReverseLookupRequest::failed, this,
            [request, fail](const DeepSeekError &error) {
                request->deleteLater();
                fail(error);
            });
}

} // namespace wordlumen
