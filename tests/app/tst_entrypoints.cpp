// What `wordlumen` does with its options: the parser (each option, mistakes,
// text with spaces and leading dashes after `--`, the toolkit's own options),
// the text a selection lookup takes, and what the running instance does with
// each request on the real card.

#include "app/controlcenter/controlcenterwindow.h"
#include "app/shell/applicationshell.h"
#include "app/shell/commandline.h"
#include "app/staticqmlmodules.h"
#include "card/panel/floatingcardwindowcontroller.h"
#include "cardmodel/cardviewmodel.h"
#include "core/selectiontext.h"
#include "desktop/generic/clipboardselection.h"

#include <QApplication>
#include <QClipboard>
#include <QQuickWindow>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

using namespace wordlumen;
using Action = LaunchRequest::Action;
using Outcome = CommandLine::Outcome;
using Presentation = CardViewModel::Presentation;

Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(Outcome)

class EntryPointsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ApplicationShell> m_shell;

    /// A running Wordlumen as the first launch with `request` leaves it.
    ApplicationShell &startShell(const LaunchRequest &request)
    {
        m_shell = std::make_unique<ApplicationShell>();
        m_shell->start(request);
        [&] {
            QTRY_VERIFY(m_shell->windowController()->panel());
        }();
        QTest::qWait(50);
        return *m_shell;
    }

    [[nodiscard]] Presentation presentation() const
    {
        return m_shell->viewModel() ? m_shell->viewModel()->presentation()
                                    : Presentation::Collapsed;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("Zintaro"));
        QCoreApplication::setApplicationName(QStringLiteral("WordlumenEntryPointsTest"));
    }

    void cleanup()
    {
        m_shell.reset();
        QGuiApplication::clipboard()->clear();
        QSettings().clear();
    }

    void theParserReadsEachOption_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("text");
        auto row = [](const char *name, const QStringList &arguments, Outcome outcome,
                      Action action = Action::Open, const QString &text = {}) {
            QTest::addRow("%s", name) << (QStringList{QStringLiteral("wordlumen")} + arguments)
                                      << outcome << action << text;
        };
        row("nothing", {}, Outcome::Run);
        row("toggle", {QStringLiteral("--toggle")}, Outcome::Run, Action::Toggle);
        row("selection", {QStringLiteral("--selection")}, Outcome::Run, Action::Selection);
        row("settings", {QStringLiteral("--settings")}, Outcome::Run, Action::Settings);
        row("background", {QStringLiteral("--background")}, Outcome::Run, Action::Background);
        row("help", {QStringLiteral("--help")}, Outcome::ShowHelp);
        row("-h", {QStringLiteral("-h")}, Outcome::ShowHelp);
        row("help wins over an action", {QStringLiteral("--toggle"), QStringLiteral("--help")},
            Outcome::ShowHelp);
        row("version", {QStringLiteral("--version")}, Outcome::ShowVersion);
        row("lookup", {QStringLiteral("--lookup"), QStringLiteral("RAG")}, Outcome::Run,
            Action::Lookup, QStringLiteral("RAG"));
        row("lookup of one argument with spaces",
            {QStringLiteral("--lookup"), QStringLiteral("把资料先查出来 再回答")}, Outcome::Run,
            Action::Lookup, QStringLiteral("把资料先查出来 再回答"));
        row("lookup of several words",
            {QStringLiteral("--lookup"), QStringLiteral("what"), QStringLiteral("is"),
             QStringLiteral("RAG")},
            Outcome::Run, Action::Lookup, QStringLiteral("what is RAG"));
        row("lookup text first", {QStringLiteral("RAG"), QStringLiteral("--lookup")}, Outcome::Run,
            Action::Lookup, QStringLiteral("RAG"));
        row("leading dashes after --",
            {QStringLiteral("--lookup"), QStringLiteral("--"), QStringLiteral("--force-push")},
            Outcome::Run, Action::Lookup, QStringLiteral("--force-push"));
        row("an option's name after -- is text",
            {QStringLiteral("--lookup"), QStringLiteral("--"), QStringLiteral("-h"),
             QStringLiteral("--toggle")},
            Outcome::Run, Action::Lookup, QStringLiteral("-h --toggle"));
        row("the toolkit's options are the toolkit's",
            {QStringLiteral("-platform"), QStringLiteral("xcb"), QStringLiteral("--toggle"),
             QStringLiteral("-style=Fusion"), QStringLiteral("-reverse")},
            Outcome::Run, Action::Toggle);
        row("the toolkit's value is not text",
            {QStringLiteral("--lookup"), QStringLiteral("-platform"), QStringLiteral("offscreen"),
             QStringLiteral("RAG")},
            Outcome::Run, Action::Lookup, QStringLiteral("RAG"));

        row("unknown option", {QStringLiteral("--frobnicate")}, Outcome::UsageError);
        row("unknown short option", {QStringLiteral("-x")}, Outcome::UsageError);
        row("a dash before text without --", {QStringLiteral("--lookup"), QStringLiteral("-rf")},
            Outcome::UsageError);
        row("two actions", {QStringLiteral("--toggle"), QStringLiteral("--selection")},
            Outcome::UsageError);
        row("lookup without text", {QStringLiteral("--lookup")}, Outcome::UsageError);
        row("lookup of blanks", {QStringLiteral("--lookup"), QStringLiteral("  ")},
            Outcome::UsageError);
        row("text without lookup", {QStringLiteral("RAG")}, Outcome::UsageError);
        row("a value for a switch", {QStringLiteral("--toggle=on")}, Outcome::UsageError);
    }

    void theParserReadsEachOption()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Outcome, outcome);
        QFETCH(Action, action);
        QFETCH(QString, text);
        const CommandLine command = CommandLine::parse(arguments);
        QCOMPARE(command.outcome, outcome);
        if (outcome == Outcome::Run) {
            QCOMPARE(toString(command.request.action), toString(action));
            QCOMPARE(command.request.text, text);
        }
        QCOMPARE(command.error.isEmpty(), outcome != Outcome::UsageError);
    }

    void usageErrorsSayWhatIsWrong()
    {
        const auto error = [](const QStringList &arguments) {
            return CommandLine::parse(QStringList{QStringLiteral("wordlumen")} + arguments).error;
        };
        QVERIFY(error({QStringLiteral("--frobnicate")}).contains(QStringLiteral("--frobnicate")));
        QVERIFY(error({QStringLiteral("-x")}).contains(QStringLiteral("-x")));
        const QString two = error({QStringLiteral("--toggle"), QStringLiteral("--settings")});
        QVERIFY(two.contains(QStringLiteral("--toggle")) &&
                two.contains(QStringLiteral("--settings")));
        QVERIFY(error({QStringLiteral("hello")}).contains(QStringLiteral("hello")));
        QCOMPARE(CommandLine::kUsageErrorStatus, 2);
        // The help names every action.
        const QString help = CommandLine::helpText();
        for (const char *option : {"--toggle", "--lookup", "--selection", "--settings",
                                   "--background", "--help", "--version"}) {
            QVERIFY2(help.contains(QLatin1StringView(option)), option);
        }
    }

    void aSelectionIsReadAsOneQuery()
    {
        QCOMPARE(SelectionText::normalised(u"  retrieval-\n  augmented\tgeneration \r\n"),
                 QStringLiteral("retrieval- augmented generation"));
        QCOMPARE(SelectionText::normalised(u"\n \t"), QString());
        // Cut by characters as the user sees them: a family emoji is one.
        const QString family = QStringLiteral("👨‍👩‍👧");
        QString longText;
        for (int i = 0; i < SelectionText::kMaximumGraphemes + 5; ++i)
            longText += family;
        const QString cut = SelectionText::normalised(longText);
        QCOMPARE(cut.size(), family.size() * SelectionText::kMaximumGraphemes);
    }

    void theSelectionFallsBackToTheClipboard()
    {
        QClipboard *clipboard = QGuiApplication::clipboard();
        const ClipboardSelection selection;
        clipboard->setText(QStringLiteral(" RAG\n"), QClipboard::Clipboard);
        if (clipboard->supportsSelection()) {
            clipboard->setText(QStringLiteral("LoRA"), QClipboard::Selection);
            QCOMPARE(selection.selectedText(), QStringLiteral("LoRA"));
            clipboard->setText(QStringLiteral("  "), QClipboard::Selection);
        }
        QCOMPARE(SelectionText::normalised(selection.selectedText()), QStringLiteral("RAG"));
        clipboard->clear(QClipboard::Clipboard);
        QCOMPARE(selection.selectedText(), QString());
    }

    void aLookupOpensTheCardOnItsAnswer()
    {
        ApplicationShell &shell = startShell({Action::Background, {}});
        QVERIFY(!shell.controlCenter()); // a start at login brings no control center
        QCOMPARE(presentation(), Presentation::Collapsed);

        shell.handle({Action::Lookup, QStringLiteral("什么是RAG")});
        QVERIFY(shell.viewModel());
        QCOMPARE(presentation(), Presentation::Back);
        QCOMPARE(shell.viewModel()->resultTitle(), QStringLiteral("检索增强生成"));
        QCOMPARE(toString(shell.viewModel()->resultOrigin()), toString(ExplanationOrigin::Local));
        QVERIFY(shell.windowController()->isVisible());

        // From the settings face too, and the settings face is left properly.
        shell.viewModel()->openSettings();
        shell.handle({Action::Lookup, QStringLiteral("LoRA")});
        QCOMPARE(presentation(), Presentation::Back);
        QCOMPARE(shell.viewModel()->query(), QStringLiteral("LoRA"));
        QCOMPARE(shell.viewModel()->resumePresentation(), Presentation::Back);
    }

    void toggleOpensAFoldedOrHiddenCardAndFoldsAnOpenOne()
    {
        ApplicationShell &shell = startShell({Action::Background, {}});
        shell.handle({Action::Toggle, {}});
        QCOMPARE(presentation(), Presentation::Front);
        shell.handle({Action::Toggle, {}});
        QCOMPARE(presentation(), Presentation::Collapsed);
        QVERIFY(shell.windowController()->isVisible());

        shell.windowController()->toggleVisibility(); // the user hid the card
        QVERIFY(!shell.windowController()->isVisible());
        shell.handle({Action::Toggle, {}});
        QVERIFY(shell.windowController()->isVisible());
        QCOMPARE(presentation(), Presentation::Front);

        // Hidden while open: the toggle shows it, it does not fold it unseen.
        shell.windowController()->toggleVisibility();
        shell.handle({Action::Toggle, {}});
        QVERIFY(shell.windowController()->isVisible());
        QCOMPARE(presentation(), Presentation::Front);
    }

    void theSelectionIsLookedUpOrTheInputWaits()
    {
        ApplicationShell &shell = startShell({Action::Background, {}});
        QGuiApplication::clipboard()->setText(QStringLiteral("RAG"));
        shell.handle({Action::Selection, {}});
        QCOMPARE(presentation(), Presentation::Back);
        QCOMPARE(shell.viewModel()->query(), QStringLiteral("RAG"));

        // Nothing selected or copied: the card turns to its input, keeping the last query.
        QGuiApplication::clipboard()->clear();
        shell.handle({Action::Selection, {}});
        QCOMPARE(presentation(), Presentation::Front);
        QCOMPARE(shell.viewModel()->query(), QStringLiteral("RAG"));
        QTRY_VERIFY(shell.windowController()->panel()->isActive());
    }

    void settingsAndBackgroundOnARunningInstance()
    {
        ApplicationShell &shell = startShell({Action::Background, {}});
        shell.handle({Action::Background, {}});
        QVERIFY(!shell.controlCenter());
        QCOMPARE(presentation(), Presentation::Collapsed);
        shell.handle({Action::Settings, {}});
        QVERIFY(shell.controlCenter() && shell.controlCenter()->isVisible());
        QCOMPARE(presentation(), Presentation::Collapsed); // the card is left alone
    }

    void theFirstLaunchCarriesOutItsOwnRequest()
    {
        {
            ApplicationShell &shell = startShell({Action::Lookup, QStringLiteral("RAG")});
            QTRY_COMPARE(presentation(), Presentation::Back);
            QCOMPARE(shell.viewModel()->resultTitle(), QStringLiteral("检索增强生成"));
            QTest::qWait(200);
            QVERIFY(!shell.controlCenter()); // a lookup brings the card, not the settings
        }
        {
            ApplicationShell &shell = startShell({Action::Toggle, {}});
            QTRY_COMPARE(presentation(), Presentation::Front);
            QVERIFY(!shell.controlCenter());
        }
        {
            ApplicationShell &shell = startShell({Action::Open, {}});
            QTRY_VERIFY(shell.controlCenter() && shell.controlCenter()->isVisible());
            QCOMPARE(presentation(), Presentation::Collapsed);
        }
    }
};

QTEST_MAIN(EntryPointsTest)
#include "tst_entrypoints.moc"
