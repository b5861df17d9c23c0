#pragma once

#include "chatprotocol.h"
#include "onlinetask.h"

#include <QString>

namespace wordlumen {

/**
 * One streamed explanation, started by DeepSeekClient::explain(). Pieces are
 * emitted as their lines arrive on the socket, then finished() or failed().
 * A body that ends without "[DONE]" still finishes normally; a line that is
 * not a valid chunk fails with its decoding error, after the pieces before it.
 */
class ExplanationStream final : public OnlineTask
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ExplanationStream)

public:
    ~ExplanationStream() override = default;

signals:
    /// A non-empty piece of the answer; the pieces in order are the answer.
    void pieceReceived(const QString &piece);

private:
    friend struct DeepSeekClient;

    explicit ExplanationStream(QObject *parent);

    void consumeBody(const QByteArray &data) override;
    void completeBody() override;
    /// Handles one line; false when the stream ended or this object is gone.
    [[nodiscard]] bool handleLine(const QByteArray &line);

    ChatProtocol::LineSplitter m_lines;
};

} // namespace wordlumen
