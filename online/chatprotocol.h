#pragma once

// The wire format of the chat-completions protocol: request bodies, the
// server-sent-event lines of a streamed reply and the reverse-lookup reply.
// Used by the client's requests; kept apart so each rule sits in one place.

#include "chatdecodingerror.h"
#include "core/reverselookupmatch.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

namespace wordlumen::ChatProtocol {

/**
 * The service's own hosts get "thinking": {"type": "disabled"}; other
 * compatible services would reject or misread the key, so it is left out.
 */
[[nodiscard]] bool sendsThinkingSwitch(const QUrl &endpoint);

/// The compact JSON body of one request: a system and a user message.
[[nodiscard]] QByteArray requestBody(const QString &model, const QString &systemPrompt,
                                     const QString &userContent, bool stream, double temperature,
                                     bool thinkingSwitch);

/**
 * Splits a byte stream into lines at LF, CR or CR LF (one terminator, even when
 * the CR and the LF arrive in different reads). Lines come without terminators.
 */
class LineSplitter
{
public:
    void append(const QByteArray &data);
    /// The next complete line, or nothing until more data arrives.
    [[nodiscard]] std::optional<QByteArray> nextLine();
    /// At the end of the body: the last line when it had no terminator.
    [[nodiscard]] std::optional<QByteArray> takeRemainder();

private:
    QByteArray m_buffer;
    qsizetype m_position = 0;
    /// The last terminator seen was a CR at the very end of the data so far.
    bool m_pendingCarriageReturn = false;
};

/// What one line of a streamed reply means.
struct StreamLine
{
    enum class Kind
    {
        Ignored, ///< not a "data:" line, or a chunk without text
        Done,    ///< the "[DONE]" terminator
        Piece,   ///< a chunk whose first choice carries text
        Invalid, ///< a "data:" line that is not a valid chunk; ends the stream
    };
    Kind kind = Kind::Ignored;
    QString piece;
    std::optional<ChatDecodingError> error;
};

[[nodiscard]] StreamLine parseStreamLine(const QByteArray &line);

/// The first choice's message content of a non-streamed reply: nothing when
/// there is no choice or the content is absent or null.
struct ChatResponseContent
{
    std::optional<QString> content;
    std::optional<ChatDecodingError> error;
};
[[nodiscard]] ChatResponseContent decodeChatResponse(const QByteArray &body);

/// The reverse-lookup matches of an extracted JSON object; nothing when undecodable.
[[nodiscard]] std::optional<QList<ReverseLookupMatch>> decodeMatches(const QByteArray &json);

/**
 * Trims every match, drops those without a term or a reason and repeats of a
 * term (case-insensitive, after trimming), and keeps the first three.
 */
[[nodiscard]] QList<ReverseLookupMatch> cleanedMatches(const QList<ReverseLookupMatch> &matches);

} // namespace wordlumen::ChatProtocol
