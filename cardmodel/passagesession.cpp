#include "passagesession.h"

#include "cardmodellog.h"
#include "core/termkey.h"
#include "core/termspotter.h"
#include "core/textmetrics.h"
#include "online/deepseekclient.h"
#include "online/jargonsearchrequest.h"
#include "packs/customglossarystore.h"

namespace wordlumen {

namespace {

const QString kLocalLink = QStringLiteral("local:");
const QString kOnlineLink = QStringLiteral("online:");

/// The row a link of the given kind leads to, or -1.
qsizetype rowOf(const QString &link, const QString &kind)
{
    if (!link.startsWith(kind))
        return -1;
    bool ok = false;
    const qsizetype row = link.mid(kind.size()).toLongLong(&ok);
    return ok ? row : -1;
}

} // namespace

PassageSession::PassageSession(std::optional<GlossaryStore> dictionary, CustomGlossaryStore *packs,
                               ProfileProvider profileProvider, KeyProvider apiKeyProvider,
                               OnlineSettingsProvider onlineSettingsProvider, QObject *parent)
    : QObject(parent)
    , m_dictionary(std::move(dictionary))
    , m_packs(packs)
    , m_profileProvider(std::move(profileProvider))
    , m_apiKeyProvider(std::move(apiKeyProvider))
    , m_onlineSettingsProvider(std::move(onlineSettingsProvider))
    , m_terms(new PassageTermModel(this))
    , m_others(new PassageTermModel(this))
    , m_found(new PassageTermModel(this))
{}

PassageSession::~PassageSession()
{
    cancelSearch();
}

PassageSpotter &PassageSession::spotter()
{
    if (!m_spotter) {
        m_spotter = std::make_unique<PassageSpotter>(std::move(m_dictionary), m_packs.data());
        m_dictionary.reset();
        connect(m_spotter.get(), &PassageSpotter::sourcesChanged, this, [this] {
            respot();
            emit passageChanged();
        });
    }
    return *m_spotter;
}

QString PassageSession::summary() const
{
    if (m_terms->count() == 0)
        return QStringLiteral("本地词库没有认出黑话");
    return QStringLiteral("本地词库认出 %1 个 · 无需 API").arg(m_terms->count());
}

bool PassageSession::offersSearch() const
{
    return m_hasAPIKey && !m_text.isEmpty() &&
           (m_searchState == SearchState::Idle || m_searchState == SearchState::Failed);
}

QString PassageSession::searchMessage() const
{
    switch (m_searchState) {
    case SearchState::Answered:
        return m_found->count() == 0 ? QStringLiteral("没有找到其余黑话。") : QString();
    case SearchState::Failed:
        return m_searchFailure;
    case SearchState::Idle:
    case SearchState::Searching:
        break;
    }
    return {};
}

QString PassageSession::cutNotice() const
{
    if (!m_sentWasCut || m_searchState == SearchState::Idle)
        return {};
    return QStringLiteral("原文较长，只发送了前 %1 字。").arg(JargonSearch::kPassageLimit);
}

CardMetrics::PassageContent PassageSession::viewContent() const
{
    CardMetrics::PassageContent content;
    content.passageCharacters = TextMetrics::graphemeCount(m_text);
    for (const PassageTerm &term : m_terms->terms())
        content.termExplanations.append(TextMetrics::graphemeCount(term.explanation));
    for (const PassageTerm &term : m_found->terms())
        content.foundExplanations.append(TextMetrics::graphemeCount(term.explanation));
    content.searchAction = offersSearch();
    for (const QString &message : {searchMessage(), cutNotice()}) {
        if (!message.isEmpty())
            content.messages.append(message);
    }
    return content;
}

void PassageSession::setPassage(const QString &text)
{
    if (text == m_text)
        return;
    cancelSearch();
    m_text = text;
    m_found->setTerms({});
    m_foundMarks.clear();
    m_sentWasCut = false;
    setSearch(SearchState::Idle);
    respot();
    emit passageChanged();
}

void PassageSession::setAnsweredTerm(const QString &term)
{
    if (term == m_answeredTerm)
        return;
    m_answeredTerm = term;
    updateOthers();
}

void PassageSession::setHasAPIKey(bool hasKey)
{
    if (hasKey == m_hasAPIKey)
        return;
    m_hasAPIKey = hasKey;
    emit searchChanged();
}

qsizetype PassageSession::knownTermCount(QStringView text)
{
    return PassageTerms::distinct(spotter().spot(text)).size();
}

void PassageSession::respot()
{
    m_spotted = m_text.isEmpty() ? QList<SpottedTerm>() : spotter().spot(m_text);
    m_terms->setTerms(PassageTerms::distinct(m_spotted));
    updateOthers();
    updateMarks();
}

void PassageSession::updateOthers()
{
    const QList<PassageTerm> others = PassageTerms::others(m_terms->terms(), m_answeredTerm);
    if (others == m_others->terms())
        return;
    m_others->setTerms(others);
    emit othersChanged();
}

void PassageSession::updateMarks()
{
    QList<PassageMarkup::Mark> marks;
    const QList<PassageTerm> &terms = m_terms->terms();
    for (const SpottedTerm &hit : std::as_const(m_spotted)) {
        const QString key = termKey(hit.term);
        for (qsizetype row = 0; row < terms.size(); ++row) {
            if (termKey(terms[row].term) == key) {
                marks.append({hit.start, hit.length, kLocalLink + QString::number(row)});
                break;
            }
        }
    }
    const QString marked =
        PassageMarkup::styledText(m_text, PassageMarkup::merged(marks, m_foundMarks));
    if (marked == m_markedText)
        return;
    m_markedText = marked;
    emit markedTextChanged();
}

QString PassageSession::termOfLink(const QString &link) const
{
    if (const qsizetype row = rowOf(link, kLocalLink); row >= 0 && row < m_terms->count())
        return m_terms->terms()[row].term;
    if (const qsizetype row = rowOf(link, kOnlineLink); row >= 0 && row < m_found->count())
        return m_found->terms()[row].term;
    return {};
}

void PassageSession::setSearch(SearchState state, const QString &failure)
{
    if (state == m_searchState && failure == m_searchFailure)
        return;
    m_searchState = state;
    m_searchFailure = failure;
    emit searchChanged();
}

void PassageSession::search()
{
    if (m_text.isEmpty() || m_searchState == SearchState::Searching)
        return;
    cancelSearch();
    const QString key = m_apiKeyProvider();
    if (key.isEmpty()) {
        setHasAPIKey(false);
        return;
    }
    const Result<DeepSeekClient, DeepSeekError> client = DeepSeekClient::build(
        m_onlineSettingsProvider(), key, m_profileProvider(), DeepSeekClient::sharedSession());
    if (!client) {
        setSearch(SearchState::Failed, client.error().message());
        return;
    }

    m_found->setTerms({});
    m_foundMarks.clear();
    updateMarks();
    m_sentWasCut = JargonSearch::isCut(m_text);
    const quint64 generation = m_generation;
    JargonSearchRequest *request =
        client->findJargon(m_text, PassageTerms::knownNames(m_terms->terms()), this);
    m_request = request;
    qCDebug(lcCardModel) << "asking the service for the passage's other jargon";
    setSearch(SearchState::Searching);

    connect(request, &JargonSearchRequest::finished, this, [this, request, generation] {
        request->deleteLater();
        if (generation != m_generation)
            return;
        m_found->setTerms(unknownLocally(request->terms()));
        // Each term found is marked where the passage holds it, apart from the local ones.
        TermSpotter::Builder builder;
        for (qsizetype row = 0; row < m_found->count(); ++row)
            builder.add(termKey(m_found->terms()[row].term), row);
        for (const TermSpotter::Hit &hit : builder.build().spot(m_text))
            m_foundMarks.append({hit.start, hit.length, kOnlineLink + QString::number(hit.target)});
        updateMarks();
        setSearch(SearchState::Answered);
    });
    connect(request, &JargonSearchRequest::failed, this,
            [this, request, generation](const DeepSeekError &error) {
                request->deleteLater();
                if (generation != m_generation)
                    return;
                setSearch(SearchState::Failed, error.message());
            });
}

void PassageSession::cancelSearch()
{
    ++m_generation;
    if (m_request) {
        m_request->disconnect(this);
        m_request->cancel();
        m_request->deleteLater();
    }
    m_request.clear();
    if (m_searchState == SearchState::Searching)
        setSearch(SearchState::Idle);
}

QList<PassageTerm> PassageSession::unknownLocally(const QList<FoundJargon> &found)
{
    QList<PassageTerm> terms;
    for (const FoundJargon &jargon : found) {
        const QList<SpottedTerm> hits = spotter().spot(jargon.term);
        const bool known = hits.size() == 1 && hits.first().start == 0 &&
                           hits.first().length == jargon.term.size();
        if (!known)
            terms.append({jargon.term, jargon.term, jargon.term, jargon.explanation,
                          ExplanationOrigin::DeepSeek});
    }
    return terms;
}

} // namespace wordlumen
