// The server-sent-event decoder of a streamed explanation: the line splitter
// and the meaning of each line.
//
// The body arrives in reads of any size, so the same body is fed whole, one
// byte at a time and in uneven reads chosen from the body itself; every way
// must give the lines a plain reference splitter gives (a line ends at LF, CR
// or CR LF). What each line means is then checked for its own promises.

#include "fuzzcheck.h"
#include "online/chatprotocol.h"

#include <QList>

using namespace wordlumen;

namespace {

QList<QByteArray> referenceLines(const QByteArray &body)
{
    QList<QByteArray> lines;
    QByteArray line;
    for (qsizetype i = 0; i < body.size(); ++i) {
        const char c = body.at(i);
        if (c == '\r' || c == '\n') {
            lines.append(line);
            line.clear();
            if (c == '\r' && i + 1 < body.size() && body.at(i + 1) == '\n')
                ++i;
        } else {
            line.append(c);
        }
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

/// The lines of `body` fed in reads whose sizes come from `nextSize`.
template<typename NextSize>
QList<QByteArray> splitLines(const QByteArray &body, NextSize nextSize)
{
    ChatProtocol::LineSplitter splitter;
    QList<QByteArray> lines;
    for (qsizetype at = 0; at < body.size();) {
        const qsizetype size = std::min(nextSize(), body.size() - at);
        splitter.append(body.mid(at, size));
        at += size;
        while (const auto line = splitter.nextLine())
            lines.append(*line);
    }
    if (const auto rest = splitter.takeRemainder())
        lines.append(*rest);
    WORDLUMEN_FUZZ_CHECK(!splitter.nextLine().has_value());
    WORDLUMEN_FUZZ_CHECK(!splitter.takeRemainder().has_value());
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray body = fuzz::inputBytes(data, size);
    const QList<QByteArray> expected = referenceLines(body);

    WORDLUMEN_FUZZ_CHECK(splitLines(body, [&] { return body.size(); }) == expected);
    WORDLUMEN_FUZZ_CHECK(splitLines(body, [] { return qsizetype(1); }) == expected);
    // Uneven reads of 1 to 16 bytes, from a generator seeded by the body.
    quint32 state = qHash(body) | 1;
    const auto uneven = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return qsizetype(state % 16 + 1);
    };
    WORDLUMEN_FUZZ_CHECK(splitLines(body, uneven) == expected);

    for (const QByteArray &line : expected) {
        const ChatProtocol::StreamLine parsed = ChatProtocol::parseStreamLine(line);
        switch (parsed.kind) {
        case ChatProtocol::StreamLine::Kind::Ignored:
        case ChatProtocol::StreamLine::Kind::Done:
            WORDLUMEN_FUZZ_CHECK(parsed.piece.isEmpty() && !parsed.error);
            break;
        case ChatProtocol::StreamLine::Kind::Piece:
            WORDLUMEN_FUZZ_CHECK(line.startsWith("data:"));
            WORDLUMEN_FUZZ_CHECK(!parsed.piece.isEmpty() && !parsed.error);
            break;
        case ChatProtocol::StreamLine::Kind::Invalid:
            WORDLUMEN_FUZZ_CHECK(line.startsWith("data:"));
            WORDLUMEN_FUZZ_CHECK(parsed.piece.isEmpty() && parsed.error);
            break;
        }
    }
    return 0;
}
