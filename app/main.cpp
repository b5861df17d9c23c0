#include "app/shell/applicationshell.h"
#include "app/shell/commandline.h"
#include "app/shell/platformsetup.h"
#include "app/shell/singleinstance.h"
#include "app/staticqmlmodules.h"
#include "card/controls/textaccessible.h"
#include "core/identity.h"
#include "desktop/desktopservices.h"
#include "desktop/instancechannel.h"

#include <QApplication>

#include <cstdio>

namespace {

QStringList argumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments += QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

/// Help, version and usage errors: printed without a display, then the program ends.
int answerInTerminal(const wordlumen::CommandLine &command, int argc, char *argv[])
{
    using Outcome = wordlumen::CommandLine::Outcome;
    const QCoreApplication app(argc, argv);
    wordlumen::Identity::applyToApplication();
    switch (command.outcome) {
    case Outcome::ShowHelp:
        std::fputs(qPrintable(wordlumen::CommandLine::helpText()), stdout);
        return 0;
    case Outcome::ShowVersion:
        std::fputs(qPrintable(wordlumen::CommandLine::versionText()), stdout);
        return 0;
    case Outcome::UsageError:
    case Outcome::Run:
        break;
    }
    std::fprintf(stderr, "wordlumen：%s\n用 wordlumen --help 查看可用的选项。\n",
                 qPrintable(command.error));
    return wordlumen::CommandLine::kUsageErrorStatus;
}

} // namespace

int main(int argc, char *argv[])
{
    const wordlumen::CommandLine command = wordlumen::CommandLine::parse(argumentList(argc, argv));
    if (command.outcome != wordlumen::CommandLine::Outcome::Run) {
        return answerInTerminal(command, argc, argv);
    }
    // A running Wordlumen takes the request before this process loads any
    // more of the toolkit or connects to the display.
    if (wordlumen::SingleInstance(QLatin1StringView(wordlumen::Identity::kReverseDomainName),
                                  wordlumen::DesktopServices::makeInstanceChannel())
            .deliver(command.request)) {
        return 0;
    }

    wordlumen::PlatformSetup::beforeApplication();
    // QApplication rather than QGuiApplication: the tray icon and its menu are widgets.
    QApplication app(argc, argv);
    wordlumen::PlatformSetup::afterApplication();

    wordlumen::ApplicationShell shell;
    if (!shell.claimSingleInstance(command.request)) {
        return 0; // another launch became the running instance a moment ago
    }
    shell.start(command.request);
    // After the first window: Qt Quick's own interfaces are installed by then.
    wordlumen::installTextAccessibility();
    return QApplication::exec();
}
