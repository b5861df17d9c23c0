#include "cliverb.h"

#include <QRegularExpression>

namespace wordlumen::cli {

bool parseVerbArguments(QCommandLineParser &parser, const QString &verb,
                        const QStringList &arguments, CliContext &context, int *exitCode)
{
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("显示这个动作的用法。"));
    parser.addOption(help);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

    QStringList withProgram = arguments;
    withProgram.prepend(QStringLiteral("wordlumen-cli ") + verb);
    if (!parser.parse(withProgram)) {
        *exitCode = usageError(parser, verb, parser.errorText(), context);
        return false;
    }
    if (parser.isSet(help)) {
        // Qt writes the program path and English headings; say it the way users type it.
        static const QRegularExpression usageLine(QStringLiteral("^Usage: \\S+"));
        QString text = parser.helpText();
        text.replace(usageLine, QStringLiteral("用法：wordlumen-cli ") + verb);
        text.replace(QStringLiteral(" [options]"), QStringLiteral(" [选项]"));
        text.replace(QStringLiteral("\nOptions:\n"), QStringLiteral("\n选项：\n"));
        text.replace(QStringLiteral("\nArguments:\n"), QStringLiteral("\n参数：\n"));
        context.out << text;
        context.out.flush();
        *exitCode = Success;
        return false;
    }
    return true;
}

int usageError(const QCommandLineParser &parser, const QString &verb, const QString &message,
               CliContext &context)
{
    Q_UNUSED(parser)
    context.err << "wordlumen-cli " << verb << ": " << message << '\n'
                << "试试 wordlumen-cli " << verb << " --help" << '\n';
    context.err.flush();
    return UsageError;
}

} // namespace wordlumen::cli
