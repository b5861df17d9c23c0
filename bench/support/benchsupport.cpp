#include "bench/support/benchsupport.h"

#include <QProcess>
#include <QStringList>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace wordlumen::bench {

void runOnVirtualDisplay(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        return;
    }
    // The same benchmark again, on a display of its own; its output is ours.
    QStringList arguments{QStringLiteral("-a"), QStringLiteral("-s"),
                          QStringLiteral("-screen 0 1440x900x24")};
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const int status = QProcess::execute(QStringLiteral("xvfb-run"), arguments);
    if (status < 0) {
        std::fputs("xvfb-run: cannot start it (Debian: apt-get install xvfb)\n", stderr);
        std::exit(2);
    }
    std::exit(status);
}

int intOption(const QStringList &arguments, const QString &name, int fallback)
{
    const qsizetype i = arguments.indexOf(name);
    bool ok = false;
    const int value = i > 0 ? arguments.value(i + 1).toInt(&ok) : 0;
    return ok ? value : fallback;
}

} // namespace wordlumen::bench
