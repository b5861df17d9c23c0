// The settings schema: one entry per stored key, and the checks the terminal's
// config verb applies before it writes anything.

#include "core/settingsschema.h"

#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace wordlumen;

class SettingsSchemaTest : public QObject
{
    Q_OBJECT

private slots:
    void everyKeyIsDeclaredOnce()
    {
        QSet<QString> keys;
        for (const SettingSpec *spec : SettingsSchema::all()) {
            QVERIFY2(!keys.contains(spec->key), qPrintable(QString(spec->key)));
            keys.insert(spec->key);
            QCOMPARE(SettingsSchema::find(spec->key), spec);
            if (spec->type == SettingType::Choice) {
                QVERIFY(spec->choices.contains(spec->defaultValue.toString()));
            }
            if (spec->type == SettingType::Integer) {
                const qint64 fallback = spec->defaultValue.toLongLong();
                QVERIFY(spec->minimum <= fallback && fallback <= spec->maximum);
            }
        }
        QCOMPARE(SettingsSchema::find(u"noSuchSetting"), nullptr);
        // The keys other programs and earlier versions stored keep their names.
        for (const char *key :
             {"explanationAudience", "explanationLength", "customExplanationPerspective",
              "deepseekEndpoint", "deepseekModel", "floatingCardOriginX", "floatingCardOriginY",
              "floatingTriggerStyle", "globalShortcut", "historyEnabled", "historyLimit"})
            QVERIFY2(keys.contains(QLatin1String(key)), key);
    }

    void writesAreChecked_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("stored");
        const QVariant refused;
        QTest::addRow("a choice") << QStringLiteral("explanationLength") << QStringLiteral("brief")
                                  << QVariant(QStringLiteral("brief"));
        QTest::addRow("not a choice")
            << QStringLiteral("explanationLength") << QStringLiteral("short") << refused;
        QTest::addRow("a choice's case")
            << QStringLiteral("floatingTriggerStyle") << QStringLiteral("Wide") << refused;
        QTest::addRow("text as typed")
            << QStringLiteral("deepseekModel") << QStringLiteral(" any model ")
            << QVariant(QStringLiteral(" any model "));
        QTest::addRow("empty text") << QStringLiteral("customExplanationPerspective")
                                    << QStringLiteral("") << QVariant(QString());
        QTest::addRow("true") << QStringLiteral("historyEnabled") << QStringLiteral("true")
                              << QVariant(true);
        QTest::addRow("false") << QStringLiteral("historyEnabled") << QStringLiteral("false")
                               << QVariant(false);
        QTest::addRow("yes is no boolean")
            << QStringLiteral("historyEnabled") << QStringLiteral("yes") << refused;
        QTest::addRow("the range's low end")
            << QStringLiteral("historyLimit") << QStringLiteral("10") << QVariant(qint64(10));
        QTest::addRow("the range's high end")
            << QStringLiteral("historyLimit") << QStringLiteral("100000")
            << QVariant(qint64(100000));
        QTest::addRow("below the range")
            << QStringLiteral("historyLimit") << QStringLiteral("9") << refused;
        QTest::addRow("above the range")
            << QStringLiteral("historyLimit") << QStringLiteral("100001") << refused;
        QTest::addRow("no number")
            << QStringLiteral("historyLimit") << QStringLiteral("many") << refused;
        QTest::addRow("a fraction for an integer")
            << QStringLiteral("historyLimit") << QStringLiteral("12.5") << refused;
        QTest::addRow("a place") << QStringLiteral("floatingCardOriginX") << QStringLiteral("-12.5")
                                 << QVariant(-12.5);
    }
    void writesAreChecked()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QVariant, stored);
        const SettingSpec *spec = SettingsSchema::find(key);
        QVERIFY(spec);
        const std::optional<QVariant> parsed = spec->parse(text);
        QCOMPARE(parsed.has_value(), stored.isValid());
        if (parsed)
            QCOMPARE(*parsed, stored);
    }

    void storedValuesReadBack()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("s.conf")), QSettings::IniFormat);
        const SettingSpec &history = SettingsSchema::historyEnabled();
        QCOMPARE(history.storedText(settings), QStringLiteral("true")); // the default
        settings.setValue(history.key, false);
        settings.sync();
        // A settings file keeps the boolean as text; it reads back as one.
        QSettings reread(dir.filePath(QStringLiteral("s.conf")), QSettings::IniFormat);
        QCOMPARE(history.storedText(reread), QStringLiteral("false"));
        reread.setValue(history.key, QStringLiteral("garbage"));
        QCOMPARE(history.storedText(reread), QStringLiteral("true"));

        const SettingSpec &place = SettingsSchema::floatingCardOriginX();
        QVERIFY(!place.stored(settings).isValid()); // no place until one is chosen
        QCOMPARE(SettingsSchema::deepseekModel().stored(settings),
                 SettingsSchema::deepseekModel().defaultValue);
    }
};

QTEST_GUILESS_MAIN(SettingsSchemaTest)
#include "tst_settingsschema.moc"
