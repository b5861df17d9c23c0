#include "launchcommand.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace wordlumen::LaunchCommand {

namespace {

/// One argument, quoted when it holds a character a desktop entry reserves.
QString quoted(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const bool plain =
        !argument.isEmpty() && std::none_of(argument.begin(), argument.end(),
                                            [](QChar c) { return reserved.contains(c); });
    if (plain) {
        return argument;
    }
    QString escaped;
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\')) {
            escaped += QLatin1Char('\\');
        }
        escaped += c;
    }
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString program()
{
    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    const QString onPath = QStandardPaths::findExecutable(QLatin1StringView(kProgramName));
    if (!onPath.isEmpty() && QFileInfo(onPath).canonicalFilePath() == self) {
        return QLatin1StringView(kProgramName);
    }
    return self.isEmpty() ? QString(QLatin1StringView(kProgramName)) : self;
}

} // namespace

QString commandLine(const QStringList &arguments)
{
    QStringList words{quoted(program())};
    for (const QString &argument : arguments) {
        words += quoted(argument);
    }
    return words.join(QLatin1Char(' '));
}

QString execValue(const QStringList &arguments)
{
    // A desktop entry's values are escaped once more: a backslash is written
    // twice, and a percent sign (a field code otherwise) is doubled.
    QString value = commandLine(arguments);
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    value.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return value;
}

} // namespace wordlumen::LaunchCommand
