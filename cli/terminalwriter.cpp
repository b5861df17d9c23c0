#include "terminalwriter.h"

#include "core/textmetrics.h"
#include "terminal.h"

#include <algorithm>

namespace wordlumen::cli {

TerminalWriter::TerminalWriter(CliContext &context)
    : m_context(context)
{}

void TerminalWriter::showStreaming(const QString &term, const QString &text)
{
    if (!m_context.outIsTerminal)
        return;
    if (!m_termShown) {
        m_context.out << term << '\n';
        m_termShown = true;
    }
    if (text.startsWith(m_streamed)) {
        m_context.out << text.mid(m_streamed.size());
    } else {
        eraseStreamedText();
        m_context.out << text;
    }
    m_streamed = text;
    m_context.out.flush();
}

void TerminalWriter::showFinal(const QString &term, const QString &text)
{
    if (!m_termShown) {
        m_context.out << term << '\n' << text << '\n';
        m_context.out.flush();
        return;
    }
    if (text != m_streamed) {
        eraseStreamedText();
        m_context.out << text;
    }
    m_context.out << '\n';
    m_context.out.flush();
    m_streamed.clear();
}

void TerminalWriter::eraseStreamedText()
{
    // Back to the first row of the streamed text, then clear to the end of the screen.
    const qsizetype columns = Terminal::columns();
    const qsizetype rows =
        std::max<qsizetype>(1, (TextMetrics::displayWidth(m_streamed) + columns - 1) / columns);
    if (rows > 1)
        m_context.out << "\033[" << rows - 1 << 'A';
    m_context.out << "\r\033[J";
    m_streamed.clear();
}

} // namespace wordlumen::cli
