#include "cliverb.h"
#include "desktop/platformwords.h"
#include "history/historysettings.h"
#include "online/apisettings.h"
#include "online/apisettingscontroller.h"
#include "online/explanationpromptprofile.h"
#include "terminal.h"

#include <QSettings>

#include <optional>

namespace wordlumen::cli {

namespace {

/// One stored setting the terminal may read and write.
struct SettingKey
{
    QString name;
    QString defaultValue;
    /// The values a write may store; empty when any text goes.
    QStringList allowed;
};

QList<SettingKey> settingKeys()
{
    QStringList audiences;
    for (const ExplanationAudience audience : allExplanationAudiences())
        audiences.append(toString(audience));
    QStringList lengths;
    for (const ExplanationLength length : allExplanationLengths())
        lengths.append(toString(length));
    return {
        {QLatin1String(ApiSettings::kEndpointKey), ApiSettings::defaultEndpoint(), {}},
        {QLatin1String(ApiSettings::kModelKey), ApiSettings::defaultModel(), {}},
        {QLatin1String(ExplanationSettingsKeys::audience), toString(ExplanationAudience::Plain),
         audiences},
        {QLatin1String(ExplanationSettingsKeys::length), toString(ExplanationLength::Standard),
         lengths},
        {QLatin1String(ExplanationSettingsKeys::customPerspective), QString(), {}},
        // The trigger's look belongs to the card; its two raw values are fixed.
        {QStringLiteral("floatingTriggerStyle"),
         QStringLiteral("compact"),
         {QStringLiteral("compact"), QStringLiteral("wide")}},
        // 「记录查询历史」 and how many entries the history keeps.
        {QLatin1String(HistorySettings::kEnabledKey),
         HistorySettings::kDefaultEnabled ? QStringLiteral("true") : QStringLiteral("false"),
         {QStringLiteral("true"), QStringLiteral("false")}},
        {QLatin1String(HistorySettings::kLimitKey),
         QString::number(HistorySettings::kDefaultLimit),
         {}},
    };
}

std::optional<SettingKey> findKey(const QString &name)
{
    for (const SettingKey &key : settingKeys()) {
        if (key.name == name)
            return key;
    }
    return std::nullopt;
}

QStringList keyNames()
{
    QStringList names;
    for (const SettingKey &key : settingKeys())
        names.append(key.name);
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
    const std::optional<SettingKey> key = findKey(positional.first());
    if (!key)
        return usageError(parser, verb,
                          QStringLiteral("不认识的设置“%1”。可用的有：%2")
                              .arg(positional.first(), keyNames().join(QStringLiteral("、"))),
                          context);

    if (positional.size() == 1) {
        const QVariant stored = QSettings().value(key->name);
        context.out << (stored.isValid() ? stored.toString() : key->defaultValue) << '\n';
        context.out.flush();
        return Success;
    }

    const QString &value = positional.at(1);
    if (!key->allowed.isEmpty() && !key->allowed.contains(value))
        return usageError(
            parser, verb,
            QStringLiteral("%1 只能是：%2").arg(key->name, key->allowed.join(QStringLiteral("、"))),
            context);
    // Stored as typed, as the settings screens do; the endpoint is checked when
    // the key is saved. The history's switch and limit are stored as a boolean
    // and a number.
    if (key->name == QLatin1String(HistorySettings::kLimitKey)) {
        bool ok = false;
        const int limit = value.toInt(&ok);
        if (!ok || limit != HistorySettings::clampedLimit(limit))
            return usageError(parser, verb,
                              QStringLiteral("%1 需要 %2 到 %3 之间的整数。")
                                  .arg(key->name)
                                  .arg(HistorySettings::kMinimumLimit)
                                  .arg(HistorySettings::kMaximumLimit),
                              context);
        HistorySettings::setLimit(limit);
    } else if (key->name == QLatin1String(HistorySettings::kEnabledKey)) {
        HistorySettings::setEnabled(value == u"true");
    } else if (key->name == QLatin1String(ApiSettings::kEndpointKey)) {
        ApiSettings::setEndpointText(value);
    } else if (key->name == QLatin1String(ApiSettings::kModelKey)) {
        ApiSettings::setModel(value);
    } else {
        QSettings().setValue(key->name, value);
    }
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
