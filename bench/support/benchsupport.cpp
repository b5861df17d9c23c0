#include "bench/support/benchsupport.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace wordlumen::bench {

void runOnVirtualDisplay(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        return;
    }
    std::vector<char *> args{const_cast<char *>("xvfb-run"), const_cast<char *>("-a"),
                             const_cast<char *>("-s"), const_cast<char *>("-screen 0 1440x900x24")};
    for (int i = 0; i < argc; ++i) {
        args.push_back(argv[i]);
    }
    args.push_back(nullptr);
    execvp("xvfb-run", args.data());
    std::perror("xvfb-run");
    std::exit(2);
}

int intOption(const QStringList &arguments, const QString &name, int fallback)
{
    const qsizetype i = arguments.indexOf(name);
    bool ok = false;
    const int value = i > 0 ? arguments.value(i + 1).toInt(&ok) : 0;
    return ok ? value : fallback;
}

} // namespace wordlumen::bench
