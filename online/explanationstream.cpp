#include "explanationstream.h"

#include <QPointer>

namespace wordlumen {

ExplanationStream::ExplanationStream(QObject *parent)
    : OnlineTask(parent)
{}

void ExplanationStream::consumeBody(const QByteArray &data)
{
    m_lines.append(data);
    while (const std::optional<QByteArray> line = m_lines.nextLine()) {
        if (!handleLine(*line))
            return;
    }
}

void ExplanationStream::completeBody()
{
    // The last line of a body need not end with a terminator.
    if (const std::optional<QByteArray> rest = m_lines.takeRemainder()) {
        if (!handleLine(*rest))
            return;
    }
    finish();
}

bool ExplanationStream::handleLine(const QByteArray &line)
{
    const ChatProtocol::StreamLine parsed = ChatProtocol::parseStreamLine(line);
    switch (parsed.kind) {
    case ChatProtocol::StreamLine::Kind::Ignored:
        return true;
    case ChatProtocol::StreamLine::Kind::Done:
        finish();
        return false;
    case ChatProtocol::StreamLine::Kind::Invalid:
        fail(DeepSeekError::decoding(*parsed.error));
        return false;
    case ChatProtocol::StreamLine::Kind::Piece: {
        const QPointer<ExplanationStream> self(this);
        emit pieceReceived(parsed.piece);
        // The consumer may have cancelled, or even deleted the stream.
        return self && isActive();
    }
    }
    return false;
}

} // namespace wordlumen
