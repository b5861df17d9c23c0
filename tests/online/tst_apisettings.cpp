#include "core/settingsschema.h"
#include "desktop/platformwords.h"
#include "online/apisettings.h"
#include "online/apisettingscontroller.h"
#include "online/endpointrule.h"
#include "online/explanationpromptprofile.h"
#include "online/keychainstore.h"
#include "tests/support/fakesecretstore.h"

#include <QCoreApplication>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace wordlumen;
using namespace wordlumen::testing;

using Call = FakeSecretStore::Call;
using Screen = ApiSettingsController::Screen;

Q_DECLARE_METATYPE(wordlumen::testing::FakeSecretStore::Call)
Q_DECLARE_METATYPE(QList<wordlumen::testing::FakeSecretStore::Call>)

namespace {

const QString kInvalidEndpoint = QStringLiteral("API 地址格式不正确，请到设置里检查。");
#ifdef Q_OS_MACOS
const QString kInsecureEndpoint = QStringLiteral(
    "API 地址用 http 会让 Key 明文离开这台 Mac：请改用 https，局域网里的模型可经 SSH 隧道转到 "
    "localhost。");
#else
const QString kInsecureEndpoint = QStringLiteral(
    "API 地址用 http 会让 Key 明文离开这台电脑：请改用 https，局域网里的模型可经 SSH 隧道转到 "
    "localhost。");
#endif

} // namespace

class ApiSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    // The schema lists the stored forms the profile reads back.
    void theSchemaOffersTheStoredFormsOfTheStyle()
    {
        QStringList audiences;
        for (const ExplanationAudience audience : allExplanationAudiences())
            audiences.append(toString(audience));
        QCOMPARE(SettingsSchema::explanationAudience().choices, audiences);
        QCOMPARE(SettingsSchema::explanationAudience().defaultValue.toString(),
                 toString(ExplanationPromptProfile().audience));
        QStringList lengths;
        for (const ExplanationLength length : allExplanationLengths())
            lengths.append(toString(length));
        QCOMPARE(SettingsSchema::explanationLength().choices, lengths);
        QCOMPARE(SettingsSchema::explanationLength().defaultValue.toString(),
                 toString(ExplanationPromptProfile().length));
    }

    void textsNameThisSystemsComputerAndSecretStore()
    {
        const QString mac =
            QStringLiteral("Key 只保存在这台 Mac 的钥匙串里。API Key 已从钥匙串删除。");
        QCOMPARE(PlatformWords::localized(mac, SystemKind::MacOS), mac);
        const QString elsewhere =
            QStringLiteral("Key 只保存在这台电脑的系统密钥环里。API Key 已从系统密钥环删除。");
        QCOMPARE(PlatformWords::localized(mac, SystemKind::Windows), elsewhere);
        QCOMPARE(PlatformWords::localized(mac, SystemKind::FreeDesktop), elsewhere);
        // The program says what is true of the system it runs on.
        QCOMPARE(PlatformWords::localized(mac), elsewhere);
    }

    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("Zintaro"));
        // A settings file of its own, so test executables may run in parallel.
        QCoreApplication::setApplicationName(QStringLiteral("Wordlumen-tst_apisettings"));
    }
    void init() { QSettings().clear(); }
    void cleanupTestCase() { QSettings().clear(); }

    void storedPreferencesFallBackOnlyWhenAbsent()
    {
        QCOMPARE(ApiSettings::endpointText(),
                 QStringLiteral("https://api.deepseek.com/chat/completions"));
        QCOMPARE(ApiSettings::model(), QStringLiteral("deepseek-v4-flash"));

        ApiSettings::setEndpointText(QString());
        ApiSettings::setModel(QString());
        QCOMPARE(ApiSettings::endpointText(), QString());
        QCOMPARE(ApiSettings::model(), QString());

        ApiSettings::setEndpointText(QStringLiteral(" https://example.org/v1 "));
        QCOMPARE(QSettings().value(QStringLiteral("deepseekEndpoint")).toString(),
                 QStringLiteral(" https://example.org/v1 "));
    }

    void oneRuleForRequestsAndSaving_data()
    {
        QTest::addColumn<QString>("endpoint");
        QTest::addColumn<QString>("requestRefusal");
        QTest::addColumn<QString>("saveRefusal");
        const QString ok;
        const QString insecure = kInsecureEndpoint;
        const QString invalid = kInvalidEndpoint;
        QTest::addRow("https") << QStringLiteral("https://api.deepseek.com/chat/completions") << ok
                               << ok;
        QTest::addRow("http to 127.0.0.1")
            << QStringLiteral("http://127.0.0.1:11434/v1/chat/completions") << ok << ok;
        QTest::addRow("http to 127.x.y.z") << QStringLiteral("http://127.20.30.40:9/") << ok << ok;
        QTest::addRow("http to ::1") << QStringLiteral("http://[::1]:8080/chat") << ok << ok;
        QTest::addRow("http to localhost")
            << QStringLiteral("http://localhost:8080/chat") << ok << ok;
        QTest::addRow("http to LOCALHOST")
            << QStringLiteral("http://LOCALHOST:8080/chat") << ok << ok;
        QTest::addRow("http to another host")
            << QStringLiteral("http://api.deepseek.com/chat/completions") << insecure << insecure;
        QTest::addRow("http to a LAN address")
            << QStringLiteral("http://192.168.1.20:8080/") << insecure << insecure;
        QTest::addRow("http to a name starting with localhost")
            << QStringLiteral("http://localhost.example.org/") << insecure << insecure;
        // Requests read the parsed URL; saving reads the scheme as it was typed.
        QTest::addRow("https in capitals")
            << QStringLiteral("HTTPS://api.deepseek.com/chat") << ok << invalid;
        QTest::addRow("https mixed case")
            << QStringLiteral("Https://api.deepseek.com/chat") << ok << invalid;
        QTest::addRow("local http in capitals")
            << QStringLiteral("HTTP://127.0.0.1:9/chat") << ok << invalid;
        QTest::addRow("other scheme")
            << QStringLiteral("ftp://127.0.0.1/chat") << invalid << invalid;
        QTest::addRow("file") << QStringLiteral("file:///etc/hosts") << invalid << invalid;
        QTest::addRow("no host") << QStringLiteral("https:///chat") << invalid << invalid;
        QTest::addRow("does not parse")
            << QStringLiteral("https://api deepseek com/chat") << invalid << invalid;
        QTest::addRow("no scheme")
            << QStringLiteral("api.deepseek.com/chat/completions") << invalid << invalid;
        QTest::addRow("empty") << QString() << invalid << invalid;
    }
    void oneRuleForRequestsAndSaving()
    {
        QFETCH(QString, endpoint);
        QFETCH(QString, requestRefusal);
        QFETCH(QString, saveRefusal);
        const auto parsed = EndpointRule::parse(endpoint);
        QCOMPARE(parsed ? QString() : parsed.error().message(), requestRefusal);
        const auto refused = EndpointRule::saveRefusal(endpoint);
        QCOMPARE(refused ? refused->message() : QString(), saveRefusal);
    }

    void saveChecksTheStoredEndpointFirst_data()
    {
        QTest::addColumn<QString>("endpoint");
        QTest::addColumn<QString>("refusal");
        QTest::addRow("http to another host")
            << QStringLiteral("http://api.deepseek.com/chat/completions") << kInsecureEndpoint;
        QTest::addRow("https in capitals")
            << QStringLiteral("HTTPS://api.deepseek.com/chat") << kInvalidEndpoint;
        QTest::addRow("does not parse")
            << QStringLiteral("https://api deepseek com/chat") << kInvalidEndpoint;
        QTest::addRow("a local model")
            << QStringLiteral("http://127.0.0.1:11434/v1/chat/completions") << QString();
    }
    void saveChecksTheStoredEndpointFirst()
    {
        QFETCH(QString, endpoint);
        QFETCH(QString, refusal);
        FakeSecretStore store;
        store.item = QByteArrayLiteral("sk-old");
        ApiSettingsController controller(Screen::ControlCenter, &store);
        controller.setEndpoint(endpoint);
        controller.setApiKey(QStringLiteral("sk-new"));
        store.calls.clear();
        QSignalSpy posted(&ApiSettingsNotifier::instance(),
                          &ApiSettingsNotifier::apiSettingsDidChange);

        controller.save();
        // The endpoint stays stored as typed either way.
        QCOMPARE(ApiSettings::endpointText(), endpoint);
        if (!refusal.isEmpty()) {
            QCOMPARE(controller.statusMessage(), refusal);
            QCOMPARE(controller.didSave(), false);
            QCOMPARE(store.calls, QList<Call>());
            QCOMPARE(*store.item, QByteArrayLiteral("sk-old"));
            QCOMPARE(posted.count(), 0);
            return;
        }
        QCOMPARE(controller.statusMessage(), QStringLiteral("API 设置已保存。"));
        QCOMPARE(controller.didSave(), true);
        QCOMPARE(*store.item, QByteArrayLiteral("sk-new"));
        QCOMPARE(posted.count(), 1);
    }

    void saveStoresTheKeyWithEachScreensMessage_data()
    {
        QTest::addColumn<Screen>("screen");
        QTest::addColumn<QByteArray>("existing");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<Call>>("calls");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("message");

        const QByteArray none;
        QTest::addRow("face, first key is added")
            << Screen::SettingsFace << none << QStringLiteral("sk-1")
            << QList<Call>{Call::Update, Call::Add} << QByteArray("sk-1")
            << QStringLiteral("已保存，可以解释词典外的新词。");
        QTest::addRow("face, existing key is updated, trimmed")
            << Screen::SettingsFace << QByteArray("sk-old") << QStringLiteral("  sk-2\n")
            << QList<Call>{Call::Update} << QByteArray("sk-2")
            << QStringLiteral("已保存，可以解释词典外的新词。");
        QTest::addRow("face, blank key removes the item")
            << Screen::SettingsFace << QByteArray("sk-old") << QStringLiteral(" \n ")
            << QList<Call>{Call::Remove} << none << QStringLiteral("已保存；当前只用本地词典。");
        QTest::addRow("control center, key")
            << Screen::ControlCenter << none << QStringLiteral("\tsk-3 ")
            << QList<Call>{Call::Update, Call::Add} << QByteArray("sk-3")
            << QStringLiteral("API 设置已保存。");
        QTest::addRow("control center, empty key without an item")
            << Screen::ControlCenter << none << QString() << QList<Call>{Call::Remove} << none
            << QStringLiteral("已保存，本地词库优先。");
    }
    void saveStoresTheKeyWithEachScreensMessage()
    {
        QFETCH(Screen, screen);
        QFETCH(QByteArray, existing);
        QFETCH(QString, typed);
        QFETCH(QList<Call>, calls);
        QFETCH(QByteArray, stored);
        QFETCH(QString, message);

        FakeSecretStore store;
        if (!existing.isNull())
            store.item = existing;
        ApiSettingsController controller(screen, &store);
        QCOMPARE(controller.apiKey(), QString::fromUtf8(existing));
        QCOMPARE(controller.hasStatusMessage(), false);
        controller.setApiKey(typed);
        store.calls.clear();
        QSignalSpy posted(&ApiSettingsNotifier::instance(),
                          &ApiSettingsNotifier::apiSettingsDidChange);

        controller.save();
        QCOMPARE(store.calls, calls);
        QCOMPARE(store.item.value_or(QByteArray()), stored);
        QCOMPARE(controller.statusMessage(), message);
        QCOMPARE(controller.didSave(), true);
        QCOMPARE(posted.count(), 1);
    }

    void keyringFailuresAreShownAndNothingIsPosted_data()
    {
        QTest::addColumn<QByteArray>("existing");
        QTest::addColumn<Call>("failing");
        QTest::addColumn<QString>("platformMessage");
        QTest::addColumn<QList<Call>>("calls");
        QTest::addColumn<QString>("message");
        QTest::addRow("update fails, no add is tried")
            << QByteArray("sk-old") << Call::Update << QStringLiteral("The collection is locked")
            << QList<Call>{Call::Update}
            << QStringLiteral("API Key 保存失败：The collection is locked");
        QTest::addRow("add fails")
            << QByteArray() << Call::Add << QStringLiteral("No keychain service available")
            << QList<Call>{Call::Update, Call::Add}
            << QStringLiteral("API Key 保存失败：No keychain service available");
        QTest::addRow("no words from the keyring")
            << QByteArray() << Call::Update << QString() << QList<Call>{Call::Update}
            << QStringLiteral("API Key 保存失败：未知错误");
    }
    void keyringFailuresAreShownAndNothingIsPosted()
    {
        QFETCH(QByteArray, existing);
        QFETCH(Call, failing);
        QFETCH(QString, platformMessage);
        QFETCH(QList<Call>, calls);
        QFETCH(QString, message);

        FakeSecretStore store;
        if (!existing.isNull())
            store.item = existing;
        store.failWith(failing, SecretStoreStatus::failure(7, platformMessage));
        ApiSettingsController controller(Screen::SettingsFace, &store);
        controller.setApiKey(QStringLiteral("sk-new"));
        store.calls.clear();
        QSignalSpy posted(&ApiSettingsNotifier::instance(),
                          &ApiSettingsNotifier::apiSettingsDidChange);

        controller.save();
        QCOMPARE(store.calls, calls);
        QCOMPARE(store.item.value_or(QByteArray()), existing);
        QCOMPARE(controller.statusMessage(), message);
        QCOMPARE(controller.didSave(), false);
        QCOMPARE(posted.count(), 0);

        // The next successful save turns the message back to the success look.
        store.stopFailing();
        QSignalSpy didSaveChanged(&controller, &ApiSettingsController::didSaveChanged);
        controller.save();
        QCOMPARE(controller.didSave(), true);
        QCOMPARE(didSaveChanged.count(), 1);
    }

    void clearEmptiesTheFieldAndRemovesTheItem_data()
    {
        QTest::addColumn<bool>("hadItem");
        QTest::addColumn<bool>("removeFails");
        QTest::addRow("item") << true << false;
        QTest::addRow("no item") << false << false;
        QTest::addRow("keyring refuses, silently") << true << true;
    }
    void clearEmptiesTheFieldAndRemovesTheItem()
    {
        QFETCH(bool, hadItem);
        QFETCH(bool, removeFails);
        FakeSecretStore store;
        if (hadItem)
            store.item = QByteArrayLiteral("sk-old");
        if (removeFails)
            store.failWith(Call::Remove, SecretStoreStatus::failure(1, QStringLiteral("locked")));
        ApiSettingsController controller(Screen::SettingsFace, &store);
        QCOMPARE(controller.apiKey(), hadItem ? QStringLiteral("sk-old") : QString());
        store.calls.clear();
        QSignalSpy posted(&ApiSettingsNotifier::instance(),
                          &ApiSettingsNotifier::apiSettingsDidChange);

        controller.clear();
        QCOMPARE(controller.apiKey(), QString());
        QCOMPARE(store.calls, QList<Call>{Call::Remove});
        QCOMPARE(store.item.has_value(), removeFails);
        QCOMPARE(controller.didSave(), true);
#ifdef Q_OS_MACOS
        QCOMPARE(controller.statusMessage(), QStringLiteral("API Key 已从钥匙串删除。"));
#else
        QCOMPARE(controller.statusMessage(), QStringLiteral("API Key 已从系统密钥环删除。"));
#endif
        QCOMPARE(posted.count(), 1);
    }

    void readingTheKeyNeverFails()
    {
        FakeSecretStore store;
        QCOMPARE(KeychainStore::readAPIKey(store), QString());
        store.item = QByteArrayLiteral(" sk-\xe5\xaf\x86\n");
        QCOMPARE(KeychainStore::readAPIKey(store), QStringLiteral(" sk-密\n"));
        store.item = QByteArrayLiteral("sk-\xff\xfe");
        QCOMPARE(KeychainStore::readAPIKey(store), QString());
        store.item = QByteArrayLiteral("sk-ok");
        store.failWith(Call::Read, SecretStoreStatus::failure(5, QStringLiteral("no bus")));
        QCOMPARE(KeychainStore::readAPIKey(store), QString());
    }

    void editsAreStoredAtOnceAndFollowedByTheOtherScreen()
    {
        FakeSecretStore store;
        ApiSettingsController face(Screen::SettingsFace, &store);
        ApiSettingsController center(Screen::ControlCenter, &store);
        QCOMPARE(face.endpoint(), ApiSettings::defaultEndpoint());
        QSignalSpy endpointChanged(&center, &ApiSettingsController::endpointChanged);
        QSignalSpy modelChanged(&center, &ApiSettingsController::modelChanged);
        QSignalSpy posted(&ApiSettingsNotifier::instance(),
                          &ApiSettingsNotifier::apiSettingsDidChange);

        face.setEndpoint(QStringLiteral("https://llm.example.org/v1/chat/completions"));
        face.setModel(QStringLiteral("m-2"));
        QCOMPARE(ApiSettings::endpointText(),
                 QStringLiteral("https://llm.example.org/v1/chat/completions"));
        QCOMPARE(ApiSettings::model(), QStringLiteral("m-2"));
        QCOMPARE(center.endpoint(), QStringLiteral("https://llm.example.org/v1/chat/completions"));
        QCOMPARE(center.model(), QStringLiteral("m-2"));
        QCOMPARE(endpointChanged.count(), 1);
        QCOMPARE(modelChanged.count(), 1);
        // Typing is not saving.
        QCOMPARE(posted.count(), 0);
        QCOMPARE(store.calls, (QList<Call>{Call::Read, Call::Read}));
    }
};

QTEST_GUILESS_MAIN(ApiSettingsTest)
#include "tst_apisettings.moc"
