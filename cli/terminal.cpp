#include "terminal.h"

#include <QFile>

#include <cstdio>

#if defined(Q_OS_UNIX)
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace wordlumen::cli::Terminal {

namespace {

constexpr int kDefaultColumns = 80;

QByteArray readLine()
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return {};
    // A line is one answer; whatever follows it is not part of it.
    return input.readLine();
}

} // namespace

#if defined(Q_OS_UNIX)

bool outputIsTerminal()
{
    return isatty(fileno(stdout)) != 0;
}

bool inputIsTerminal()
{
    return isatty(fileno(stdin)) != 0;
}

int columns()
{
    winsize size{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return kDefaultColumns;
}

QByteArray readLineWithoutEcho()
{
    termios saved{};
    const bool hidden = inputIsTerminal() && tcgetattr(fileno(stdin), &saved) == 0;
    if (hidden) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(fileno(stdin), TCSAFLUSH, &quiet);
    }
    const QByteArray line = readLine();
    if (hidden)
        tcsetattr(fileno(stdin), TCSAFLUSH, &saved);
    return line;
}

#else

bool outputIsTerminal()
{
    return false;
}

bool inputIsTerminal()
{
    return false;
}

int columns()
{
    return kDefaultColumns;
}

QByteArray readLineWithoutEcho()
{
    return readLine();
}

#endif

} // namespace wordlumen::cli::Terminal
