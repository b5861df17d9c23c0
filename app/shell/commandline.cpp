#include "commandline.h"

#include "core/identity.h"

#include <QCommandLineParser>

#include <algorithm>

namespace wordlumen {

namespace {

struct Options
{
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("显示这份说明。")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("显示版本。")};
    QCommandLineOption toggle{QStringLiteral("toggle"),
                              QStringLiteral("浮卡收起或隐藏时展开它，展开时收起。")};
    QCommandLineOption lookup{QStringLiteral("lookup"),
                              QStringLiteral("展开浮卡并查后面的文字，例如 wordlumen --lookup RAG；"
                                             "以 - 开头的文字写在 -- 之后。")};
    QCommandLineOption selection{QStringLiteral("selection"),
                                 QStringLiteral("查任意程序里选中的文字，没有选中时查剪贴板；"
                                                "两者都空时展开浮卡等你输入。")};
    QCommandLineOption settings{QStringLiteral("settings"), QStringLiteral("打开控制中心。")};
    QCommandLineOption background{QStringLiteral("background"),
                                  QStringLiteral("启动时不打开控制中心（登录时启动用）。")};

    void addTo(QCommandLineParser &parser) const
    {
        parser.setApplicationDescription(
            QStringLiteral("Wordlumen：随手解释看不懂的行业黑话。\n"
                           "Wordlumen 已在运行时，这些选项交给正在运行的它去做。"));
        parser.addOptions({help, version, toggle, lookup, selection, settings, background});
        parser.addPositionalArgument(QStringLiteral("文字"),
                                     QStringLiteral("--lookup 要查的词或一句描述。"),
                                     QStringLiteral("[文字…]"));
    }
};

// Options QGuiApplication and QApplication read from the command line
// themselves; the ones in the first list take a value.
const QStringList kToolkitOptionsWithValue = {
    QStringLiteral("platform"),
    QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"),
    QStringLiteral("plugin"),
    QStringLiteral("qwindowgeometry"),
    QStringLiteral("geometry"),
    QStringLiteral("qwindowicon"),
    QStringLiteral("icon"),
    QStringLiteral("qwindowtitle"),
    QStringLiteral("title"),
    QStringLiteral("session"),
    QStringLiteral("display"),
    QStringLiteral("name"),
    QStringLiteral("style"),
    QStringLiteral("stylesheet"),
};
const QStringList kToolkitFlags = {
    QStringLiteral("reverse"), QStringLiteral("nograb"),      QStringLiteral("dograb"),
    QStringLiteral("sync"),    QStringLiteral("widgetcount"), QStringLiteral("testability"),
};

/// The arguments without the toolkit's own options (which stay in argv for it).
QStringList withoutToolkitOptions(const QStringList &arguments)
{
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1StringView("--")) {
            kept += arguments.mid(i);
            break;
        }
        if (i == 0 || !argument.startsWith(QLatin1Char('-'))) {
            kept += argument;
            continue;
        }
        QString name = argument.mid(argument.startsWith(QLatin1StringView("--")) ? 2 : 1);
        const bool hasInlineValue = name.contains(QLatin1Char('='));
        name = name.section(QLatin1Char('='), 0, 0);
        if (name == QLatin1StringView("qmljsdebugger") || kToolkitFlags.contains(name)) {
            continue;
        }
        if (kToolkitOptionsWithValue.contains(name)) {
            if (!hasInlineValue) {
                ++i; // its value
            }
            continue;
        }
        kept += argument;
    }
    return kept;
}

QString spelled(const QString &optionName)
{
    return (optionName.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + optionName;
}

CommandLine usageError(QString message)
{
    CommandLine result;
    result.outcome = CommandLine::Outcome::UsageError;
    result.error = std::move(message);
    return result;
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    const Options options;
    QCommandLineParser parser;
    options.addTo(parser);
    if (!parser.parse(withoutToolkitOptions(arguments))) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            QStringList names;
            std::transform(unknown.begin(), unknown.end(), std::back_inserter(names), spelled);
            return usageError(
                QStringLiteral("不认识的选项：%1。").arg(names.join(QStringLiteral("、"))));
        }
        // Only a value given to an option that takes none is left (--toggle=on).
        return usageError(QStringLiteral("选项的写法不对（%1）。").arg(parser.errorText()));
    }
    CommandLine result;
    if (parser.isSet(options.help)) {
        result.outcome = Outcome::ShowHelp;
        return result;
    }
    if (parser.isSet(options.version)) {
        result.outcome = Outcome::ShowVersion;
        return result;
    }

    const std::pair<const QCommandLineOption *, LaunchRequest::Action> actions[] = {
        {&options.toggle, LaunchRequest::Action::Toggle},
        {&options.lookup, LaunchRequest::Action::Lookup},
        {&options.selection, LaunchRequest::Action::Selection},
        {&options.settings, LaunchRequest::Action::Settings},
        {&options.background, LaunchRequest::Action::Background},
    };
    QStringList chosen;
    for (const auto &[option, action] : actions) {
        if (parser.isSet(*option)) {
            chosen += spelled(option->names().constFirst());
            result.request.action = action;
        }
    }
    if (chosen.size() > 1) {
        return usageError(QStringLiteral("一次只能用一个选项，这里有 %1。")
                              .arg(chosen.join(QStringLiteral("、"))));
    }
    const QStringList words = parser.positionalArguments();
    if (result.request.action == LaunchRequest::Action::Lookup) {
        result.request.text = words.join(QLatin1Char(' '));
        if (result.request.text.trimmed().isEmpty()) {
            return usageError(
                QStringLiteral("--lookup 后面要写上要查的词，例如 wordlumen --lookup RAG。"));
        }
    } else if (!words.isEmpty()) {
        return usageError(QStringLiteral("只有 --lookup 后面可以跟要查的文字（多出了“%1”）。")
                              .arg(words.join(QLatin1Char(' '))));
    }
    return result;
}

QString CommandLine::helpText()
{
    const Options options;
    QCommandLineParser parser;
    options.addTo(parser);
    return parser.helpText();
}

QString CommandLine::versionText()
{
    return QStringLiteral("%1 %2\n").arg(QLatin1StringView(Identity::kApplicationName),
                                         QLatin1StringView(Identity::version()));
}

} // namespace wordlumen
