#pragma once

#include "cardmodel/cardmetrics.h"
#include "cardmodel/historyrecorder.h"
#include "cardmodel/passagesession.h"
#include "cardmodel/queryrecall.h"
#include "cardmodel/reverselookupmatchmodel.h"
#include "core/explanationresult.h"
#include "core/glossarystore.h"
#include "core/reverselookupmatch.h"
#include "online/explanationpromptprofile.h"
#include "online/onlinesettings.h"

#include <QObject>
#include <QPointer>
#include <QVariant>

#include <functional>
#include <optional>

namespace wordlumen {

class CustomGlossaryStore;
struct DeepSeekClient;
class OnlineTask;

/**
 * The single source of truth behind the floating card: what the user typed,
 * which face shows, the answer or the reverse-lookup candidates, the height the
 * open card wants, whether online work runs, and the one-line message.
 *
 * `explain` runs the lookup pipeline: enabled packs first, then the built-in
 * dictionary, then (only with a stored key) the online service. Local answers
 * show at once; online work streams in through a task that can be cancelled,
 * and a cancelled task never changes anything afterwards.
 *
 * Lives on the main thread. Views bind to its properties and call its
 * operations; they decide nothing themselves.
 */
class CardViewModel final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CardViewModel)

    Q_PROPERTY(QString query READ query WRITE setQuery NOTIFY queryChanged)
    /// The answer on the back face, field by field; empty texts without one.
    Q_PROPERTY(bool hasResult READ hasResult NOTIFY resultChanged)
    Q_PROPERTY(QString resultTitle READ resultTitle NOTIFY resultChanged)
    Q_PROPERTY(QString resultExplanation READ resultExplanation NOTIFY resultChanged)
    Q_PROPERTY(wordlumen::ExplanationOrigin resultOrigin READ resultOrigin NOTIFY resultChanged)
    /// The answer is a notice that only the online service could go beyond.
    Q_PROPERTY(bool offersApiSetup READ offersApiSetup NOTIFY resultChanged)
    /// Online work runs and nothing of its answer (text or candidates) is there yet.
    Q_PROPERTY(bool showsPlaceholder READ showsPlaceholder NOTIFY showsPlaceholderChanged)
    Q_PROPERTY(AnswerMode answerMode READ answerMode NOTIFY answerModeChanged)
    Q_PROPERTY(QObject *reverseLookupMatches READ matchModel CONSTANT)
    /// The passage of the last lookup: the answer's row of its other terms and the passage view.
    Q_PROPERTY(wordlumen::PassageSession *passage READ passage CONSTANT)
    Q_PROPERTY(Presentation presentation READ presentation WRITE setPresentation NOTIFY
                   presentationChanged)
    Q_PROPERTY(
        Presentation resumePresentation READ resumePresentation NOTIFY resumePresentationChanged)
    Q_PROPERTY(double expandedHeight READ expandedHeight NOTIFY expandedHeightChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)
    Q_PROPERTY(bool hasAPIKey READ hasAPIKey NOTIFY hasAPIKeyChanged)
    /// The front face's footer: where answers can come from.
    Q_PROPERTY(QString sourcesLine READ sourcesLine NOTIFY hasAPIKeyChanged)
    /// The lookup history's side of the answer shown (its star, the saved mark); null without one.
    Q_PROPERTY(wordlumen::HistoryRecorder *history READ history NOTIFY historyChanged)
    /// The answer shown is a saved online answer, which 「重新生成」 asks the service for again.
    Q_PROPERTY(bool canRegenerate READ canRegenerate NOTIFY canRegenerateChanged)

public:
    enum class Presentation
    {
        Collapsed,
        Front,
        Back,
        Settings
    };
    Q_ENUM(Presentation)
    enum class AnswerMode
    {
        Explanation,
        ReverseLookup,
        /// Every term of the passage, on the back face (see PassageSession).
        Passage
    };
    Q_ENUM(AnswerMode)

    using ProfileProvider = std::function<ExplanationPromptProfile()>;
    using KeyProvider = std::function<QString()>;
    using OnlineSettingsProvider = std::function<OnlineSettings()>;

    /**
     * `glossary` is the built-in dictionary, absent when it failed to load;
     * `customGlossary` is the shared pack library (may be null). The providers
     * are read each time they are needed, so a changed style, key or endpoint
     * takes effect at the next query; a lookup that a pack or, for the plain
     * audience, the dictionary answers never reads the key. Empty providers get
     * the process defaults: the stored profile, the keyring and the stored
     * endpoint and model.
     */
    CardViewModel(std::optional<GlossaryStore> glossary, CustomGlossaryStore *customGlossary,
                  ProfileProvider profileProvider = {}, KeyProvider apiKeyProvider = {},
                  OnlineSettingsProvider onlineSettingsProvider = {}, QObject *parent = nullptr);
    ~CardViewModel() override;

    [[nodiscard]] QString query() const { return m_query; }
    void setQuery(const QString &query);

    [[nodiscard]] const std::optional<ExplanationResult> &result() const { return m_result; }
    [[nodiscard]] bool hasResult() const { return m_result.has_value(); }
    /// The answer's title as shown: without full-width parenthesised parts.
    [[nodiscard]] QString resultTitle() const;
    [[nodiscard]] QString resultExplanation() const;
    /// Unavailable when there is no answer.
    [[nodiscard]] ExplanationOrigin resultOrigin() const;
    [[nodiscard]] bool offersApiSetup() const;
    [[nodiscard]] bool showsPlaceholder() const { return m_showsPlaceholder; }
    [[nodiscard]] AnswerMode answerMode() const { return m_answerMode; }
    [[nodiscard]] const QList<ReverseLookupMatch> &reverseLookupMatches() const;
    [[nodiscard]] ReverseLookupMatchModel *matchModel() const { return m_matchModel; }
    [[nodiscard]] PassageSession *passage() const { return m_passage; }
    [[nodiscard]] Presentation presentation() const { return m_presentation; }
    [[nodiscard]] Presentation resumePresentation() const { return m_resumePresentation; }
    [[nodiscard]] double expandedHeight() const { return m_expandedHeight; }
    [[nodiscard]] bool isLoading() const { return m_isLoading; }
    [[nodiscard]] QString errorMessage() const { return m_errorMessage; }
    [[nodiscard]] bool hasAPIKey() const { return m_hasAPIKey; }
    [[nodiscard]] QString sourcesLine() const;
    [[nodiscard]] HistoryRecorder *history() const { return m_history; }
    [[nodiscard]] bool canRegenerate() const;

    /**
     * The lookup history the card records into and reads saved answers and
     * recent queries from; null (the default) for none. A typed term whose
     * saved online answer came from the same service in the same style is
     * shown from the history instead of being asked for again.
     */
    void setHistory(HistoryRecorder *history);

    /// The views open the collapsed card by setting the face it should resume.
    void setPresentation(Presentation presentation);

    /// Runs the lookup pipeline on the current query.
    Q_INVOKABLE void explain();
    /// Explains a chosen reverse-lookup candidate like a typed term.
    void selectReverseLookup(const ReverseLookupMatch &match);
    Q_INVOKABLE void selectReverseLookup(int row);
    /// Explains a term of the passage (a chip, a row, a mark) like a typed term;
    /// the passage stays, so the row then offers the passage's other terms.
    Q_INVOKABLE void explainPassageTerm(const QString &term);
    /// Turns to the passage view of the last lookup's passage (the row's "+N").
    Q_INVOKABLE void showPassage();
    /// Opens the passage view on `text` directly (a selected passage): a new
    /// lookup, so the answer and any online work before it are gone.
    void openPassage(const QString &text);
    /// A selected text (the shortcut, `--selection`): a passage opens the
    /// passage view, a term or a description is looked up as if typed
    /// (SelectionText::readsAsPassage decides).
    void lookUpSelection(const QString &selection);
    /// Leaves the passage view: back to the answer it was opened from, or to
    /// the front face when it was opened directly. Stops the online search.
    Q_INVOKABLE void leavePassage();
    /// Stops online work and returns to the input face, keeping query and answer.
    Q_INVOKABLE void flipToFront();
    /// Like flipToFront, then clears the query and the answer.
    Q_INVOKABLE void startOver();
    /// Folds the card into the trigger, remembering the face; online work goes on.
    Q_INVOKABLE void collapse();
    /// Opens the collapsed card on the face it was left on.
    Q_INVOKABLE void expand();
    /// The gear button and the "接上 API" action.
    Q_INVOKABLE void openSettings();
    /// Leaving the settings face.
    Q_INVOKABLE void closeSettings();
    /// Re-reads whether a key is stored (after the API settings changed).
    Q_INVOKABLE void refreshHasAPIKey();

    /// Shows a saved answer of the history at once, without a request, marked as saved.
    void openSaved(const HistoryEntry &entry);
    /// Asks the service again for the saved online answer shown; cancelling keeps the saved text.
    Q_INVOKABLE void regenerate();
    /// Up and Down in the front face's input: walk the recent queries. False when the key does
    /// nothing here.
    Q_INVOKABLE bool recallOlder();
    Q_INVOKABLE bool recallNewer();

signals:
    void queryChanged();
    void resultChanged();
    void answerModeChanged();
    void presentationChanged();
    void resumePresentationChanged();
    void expandedHeightChanged();
    void isLoadingChanged();
    void errorMessageChanged();
    void hasAPIKeyChanged();
    void showsPlaceholderChanged();
    void historyChanged();
    void canRegenerateChanged();

private:
    /// Puts a recalled query into the input; false when the walk had none.
    bool showRecalled(const std::optional<QString> &text);
    void setResult(std::optional<ExplanationResult> result);
    void setResultExplanation(const QString &explanation);
    void setAnswerMode(AnswerMode mode);
    void setMatches(const QList<ReverseLookupMatch> &matches);
    void setResumePresentation(Presentation presentation);
    void setExpandedHeight(double height);
    void setLoading(bool loading);
    void setErrorMessage(const QString &message);
    void setHasAPIKey(bool hasKey);
    void updateShowsPlaceholder();

    void showExplanation(const QString &term, const QString &explanation, ExplanationOrigin origin,
                         int maximumCharacterCount);
    /// Sizes the card for the answer as it is now (explanation mode).
    void updateAnswerHeight();
    void cancelRequest();
    /// The query's passage and the entry its answer is about, for the row.
    void notePassage(const QString &query, const QString &answeredTerm);
    void updatePassageHeight();
    void beginOnlineExplanation(const QString &term, const DeepSeekClient &client,
                                int maximumCharacterCount);
    void beginReverseLookup(const QString &query, const DeepSeekClient &client);
    /// Hands the complete answer shown to the history.
    void recordAnswer();
    /// Shows `entry` as a saved answer; `lookup` counts it as one when it was looked up again.
    void showSaved(const HistoryEntry &entry, const std::optional<HistoryRecorder::Lookup> &lookup);
    /// A regeneration that did not complete: the saved answer shows again.
    void restoreSaved();

    std::optional<GlossaryStore> m_glossary;
    QPointer<CustomGlossaryStore> m_customGlossary;
    ProfileProvider m_profileProvider;
    KeyProvider m_apiKeyProvider;
    OnlineSettingsProvider m_onlineSettingsProvider;

    QString m_query;
    std::optional<ExplanationResult> m_result;
    AnswerMode m_answerMode = AnswerMode::Explanation;
    ReverseLookupMatchModel *m_matchModel = nullptr;
    PassageSession *m_passage = nullptr;
    // Set while a term chosen from the passage is explained: the passage stays.
    bool m_keepPassage = false;
    Presentation m_presentation = Presentation::Collapsed;
    Presentation m_resumePresentation = Presentation::Front;
    double m_expandedHeight = CardMetrics::kDefaultHeight;
    bool m_isLoading = false;
    QString m_errorMessage;
    bool m_hasAPIKey = false;
    bool m_showsPlaceholder = false;

    QPointer<HistoryRecorder> m_history;
    // What the running (or last) lookup knew when it began, for its recording.
    HistoryRecorder::Lookup m_lookup;
    // The description a chosen candidate came from, for the next lookup.
    QString m_pendingContext;
    // The saved answer being regenerated, shown again if that does not complete.
    std::optional<HistoryEntry> m_regenerating;
    QueryRecall m_recall;

    // The one tracked online task. Cancelling disconnects it and bumps the
    // generation, so nothing it reports later can reach the published state.
    QPointer<OnlineTask> m_task;
    quint64 m_generation = 0;
};

using CardPresentation = CardViewModel::Presentation;
using CardAnswerMode = CardViewModel::AnswerMode;

} // namespace wordlumen
