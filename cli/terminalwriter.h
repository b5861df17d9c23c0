#pragma once

#include "cliverb.h"

namespace wordlumen::cli {

/**
 * Writes an answer that may stream in. On a terminal the text grows in place
 * while it arrives and is then replaced by the final text (which may be cut
 * shorter); elsewhere only the final text is written, once.
 */
class TerminalWriter final
{
public:
    explicit TerminalWriter(CliContext &context);

    /// The answer so far; written only on a terminal.
    void showStreaming(const QString &term, const QString &text);
    /// The finished answer.
    void showFinal(const QString &term, const QString &text);

private:
    void eraseStreamedText();

    CliContext &m_context;
    bool m_termShown = false;
    QString m_streamed;
};

} // namespace wordlumen::cli
