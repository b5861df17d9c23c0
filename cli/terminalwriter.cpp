#include "terminalwriter.h"

#include <clocale>
#include <cwchar>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace wordlumen::cli {

namespace {

int terminalColumns()
{
#ifdef Q_OS_UNIX
    winsize size{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
#endif
    return 80;
}

// Terminal cells a text takes: Chinese characters take two, combining marks none.
int displayWidth(const QString &text)
{
    int width = 0;
    for (const char32_t c : text.toUcs4()) {
        const int w = ::wcwidth(static_cast<wchar_t>(c));
        width += w < 0 ? 1 : w;
    }
    return width;
}

} // namespace

TerminalWriter::TerminalWriter(CliContext &context)
    : m_context(context)
{
    std::setlocale(LC_CTYPE, "");
}

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
    const int columns = terminalColumns();
    const int rows = std::max(1, (displayWidth(m_streamed) + columns - 1) / columns);
    if (rows > 1)
        m_context.out << "\033[" << rows - 1 << 'A';
    m_context.out << "\r\033[J";
    m_streamed.clear();
}

} // namespace wordlumen::cli
