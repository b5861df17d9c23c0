#pragma once

#include "core/glossaryentry.h"
#include "core/result.h"
#include "deepseekerror.h"
#include "explanationpromptprofile.h"
#include "explanationstream.h"
#include "jargonsearchrequest.h"
#include "onlinesettings.h"
#include "reverselookuprequest.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <chrono>
#include <optional>

class QNetworkAccessManager;
class QNetworkRequest;

namespace wordlumen {

/**
 * A chat-completions client: a plain value built for each request from the
 * stored settings, the key and the current prompt profile, and dropped
 * afterwards. It keeps no state between requests.
 *
 * Both operations refuse, before any byte is sent, an endpoint that
 * EndpointRule refuses: the key is a bearer token and never crosses a network
 * in clear text.
 */
struct DeepSeekClient
{
    QUrl endpoint;
    QString model;
    QString apiKey;
    ExplanationPromptProfile promptProfile;
    /// The HTTP session to send with; nullptr means sharedSession().
    QNetworkAccessManager *session = nullptr;
    /// A transfer with no data for this long fails (it is not a cancellation).
    std::chrono::milliseconds transferTimeout{60000};

    bool operator==(const DeepSeekClient &) const = default;

    /**
     * The client for one request: the stored settings, the key and the
     * profile, sending with `session`. Fails with the endpoint rule's error
     * when the endpoint text does not give a URL the key may go to.
     */
    [[nodiscard]] static Result<DeepSeekClient, DeepSeekError>
    build(const OnlineSettings &settings, const QString &apiKey,
          const ExplanationPromptProfile &profile, QNetworkAccessManager &session);

    /**
     * Starts streaming an explanation of `term` at once (see OnlineTask for
     * what it reports and when). The caller owns the stream, through `parent`
     * or directly; deleting it cancels it.
     */
    [[nodiscard]] ExplanationStream *explain(const QString &term, QObject *parent = nullptr) const;

    /**
     * Asks for up to three candidate terms for a plain-language description,
     * offering `catalog` (only its leading part is sent, see reverseLookupPrompt).
     */
    [[nodiscard]] ReverseLookupRequest *reverseLookup(const QString &description,
                                                      const QList<GlossaryCatalogItem> &catalog,
                                                      QObject *parent = nullptr) const;

    /**
     * Asks for the jargon of `passage` that the local sources missed: the
     * passage as written, cut to JargonSearch::kPassageLimit characters, and
     * `knownNames`, the names already explained, which the service is told to
     * skip and which are never shown as found.
     */
    [[nodiscard]] JargonSearchRequest *findJargon(const QString &passage,
                                                  const QStringList &knownNames,
                                                  QObject *parent = nullptr) const;

    /// The request body of an explanation of `term`.
    [[nodiscard]] QByteArray explanationRequestBody(const QString &term) const;
    /// The request body of a reverse lookup.
    [[nodiscard]] QByteArray
    reverseLookupRequestBody(const QString &description,
                             const QList<GlossaryCatalogItem> &catalog) const;

    /// The request body of a jargon search (the passage already cut).
    [[nodiscard]] QByteArray jargonSearchRequestBody(const QString &sentPassage,
                                                     const QStringList &knownNames) const;

    /**
     * The system prompt of a reverse lookup: fixed rules (722 bytes of UTF-8),
     * then one line per catalogue item, for at most the first 200 items and
     * each item's first 6 aliases.
     */
    [[nodiscard]] static QString reverseLookupPrompt(const QList<GlossaryCatalogItem> &catalog);

    /**
     * The UTF-8 bytes from the first "{" to the last "}" of a text, so a JSON
     * object survives prose or a code fence around it. Nothing when either brace
     * is missing or they are out of order; balance is not checked.
     */
    [[nodiscard]] static std::optional<QByteArray> extractJSONObject(const QString &text);

    /**
     * The one process-wide HTTP session, with a 60-second transfer timeout.
     * Made on first use; destroyed as the application object begins to be
     * destroyed, while that still exists.
     */
    [[nodiscard]] static QNetworkAccessManager &sharedSession();

private:
    [[nodiscard]] QNetworkRequest request() const;
    [[nodiscard]] QNetworkAccessManager &sessionToUse() const;
};

} // namespace wordlumen
