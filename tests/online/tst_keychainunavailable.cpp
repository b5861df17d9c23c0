#include "online/apisettingscontroller.h"
#include "online/apisettingsnotifier.h"
#include "online/keychainstore.h"

#include <QCoreApplication>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace wordlumen;

/// Runs with the session bus pointing nowhere, as on a desktop without any keyring.
class KeychainUnavailableTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("Zintaro"));
        // A settings file of its own, so test executables may run in parallel.
        QCoreApplication::setApplicationName(QStringLiteral("Wordlumen-tst_keychainunavailable"));
        QSettings().clear();
        if (!qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS").contains(u"/nonexistent/"))
            QSKIP("Needs the unreachable session bus that ctest sets for this test.");
    }

    void readingGivesNoKey() { QCOMPARE(KeychainStore::readAPIKey(), QString()); }

    void savingFailsWithTheKeyringsOwnWords()
    {
        const auto saved = KeychainStore::saveAPIKey(QStringLiteral("sk-test"));
        QVERIFY(!saved);
        const QString prefix = QStringLiteral("API Key 保存失败：");
        QVERIFY2(saved.error().message().startsWith(prefix), qPrintable(saved.error().message()));
        QVERIFY(saved.error().message().size() > prefix.size());

        QSignalSpy posted(&ApiSettingsNotifier::instance(),
                          &ApiSettingsNotifier::apiSettingsDidChange);
        ApiSettingsController controller(ApiSettingsController::Screen::SettingsFace);
        controller.setApiKey(QStringLiteral("sk-test"));
        controller.save();
        QCOMPARE(controller.didSave(), false);
        QCOMPARE(controller.statusMessage(), saved.error().message());
        QCOMPARE(posted.count(), 0);
    }

    void deletingAndSavingEmptyStaySilent()
    {
        KeychainStore::deleteAPIKey();
        QVERIFY(KeychainStore::saveAPIKey(QStringLiteral("  ")));
    }
};

QTEST_GUILESS_MAIN(KeychainUnavailableTest)
#include "tst_keychainunavailable.moc"
