#pragma once

#include "cardmodel/cardmetrics.h"
#include "cardmodel/passagemarkup.h"
#include "cardmodel/passagespotter.h"
#include "cardmodel/passagetermmodel.h"
#include "cardmodel/passageterms.h"
#include "core/glossarystore.h"
#include "online/explanationpromptprofile.h"
#include "online/jargonsearch.h"
#include "online/onlinesettings.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

namespace wordlumen {

class CustomGlossaryStore;
class JargonSearchRequest;

/**
 * The passage the card last looked something up in, and what it knows of it:
 * every known term, in order of appearance (the passage view's list), the
 * terms besides the one the answer is about (the answer's row), the passage
 * with its terms marked, and what the online service found besides them.
 *
 * The terms come from the local sources, enabled packs first, then the
 * dictionary (PassageSpotter). When the sources change, an imported pack say,
 * the passage is spotted again at once, and the row and the list follow.
 *
 * The online search ("找出其余黑话") is one request, with a key, that can be
 * cancelled like every online request: nothing it reports after cancelSearch()
 * or a new passage reaches the published state.
 *
 * Lives on the main thread, inside the card's view model.
 */
class PassageSession final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PassageSession)

    Q_PROPERTY(QString text READ text NOTIFY passageChanged)
    /// The passage as styled text with every term a link (see termOfLink).
    Q_PROPERTY(QString markedText READ markedText NOTIFY markedTextChanged)
    /// Every term, one per entry, in order of appearance.
    Q_PROPERTY(wordlumen::PassageTermModel *terms READ terms CONSTANT)
    /// The terms the answer's row offers: all but the answered one.
    Q_PROPERTY(wordlumen::PassageTermModel *others READ others CONSTANT)
    /// What the online search found, in its order.
    Q_PROPERTY(wordlumen::PassageTermModel *found READ found CONSTANT)
    /// The passage view's source line.
    Q_PROPERTY(QString summary READ summary NOTIFY passageChanged)
    Q_PROPERTY(SearchState searchState READ searchState NOTIFY searchChanged)
    /// "找出其余黑话" is offered: a key is stored, the passage is not empty and
    /// no search runs or has answered for it.
    Q_PROPERTY(bool offersSearch READ offersSearch NOTIFY searchChanged)
    /// The line under the search: that nothing was found (an answer), or why it failed.
    Q_PROPERTY(QString searchMessage READ searchMessage NOTIFY searchChanged)
    /// Said when only the first part of a long passage was sent.
    Q_PROPERTY(QString cutNotice READ cutNotice NOTIFY searchChanged)

public:
    enum class SearchState
    {
        Idle,      ///< nothing asked for this passage
        Searching, ///< the request runs
        Answered,  ///< the service answered; found() holds what it named, maybe nothing
        Failed,    ///< the request failed; searchMessage() says why
    };
    Q_ENUM(SearchState)

    using ProfileProvider = std::function<ExplanationPromptProfile()>;
    using KeyProvider = std::function<QString()>;
    using OnlineSettingsProvider = std::function<OnlineSettings()>;

    /**
     * `packs` may be null. The spotter is built on first use, not here: the
     * card's view model is made on the way to the card's first frame. The
     * providers are read when a search starts, as for every online request.
     */
    PassageSession(std::optional<GlossaryStore> dictionary, CustomGlossaryStore *packs,
                   ProfileProvider profileProvider, KeyProvider apiKeyProvider,
                   OnlineSettingsProvider onlineSettingsProvider, QObject *parent = nullptr);
    ~PassageSession() override;

    [[nodiscard]] QString text() const { return m_text; }
    [[nodiscard]] QString markedText() const { return m_markedText; }
    [[nodiscard]] PassageTermModel *terms() const { return m_terms; }
    [[nodiscard]] PassageTermModel *others() const { return m_others; }
    [[nodiscard]] PassageTermModel *found() const { return m_found; }
    [[nodiscard]] QString summary() const;
    [[nodiscard]] SearchState searchState() const { return m_searchState; }
    [[nodiscard]] bool offersSearch() const;
    [[nodiscard]] QString searchMessage() const;
    [[nodiscard]] QString cutNotice() const;
    /// What the passage view shows, for the card's height.
    [[nodiscard]] CardMetrics::PassageContent viewContent() const;
    /// Every term spotted, each mention, in order.
    [[nodiscard]] const QList<SpottedTerm> &spotted() const { return m_spotted; }

    /**
     * Spots `text` as the passage; a different passage forgets the online
     * search's answer (and cancels one that runs). The answered term is kept.
     */
    void setPassage(const QString &text);
    /// The title of the entry the answer is about; empty when there is no answer.
    void setAnsweredTerm(const QString &term);
    /// Whether a key is stored (the view model tells, as it learns it).
    void setHasAPIKey(bool hasKey);

    /// How many different known terms `text` holds (for telling a passage from a query).
    [[nodiscard]] qsizetype knownTermCount(QStringView text);

    /// Starts the online search for the passage's other jargon.
    Q_INVOKABLE void search();
    /// Stops the search; it reports nothing afterwards.
    void cancelSearch();
    /// The entry title a link of markedText() leads to; empty for anything else.
    Q_INVOKABLE [[nodiscard]] QString termOfLink(const QString &link) const;

signals:
    void passageChanged();
    void markedTextChanged();
    void searchChanged();
    /// The answer's row changed (a new passage, a new answer, changed sources).
    void othersChanged();

private:
    PassageSpotter &spotter();
    void respot();
    void updateOthers();
    void updateMarks();
    void setSearch(SearchState state, const QString &failure = {});
    /// The found terms the local sources know after all are not "missed".
    [[nodiscard]] QList<PassageTerm> unknownLocally(const QList<FoundJargon> &found);

    std::optional<GlossaryStore> m_dictionary;
    QPointer<CustomGlossaryStore> m_packs;
    ProfileProvider m_profileProvider;
    KeyProvider m_apiKeyProvider;
    OnlineSettingsProvider m_onlineSettingsProvider;
    std::unique_ptr<PassageSpotter> m_spotter;

    QString m_text;
    QString m_answeredTerm;
    QList<SpottedTerm> m_spotted;
    QList<PassageMarkup::Mark> m_foundMarks;
    QString m_markedText;
    PassageTermModel *m_terms = nullptr;
    PassageTermModel *m_others = nullptr;
    PassageTermModel *m_found = nullptr;

    bool m_hasAPIKey = false;
    SearchState m_searchState = SearchState::Idle;
    QString m_searchFailure;
    bool m_sentWasCut = false;
    QPointer<JargonSearchRequest> m_request;
    quint64 m_generation = 0;
};

} // namespace wordlumen
