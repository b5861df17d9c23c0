#include "online/apisettingscontroller.h"
#include "online/apisettingsnotifier.h"
#include "online/keychainstore.h"
#include "online/qtkeychainsecretstore.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace wordlumen;

namespace {

constexpr auto kSecretService = "org.freedesktop.secrets";

bool secretServiceReachable()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    const QString name = QLatin1String(kSecretService);
    QDBusConnectionInterface *interface = bus.interface();
    return interface->isServiceRegistered(name) ||
           interface->activatableServiceNames().value().contains(name);
}

/// scripts/test runs the suite in a session whose keyring is thrown away afterwards.
bool inThrowAwaySession()
{
    return qEnvironmentVariableIsSet("WORDLUMEN_IN_SESSION");
}

} // namespace

/**
 * The key in a real Secret Service. Outside the throw-away session only an item
 * of a test service is touched, never the user's own key.
 */
class KeychainTest : public QObject
{
    Q_OBJECT

private:
    QtKeychainSecretStore m_store{
        QStringLiteral("com.zintaro.Wordlumen.tests"),
        QStringLiteral("deepseek-api-key-%1").arg(QCoreApplication::applicationPid())};

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("Zintaro"));
        // A settings file of its own, so test executables may run in parallel.
        QCoreApplication::setApplicationName(QStringLiteral("Wordlumen-tst_keychain"));
        if (!secretServiceReachable()) {
            if (inThrowAwaySession())
                QFAIL("The test session has no Secret Service: gnome-keyring did not start.");
            QSKIP("No Secret Service on the session bus. scripts/test runs this test against a "
                  "throw-away gnome-keyring (scripts/lib/headless-session).");
        }
    }
    void init() { KeychainStore::deleteAPIKey(m_store); }
    void cleanup() { KeychainStore::deleteAPIKey(m_store); }

    void saveUpdatesAndDeletes()
    {
        QByteArray data;
        QCOMPARE(m_store.read(&data).code, SecretStoreStatus::Code::ItemNotFound);
        QCOMPARE(m_store.update("sk-none").code, SecretStoreStatus::Code::ItemNotFound);
        QCOMPARE(KeychainStore::readAPIKey(m_store), QString());

        // First save: the update finds nothing, the add creates the item.
        QVERIFY(KeychainStore::saveAPIKey(m_store, QStringLiteral("  sk-first\n")));
        QCOMPARE(KeychainStore::readAPIKey(m_store), QStringLiteral("sk-first"));

        // Second save: the update replaces the data of the same item.
        QCOMPARE(m_store.update("sk-updated").code, SecretStoreStatus::Code::Success);
        QCOMPARE(KeychainStore::readAPIKey(m_store), QStringLiteral("sk-updated"));
        QVERIFY(KeychainStore::saveAPIKey(m_store, QStringLiteral("sk-密钥-ключ")));
        QCOMPARE(KeychainStore::readAPIKey(m_store), QStringLiteral("sk-密钥-ключ"));
        QVERIFY(m_store.read(&data).ok());
        QCOMPARE(data, QStringLiteral("sk-密钥-ключ").toUtf8());

        // A blank key removes the item; removing again is harmless.
        QVERIFY(KeychainStore::saveAPIKey(m_store, QStringLiteral(" \n")));
        QCOMPARE(m_store.read(&data).code, SecretStoreStatus::Code::ItemNotFound);
        KeychainStore::deleteAPIKey(m_store);
        QCOMPARE(KeychainStore::readAPIKey(m_store), QString());
    }

    void theApplicationsItemThroughTheSaveAction()
    {
        if (!inThrowAwaySession())
            QSKIP("Touches the application's own key item: only in the throw-away session.");
        QSettings().clear();
        KeychainStore::deleteAPIKey();
        QSignalSpy posted(&ApiSettingsNotifier::instance(),
                          &ApiSettingsNotifier::apiSettingsDidChange);

        ApiSettingsController center(ApiSettingsController::Screen::ControlCenter);
        QCOMPARE(center.apiKey(), QString());
        center.setApiKey(QStringLiteral(" sk-app\n"));
        center.save();
        QCOMPARE(center.statusMessage(), QStringLiteral("API 设置已保存。"));
        QCOMPARE(KeychainStore::readAPIKey(), QStringLiteral("sk-app"));
        QtKeychainSecretStore sameItem(QtKeychainSecretStore::kService,
                                       QtKeychainSecretStore::kAccount);
        QCOMPARE(KeychainStore::readAPIKey(sameItem), QStringLiteral("sk-app"));

        // A new screen starts from the stored key.
        ApiSettingsController face(ApiSettingsController::Screen::SettingsFace);
        QCOMPARE(face.apiKey(), QStringLiteral("sk-app"));
        face.clear();
        QCOMPARE(KeychainStore::readAPIKey(), QString());
        QCOMPARE(posted.count(), 2);

        // An http endpoint leaves the keyring untouched.
        KeychainStore::saveAPIKey(QStringLiteral("sk-kept"));
        center.setEndpoint(QStringLiteral("http://api.deepseek.com/chat/completions"));
        center.setApiKey(QStringLiteral("sk-other"));
        center.save();
        QCOMPARE(center.didSave(), false);
        QCOMPARE(KeychainStore::readAPIKey(), QStringLiteral("sk-kept"));
        KeychainStore::deleteAPIKey();
        QSettings().clear();
    }
};

QTEST_GUILESS_MAIN(KeychainTest)
#include "tst_keychain.moc"
