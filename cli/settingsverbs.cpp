#include "cliverb.h"
#include "core/settingsschema.h"
#include "desktop/platformwords.h"
#include "online/apisettingscontroller.h"
#include "terminal.h"

#include <QSettings>

#include <optional>

namespace wordlumen::cli {

namespace {

/// The stored settings the terminal reads and writes, in the schema's order.
QList<const SettingSpec *> terminalSettings()
{
    QList<const SettingSpec *> settings;
    for (const SettingSpec *spec : SettingsSchema::all()) {
        if (spec->terminal)
            settings.append(spec);
    }
    return settings;
}

const SettingSpec *findSetting(const QString &name)
{
    const SettingSpec *spec = SettingsSchema::find(name);
    return spec && spec->terminal ? spec : nullptr;
}

QStringList keyNames()
{
    QStringList names;
    for (const SettingSpec *spec : terminalSettings())
        names.append(spec->key);
    return names;
}

/// Reads the key without echoing it when standard input is a terminal.
QString readKeyFromStandardInput(CliContext &context)
{
    if (!Terminal::inputIsTerminal())
        return QString::fromUtf8(Terminal::readLineWithoutEcho());
    context.err << "API Key：";
    context.err.flush();
    const QByteArray line = Terminal::readLineWithoutEcho();
    context.err << '\n';
    context.err.flush();
    return QString::fromUtf8(line);
}

int showOutcome(const ApiSettingsController &controller, CliContext &context)
{
    QTextStream &stream = controller.didSave() ? context.out : context.err;
    stream << controller.statusMessage() << '\n';
    stream.flush();
    return controller.didSave() ? Success : ShownError;
}

} // namespace

int runConfig(const QStringList &arguments, CliContext &context)
{
    const QString verb = QStringLiteral("config");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("读取或修改一项设置。不给 VALUE 时打印当前值，"
                                                    "没有存过时打印默认值。\n可用的 KEY：") +
                                     keyNames().join(QStringLiteral("、")));
    parser.addPositionalArgument(QStringLiteral("KEY"), QStringLiteral("设置的名称。"));
    parser.addPositionalArgument(QStringLiteral("VALUE"), QStringLiteral("要存的新值。"),
                                 QStringLiteral("[VALUE]"));
    int exitCode = Success;
    if (!parseVerbArguments(parser, verb, arguments, context, &exitCode))
        return exitCode;

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty() || positional.size() > 2)
        return usageError(parser, verb, QStringLiteral("需要 KEY，最多再跟一个 VALUE。"), context);
    const SettingSpec *key = findSetting(positional.first());
    if (!key)
        return usageError(parser, verb,
                          QStringLiteral("不认识的设置“%1”。可用的有：%2")
                              .arg(positional.first(), keyNames().join(QStringLiteral("、"))),
                          context);

    QSettings settings;
    if (positional.size() == 1) {
        context.out << key->storedText(settings) << '\n';
        context.out.flush();
        return Success;
    }

    // Text is stored as typed, as the settings screens do (the endpoint is
    // checked when the key is saved); switches and numbers as such.
    const std::optional<QVariant> value = key->parse(positional.at(1));
    if (!value) {
        const QString allowed =
            key->type == SettingType::Integer
                ? QStringLiteral("%1 需要 %2。").arg(key->key, key->allowedText())
                : QStringLiteral("%1 只能是：%2").arg(key->key, key->allowedText());
        return usageError(parser, verb, allowed, context);
    }
    settings.setValue(key->key, *value);
    return Success;
}

int runSetKey(const QStringList &arguments, CliContext &context)
{
    const QString verb = QStringLiteral("set-key");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("从标准输入读一行 API Key，存进") + PlatformWords::secretStore() +
        QStringLiteral("；空行会删除已存的 Key。\n"
                       "Key 不从命令行参数读，免得留在 shell 历史和进程列表里。"));
    int exitCode = Success;
    if (!parseVerbArguments(parser, verb, arguments, context, &exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty())
        return usageError(
            parser, verb,
            QStringLiteral("Key 只从标准输入读，例如：wordlumen-cli set-key < key.txt"), context);

    ApiSettingsController controller(ApiSettingsController::Screen::ControlCenter);
    controller.setApiKey(readKeyFromStandardInput(context));
    controller.save();
    return showOutcome(controller, context);
}

int runClearKey(const QStringList &arguments, CliContext &context)
{
    const QString verb = QStringLiteral("clear-key");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("从") + PlatformWords::secretStore() +
                                     QStringLiteral("删除已存的 API Key。"));
    int exitCode = Success;
    if (!parseVerbArguments(parser, verb, arguments, context, &exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty())
        return usageError(parser, verb, QStringLiteral("clear-key 不需要参数。"), context);

    ApiSettingsController controller(ApiSettingsController::Screen::SettingsFace);
    controller.clear();
    return showOutcome(controller, context);
}

} // namespace wordlumen::cli
