// Wordlumen on the Linux desktop: the start-at-login entry written, read and
// removed; the global shortcut registered with a real X server (Xvfb) for
// every lock-key combination, released when it changes, refused with a
// message when another client holds it, and pressed with xdotool; and the
// GlobalShortcuts portal of a Wayland desktop, played by a fake on a private
// session bus.

#include "app/controlcenter/controlcentermodel.h"
#include "app/controlcenter/controlcenterwindow.h"
#include "app/integration/globalshortcut.h"
#include "app/integration/startatlogin.h"
#include "app/staticqmlmodules.h"
#include "card/panel/floatingcardwindowcontroller.h"
#include "core/settingsschema.h"
#include "desktop/desktopservices.h"
#include "desktop/launchcommand.h"
#include "desktop/x11/x11keygrabber.h"
#include "desktop/xdg/autostartfile.h"
#include "desktop/xdg/portalshortcut.h"
#include "packs/customglossarystore.h"
#include "tests/app/fakeshortcutbackend.h"
#include "tests/desktop/fakeportal.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <xcb/xcb.h>

using namespace wordlumen;
using namespace wordlumen::testing;
using State = GlobalShortcut::State;

namespace {

/// Another X client, as a second program holding or asking for keys would be.
class OtherClient
{
public:
    OtherClient()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~OtherClient() { xcb_disconnect(m_connection); }
    OtherClient(const OtherClient &) = delete;
    OtherClient &operator=(const OtherClient &) = delete;

    /// Tries to grab a letter with Ctrl+Alt (and `extra` modifier bits); true when the server
    /// agrees.
    bool grab(char letter, uint16_t extra = 0)
    {
        const xcb_keycode_t code = keycode(letter);
        auto *error = xcb_request_check(
            m_connection, xcb_grab_key_checked(m_connection, 1, m_root,
                                               XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | extra, code,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return error == nullptr;
    }
    void ungrab(char letter, uint16_t extra = 0)
    {
        // A round trip, so the keys are free for the program under test at once.
        std::free(xcb_request_check(
            m_connection, xcb_ungrab_key_checked(m_connection, keycode(letter), m_root,
                                                 XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | extra)));
    }
    /// Whether the letter with Ctrl+Alt is free: a grab succeeds (and is let go at once).
    bool isFree(char letter, uint16_t extra = 0)
    {
        if (!grab(letter, extra))
            return false;
        ungrab(letter, extra);
        return true;
    }

private:
    xcb_keycode_t keycode(char letter)
    {
        const xcb_setup_t *setup = xcb_get_setup(m_connection);
        auto *reply = xcb_get_keyboard_mapping_reply(
            m_connection,
            xcb_get_keyboard_mapping(m_connection, setup->min_keycode,
                                     uint8_t(setup->max_keycode - setup->min_keycode + 1)),
            nullptr);
        const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(reply);
        xcb_keycode_t found = 0;
        for (int i = 0; found == 0 && i * reply->keysyms_per_keycode <
                                          xcb_get_keyboard_mapping_keysyms_length(reply);
             ++i) {
            if (syms[i * reply->keysyms_per_keycode] == xcb_keysym_t(letter))
                found = xcb_keycode_t(setup->min_keycode + i);
        }
        std::free(reply);
        return found;
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_root = 0;
};

constexpr uint16_t kCapsLock = XCB_MOD_MASK_LOCK;
constexpr uint16_t kNumLock = XCB_MOD_MASK_2; // where Xvfb's keymap puts it

void press(const QString &keys)
{
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), keys}), 0);
}

int modifiersOf(Qt::KeyboardModifiers modifiers)
{
    return int(modifiers.toInt());
}

} // namespace

class DesktopIntegrationTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    [[nodiscard]] std::unique_ptr<GlobalShortcut> x11Shortcut()
    {
        auto backend = X11KeyGrabber::create();
        if (!backend)
            return nullptr;
        auto shortcut = std::make_unique<GlobalShortcut>(std::move(backend));
        shortcut->start();
        return shortcut;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("Zintaro"));
        QCoreApplication::setApplicationName(QStringLiteral("WordlumenDesktopTest"));
    }

    void init() { QSettings().clear(); }

    // Start at login.

    void theAutostartEntryIsWrittenReadAndRemoved()
    {
        const QString path =
            m_dir.filePath(QStringLiteral("config/autostart/com.zintaro.Wordlumen.desktop"));
        StartAtLogin entry(std::make_unique<AutostartFile>(path));
        QVERIFY(entry.isAvailable());
        QVERIFY(!entry.isEnabled()); // off until the user turns it on
        QSignalSpy changed(&entry, &StartAtLogin::enabledChanged);

        entry.setEnabled(true);
        QVERIFY(entry.isEnabled());
        QCOMPARE(changed.count(), 1);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
        QVERIFY(text.contains(QStringLiteral("\nType=Application\n")));
        QVERIFY(
            text.contains(QStringLiteral("\nExec=%1\n")
                              .arg(LaunchCommand::execValue({QStringLiteral("--background")}))));
        QVERIFY(text.contains(QStringLiteral(" --background\n")));
        file.close();

        // The state is the file's: a new start (or a reinstall) finds it on.
        QVERIFY(AutostartFile(path).isEnabled());

        entry.setEnabled(false);
        QVERIFY(!QFile::exists(path));
        QVERIFY(!entry.isEnabled());
        QVERIFY(!AutostartFile(path).isEnabled());
        QVERIFY(entry.errorMessage().isEmpty());
    }

    void anEntryTheDesktopSwitchedOffReadsAsOff()
    {
        const QString path = m_dir.filePath(QStringLiteral("hidden/com.zintaro.Wordlumen.desktop"));
        QDir().mkpath(m_dir.filePath(QStringLiteral("hidden")));
        for (const QByteArray &off :
             {QByteArray("Hidden=true"), QByteArray("X-GNOME-Autostart-enabled=false")}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[Desktop Entry]\nType=Application\nExec=wordlumen --background\n" + off +
                       "\n");
            file.close();
            StartAtLogin entry(std::make_unique<AutostartFile>(path));
            QVERIFY2(!entry.isEnabled(), off.constData());
            entry.setEnabled(true); // turning it on again writes an entry that starts
            QVERIFY(entry.isEnabled());
            QVERIFY(AutostartFile(path).isEnabled());
        }
        // Another group's Hidden key is not the entry's.
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "[Desktop Entry]\nExec=wordlumen --background\n[Desktop Action x]\nHidden=true\n");
        file.close();
        QVERIFY(AutostartFile(path).isEnabled());
    }

    void aFailedWriteSaysSoAndStaysOff()
    {
        QFile blocker(m_dir.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        // The autostart folder cannot be made where a file is in the way.
        StartAtLogin entry(std::make_unique<AutostartFile>(
            m_dir.filePath(QStringLiteral("blocker/autostart/x.desktop"))));
        entry.setEnabled(true);
        QVERIFY(!entry.isEnabled());
        QVERIFY(entry.errorMessage().contains(QStringLiteral("blocker/autostart/x.desktop")));
        QVERIFY(entry.hasProblem());
        QCOMPARE(entry.statusText(), entry.errorMessage());
    }

    void theEntryStartsThisVeryProgram()
    {
        // Not on PATH: the absolute path, so a build or an unpacked tree starts itself.
        const QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
        QCOMPARE(LaunchCommand::commandLine({QStringLiteral("--selection")}),
                 self + QStringLiteral(" --selection"));

        // Found on PATH under the program's name: the plain name, as a package installs it.
        QTemporaryDir bin;
        QVERIFY(QFile::link(self, bin.filePath(QStringLiteral("wordlumen"))));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.path().toLocal8Bit() + ':' + path);
        QCOMPARE(LaunchCommand::execValue({QStringLiteral("--background")}),
                 QStringLiteral("wordlumen --background"));
        QCOMPARE(LaunchCommand::commandLine({QStringLiteral("--lookup"), QStringLiteral("a b"),
                                             QStringLiteral("$HOME\\x")}),
                 QStringLiteral("wordlumen --lookup \"a b\" \"\\$HOME\\\\x\""));
        QCOMPARE(LaunchCommand::execValue({QStringLiteral("--lookup"), QStringLiteral("100%")}),
                 QStringLiteral("wordlumen --lookup 100%%"));
        qputenv("PATH", path);
    }

    // The shortcut with the X server.

    void theShortcutIsGrabbedForEveryLockCombination()
    {
        auto shortcut = x11Shortcut();
        if (!shortcut)
            QSKIP("needs an X11 display");
        QCOMPARE(shortcut->state(), State::Registered);
        QCOMPARE(shortcut->keysText(), QStringLiteral("Ctrl+Alt+E"));
        OtherClient other;
        for (const uint16_t locks :
             {uint16_t(0), kCapsLock, kNumLock, uint16_t(kCapsLock | kNumLock)})
            QVERIFY2(!other.isFree('e', locks), qPrintable(QString::number(locks)));
        QVERIFY(other.isFree('k'));

        shortcut.reset(); // quitting lets go of it
        QVERIFY(other.isFree('e'));
        QVERIFY(other.isFree('e', kNumLock));
    }

    void aNewCombinationReplacesTheOldOne()
    {
        auto shortcut = x11Shortcut();
        if (!shortcut)
            QSKIP("needs an X11 display");
        OtherClient other;
        QSignalSpy keysChanged(shortcut.get(), &GlobalShortcut::keysChanged);
        shortcut->startRecording();
        QVERIFY(shortcut->isRecording());
        QVERIFY(other.isFree('e')); // released while the user presses the new one
        QVERIFY(shortcut->recordKey(Qt::Key_Control, modifiersOf(Qt::ControlModifier)));
        QVERIFY(shortcut->isRecording()); // a modifier alone waits for the rest
        QVERIFY(shortcut->recordKey(Qt::Key_K, modifiersOf(Qt::ControlModifier | Qt::AltModifier)));

        QCOMPARE(shortcut->state(), State::Registered);
        QCOMPARE(shortcut->keysText(), QStringLiteral("Ctrl+Alt+K"));
        QCOMPARE(keysChanged.count(), 1);
        QVERIFY(other.isFree('e'));
        QVERIFY(!other.isFree('k'));
        QCOMPARE(QSettings().value(SettingsSchema::globalShortcut().key).toString(),
                 QStringLiteral("Ctrl+Alt+K"));

        // The next start registers the stored combination.
        shortcut.reset();
        shortcut = x11Shortcut();
        QCOMPARE(shortcut->keysText(), QStringLiteral("Ctrl+Alt+K"));
        QVERIFY(!other.isFree('k'));
    }

    void recordingRefusesBareKeysAndEscapeKeepsTheOldOne()
    {
        auto shortcut = x11Shortcut();
        if (!shortcut)
            QSKIP("needs an X11 display");
        OtherClient other;
        shortcut->startRecording();
        QVERIFY(shortcut->recordKey(Qt::Key_E, 0));
        QVERIFY(shortcut->isRecording());
        QVERIFY(shortcut->statusText().contains(QStringLiteral("Ctrl、Alt 或 Super")));
        QVERIFY(shortcut->recordKey(Qt::Key_E, modifiersOf(Qt::ShiftModifier)));
        QVERIFY(shortcut->isRecording()); // Shift alone would take a capital letter from typing

        QVERIFY(shortcut->recordKey(Qt::Key_Escape, 0));
        QCOMPARE(shortcut->state(), State::Registered);
        QCOMPARE(shortcut->keysText(), QStringLiteral("Ctrl+Alt+E"));
        QVERIFY(!other.isFree('e'));
        QVERIFY(!shortcut->recordKey(Qt::Key_J, modifiersOf(Qt::ControlModifier)));
    }

    void aCombinationAnotherProgramHoldsIsRefusedWithAMessage()
    {
        OtherClient other;
        QVERIFY(other.grab('j'));
        auto shortcut = x11Shortcut();
        if (!shortcut)
            QSKIP("needs an X11 display");
        shortcut->startRecording();
        shortcut->recordKey(Qt::Key_J, modifiersOf(Qt::ControlModifier | Qt::AltModifier));
        QCOMPARE(shortcut->state(), State::Registered);
        QCOMPARE(shortcut->keysText(), QStringLiteral("Ctrl+Alt+E"));
        QCOMPARE(shortcut->statusText(),
                 QStringLiteral("Ctrl+Alt+J 已被其他程序占用，仍在用 Ctrl+Alt+E。"));
        QVERIFY(shortcut->hasProblem());
        QVERIFY(!other.isFree('e')); // the old one is held again
        QCOMPARE(QSettings().value(SettingsSchema::globalShortcut().key).toString(), QString());

        // At start, a stored combination that is taken says so and holds nothing.
        shortcut.reset();
        QSettings().setValue(SettingsSchema::globalShortcut().key, QStringLiteral("Ctrl+Alt+J"));
        shortcut = x11Shortcut();
        QCOMPARE(shortcut->state(), State::Failed);
        QCOMPARE(shortcut->statusText(),
                 QStringLiteral("Ctrl+Alt+J 已被其他程序占用，请换一个组合。"));
        QVERIFY(!shortcut->needsManualSetup());
        other.ungrab('j');
        QVERIFY(other.isFree('j', kNumLock)); // no lock variant of it was left grabbed
    }

    void pressingTheShortcutActivatesItOnce()
    {
        auto shortcut = x11Shortcut();
        if (!shortcut)
            QSKIP("needs an X11 display");
        QSignalSpy activated(shortcut.get(), &GlobalShortcut::activated);
        press(QStringLiteral("ctrl+alt+e"));
        QTRY_COMPARE(activated.count(), 1);
        press(QStringLiteral("ctrl+alt+k")); // not ours
        press(QStringLiteral("ctrl+e"));
        QTest::qWait(200);
        QCOMPARE(activated.count(), 1);
        // A key held down repeats; it is still one press.
        QCOMPARE(QProcess::execute(QStringLiteral("sh"),
                                   {QStringLiteral("-c"),
                                    QStringLiteral("xdotool keydown ctrl+alt+e; sleep 0.9; "
                                                   "xdotool keyup e keyup alt keyup ctrl")}),
                 0);
        QTRY_COMPARE(activated.count(), 2);
        QTest::qWait(200);
        QCOMPARE(activated.count(), 2);
        // While recording a new one, the old one does nothing.
        shortcut->startRecording();
        press(QStringLiteral("ctrl+alt+e"));
        QTest::qWait(200);
        QCOMPARE(activated.count(), 2);
    }

    // The floating page's panel, driven from the keyboard as a user would.

    void theFloatingPageRecordsAShortcutAndSwitchesStartAtLogin()
    {
        FloatingCardWindowController card(DesktopServices::panelHints());
        CustomGlossaryStore library(m_dir.filePath(QStringLiteral("MyGlossary.json")));
        ControlCenterModel model(&card, library, 200);
        GlobalShortcut shortcut(std::make_unique<FakeShortcutBackend>(std::nullopt));
        shortcut.start();
        const QString autostartPath = m_dir.filePath(QStringLiteral("page/autostart.desktop"));
        StartAtLogin autostart(std::make_unique<AutostartFile>(autostartPath));
        model.floating()->setDesktopIntegration(&shortcut, &autostart);

        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        ControlCenterWindow window(&engine, &model);
        window.show(true);
        QQuickView *view = window.window();
        QVERIFY(QTest::qWaitForWindowActive(view));
        QTest::qWait(ControlCenterWindow::kFocusResetMilliseconds + 50);
        auto *keys = view->rootObject()->findChild<QQuickItem *>(QStringLiteral("shortcutKeys"));
        auto *login = view->rootObject()->findChild<QQuickItem *>(QStringLiteral("launchAtLogin"));
        QVERIFY(keys && login);
        QVERIFY(keys->isVisible());

        keys->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(shortcut.isRecording());
        // Ctrl+, would open the settings anywhere else; here it is a combination to record.
        QTest::keyClick(view, Qt::Key_Comma, Qt::ControlModifier);
        QCOMPARE(shortcut.state(), State::Registered);
        QCOMPARE(QKeySequence(shortcut.keys()).toString(QKeySequence::PortableText),
                 QStringLiteral("Ctrl+,"));

        login->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(autostart.isEnabled());
        QVERIFY(QFile::exists(autostartPath));
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(!QFile::exists(autostartPath));

        // Leaving the combination while recording gives the old one back.
        keys->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(view, Qt::Key_Return);
        QVERIFY(shortcut.isRecording());
        login->forceActiveFocus(Qt::TabFocusReason);
        QCOMPARE(shortcut.state(), State::Registered);
        QCOMPARE(QKeySequence(shortcut.keys()).toString(QKeySequence::PortableText),
                 QStringLiteral("Ctrl+,"));
    }

    // Where nothing registers shortcuts.

    void withoutABackendTheRowExplainsTheManualWay()
    {
        GlobalShortcut shortcut(nullptr);
        shortcut.start();
        QCOMPARE(shortcut.state(), State::Unavailable);
        QVERIFY(shortcut.needsManualSetup());
        QVERIFY(shortcut.manualCommand().endsWith(QStringLiteral(" --selection")));
        QVERIFY(shortcut.manualSteps().contains(QStringLiteral("Ctrl+Alt+E")));
        shortcut.startRecording();
        QVERIFY(!shortcut.isRecording());
        shortcut.copyCommand();
        QCOMPARE(QGuiApplication::clipboard()->text(), shortcut.manualCommand());
    }

    void aStoredCombinationThatIsNoneFallsBackToTheDefault_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addRow("a good one")
            << QStringLiteral("Meta+Shift+L") << QStringLiteral("Meta+Shift+L");
        QTest::addRow("empty") << QString() << QStringLiteral("Ctrl+Alt+E");
        QTest::addRow("garbage") << QStringLiteral("nonsense+!") << QStringLiteral("Ctrl+Alt+E");
        QTest::addRow("no modifier") << QStringLiteral("E") << QStringLiteral("Ctrl+Alt+E");
        QTest::addRow("only shift") << QStringLiteral("Shift+E") << QStringLiteral("Ctrl+Alt+E");
        QTest::addRow("two chords")
            << QStringLiteral("Ctrl+K, Ctrl+E") << QStringLiteral("Ctrl+Alt+E");
    }

    void aStoredCombinationThatIsNoneFallsBackToTheDefault()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QSettings().setValue(SettingsSchema::globalShortcut().key, stored);
        const GlobalShortcut shortcut(std::make_unique<FakeShortcutBackend>(std::nullopt));
        QCOMPARE(QKeySequence(shortcut.keys()).toString(QKeySequence::PortableText), shown);
    }

    // The portal of a Wayland desktop.

    void thePortalTriggerIsWrittenAsTheSpecificationAsks_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("trigger");
        QTest::addRow("default") << QStringLiteral("Ctrl+Alt+E") << QStringLiteral("CTRL+ALT+e");
        QTest::addRow("super and shift")
            << QStringLiteral("Meta+Shift+F5") << QStringLiteral("SHIFT+LOGO+F5");
        QTest::addRow("space") << QStringLiteral("Ctrl+Space") << QStringLiteral("CTRL+space");
        QTest::addRow("digit") << QStringLiteral("Alt+7") << QStringLiteral("ALT+7");
    }

    void thePortalTriggerIsWrittenAsTheSpecificationAsks()
    {
        QFETCH(QString, keys);
        QFETCH(QString, trigger);
        QCOMPARE(PortalShortcut::triggerText(QKeySequence(keys)[0]), trigger);
    }

    void thePortalBindsTheShortcutAndReportsPresses()
    {
        FakePortal portal;
        if (!portal.isRunning())
            QSKIP("needs a session bus");
        portal.boundTrigger = QStringLiteral("Ctrl+Alt+E");
        GlobalShortcut shortcut(
            std::make_unique<PortalShortcut>(QDBusConnection::sessionBus(), nullptr));
        shortcut.start();
        QTRY_COMPARE(shortcut.state(), State::Registered);
        QCOMPARE(portal.preferredTriggers, QStringList{QStringLiteral("CTRL+ALT+e")});
        QVERIFY(
            shortcut.statusText().contains(QStringLiteral("桌面把 Ctrl+Alt+E 分配给了 Wordlumen")));
        QCOMPARE(portal.openSessions.size(), 1);

        QSignalSpy activated(&shortcut, &GlobalShortcut::activated);
        portal.activate(QLatin1StringView(PortalShortcut::kShortcutId));
        QTRY_COMPARE(activated.count(), 1);
        portal.activate(QStringLiteral("someone-else"));
        QTest::qWait(100);
        QCOMPARE(activated.count(), 1);

        // A new combination: the old session is closed and a new one bound.
        shortcut.startRecording();
        portal.boundTrigger = QStringLiteral("Ctrl+Alt+K");
        shortcut.recordKey(Qt::Key_K, modifiersOf(Qt::ControlModifier | Qt::AltModifier));
        QTRY_COMPARE(shortcut.state(), State::Registered);
        QCOMPARE(portal.preferredTriggers.constLast(), QStringLiteral("CTRL+ALT+k"));
        QTRY_COMPARE(portal.openSessions.size(), 1);
        QCOMPARE(shortcut.keysText(), QStringLiteral("Ctrl+Alt+K"));
    }

    void aRefusedBindShowsTheManualWay()
    {
        FakePortal portal;
        if (!portal.isRunning())
            QSKIP("needs a session bus");
        portal.refuseBinds = true;
        GlobalShortcut shortcut(
            std::make_unique<PortalShortcut>(QDBusConnection::sessionBus(), nullptr));
        shortcut.start();
        QTRY_COMPARE(shortcut.state(), State::Failed);
        QVERIFY(shortcut.needsManualSetup());
        QVERIFY(shortcut.hasProblem());
    }

    void withoutAPortalTheRowExplainsTheManualWay()
    {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("needs a session bus");
        GlobalShortcut shortcut(
            std::make_unique<PortalShortcut>(QDBusConnection::sessionBus(), nullptr));
        shortcut.start();
        QTRY_COMPARE(shortcut.state(), State::Unavailable);
        QVERIFY(shortcut.needsManualSetup());
        QVERIFY(shortcut.statusText().contains(QStringLiteral("自定义快捷键")));
    }
};

QTEST_MAIN(DesktopIntegrationTest)
#include "tst_desktopintegration.moc"
