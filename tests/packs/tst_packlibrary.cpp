#include "packs/customglossarystore.h"
#include "packs/glossarylibraryfile.h"
#include "packs/glossarypackageparser.h"
#include "packs/isotimestamp.h"
#include "tests/support/literalrules.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

using namespace wordlumen;
using wordlumen::testing::literalMatch;

namespace {

const QDateTime kStart(QDate(2026, 3, 1), QTime(8, 15), QTimeZone::utc());

// Each reading of the clock is one minute later, so every import is newer
// than the one before it.
struct SteppingClock
{
    QDateTime next = kStart;
    CustomGlossaryStore::Clock function()
    {
        return [this] {
            const QDateTime now = next;
            next = next.addSecs(60);
            return now;
        };
    }
};

QString fixture(const QString &name)
{
    return QStringLiteral(WORDLUMEN_TEST_DATA_DIR "/packs/") + name;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A pack file with one entry per term; each explanation names its pack.
QString packText(const QString &industry, const QString &depth, const QStringList &terms,
                 const QString &tag = QString())
{
    QString text = QStringLiteral("# 补充包\n行业：%1\n词表深度：%2\n解释视角：给新人\n\n")
                       .arg(industry, depth);
    for (qsizetype i = 0; i < terms.size(); ++i)
        text += QStringLiteral("%1. %2\n解释：%3 %2\n\n").arg(i + 1).arg(terms[i], tag);
    return text;
}

QList<GlossaryPack> packsOnDisk(const QString &path)
{
    const auto contents = GlossaryLibraryFile::decode(readBytes(path));
    if (!contents)
        return {};
    return contents->packs;
}

QStringList explanations(const QList<CustomGlossaryEntry> &entries)
{
    QStringList result;
    for (const CustomGlossaryEntry &entry : entries)
        result.append(entry.explanation);
    return result;
}

CustomGlossaryEntry entry(const QString &term, const QStringList &aliases,
                          const QString &explanation)
{
    return {QUuid::createUuid(), term, aliases, explanation, kStart, kStart};
}

GlossaryPack pack(const QString &industry, QList<CustomGlossaryEntry> entries,
                  const QDateTime &importedAt, bool enabled = true)
{
    return {QUuid::createUuid(),
            industry,
            QStringLiteral("入门"),
            QStringLiteral("未标注"),
            industry + QStringLiteral(".md"),
            std::move(entries),
            importedAt,
            enabled};
}

} // namespace

class PackLibraryTest : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<QTemporaryDir> m_dir;
    SteppingClock m_clock;

    QString libraryPath() const
    {
        return m_dir->filePath(QStringLiteral("Zintaro/MyGlossary.json"));
    }

    std::unique_ptr<CustomGlossaryStore> openStore(const QString &path = QString())
    {
        return std::make_unique<CustomGlossaryStore>(m_clock.function(),
                                                     path.isEmpty() ? libraryPath() : path);
    }

    std::unique_ptr<CustomGlossaryStore> openFixture(const QString &name)
    {
        writeBytes(libraryPath(), readBytes(fixture(name)));
        return openStore();
    }

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        m_clock = SteppingClock{};
    }

    void missingFileIsAnEmptyLibrary()
    {
        auto store = openStore();
        QVERIFY(store->packs().isEmpty());
        QVERIFY(store->loadError().isEmpty());
        QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("Zintaro"))));

        QVERIFY(store->importText(
            packText(QStringLiteral("金融"), QStringLiteral("入门"), {QStringLiteral("ROE")}),
            QStringLiteral("金融.md")));
        QCOMPARE(packsOnDisk(libraryPath()), store->packs());
    }

    void readsTheCurrentAndThePreviousLayout_data()
    {
        QTest::addColumn<QString>("fixtureName");
        QTest::addRow("document") << QStringLiteral("library-v2.json");
        QTest::addRow("bare array of packs") << QStringLiteral("library-pack-array.json");
    }
    void readsTheCurrentAndThePreviousLayout()
    {
        QFETCH(QString, fixtureName);
        auto store = openFixture(fixtureName);
        QVERIFY2(store->loadError().isEmpty(), qPrintable(store->loadError()));

        // Newest import first, whatever the order in the file.
        QCOMPARE(store->packs().size(), 2);
        const GlossaryPack &finance = store->packs()[0];
        const GlossaryPack &ai = store->packs()[1];
        QCOMPARE(finance.industry, QStringLiteral("金融"));
        QCOMPARE(finance.id, QUuid::fromString(u"11111111-2222-4333-8444-555555555555"));
        QCOMPARE(finance.importedAt, kStart);
        QVERIFY(finance.isEnabled);
        QCOMPARE(finance.detail(), QStringLiteral("入门 · 给新人"));
        QCOMPARE(ai.industry, QStringLiteral("AI"));
        QVERIFY(!ai.isEnabled);
        // "未标注" is no detail worth showing.
        QCOMPARE(ai.detail(), QStringLiteral("入门"));
        QCOMPARE(ai.entries.first().aliases,
                 (QStringList{QStringLiteral("Retrieval-Augmented Generation"),
                              QStringLiteral("检索增强")}));
        QCOMPARE(ai.entries.first().createdAt,
                 QDateTime(QDate(2026, 2, 1), QTime(9, 0), QTimeZone::utc()));

        // Loading never rewrites the file, not even the older layout.
        QCOMPARE(readBytes(libraryPath()), readBytes(fixture(fixtureName)));
    }

    void migratesTheOldestLayoutAtOnce()
    {
        auto store = openFixture(QStringLiteral("library-legacy-entries.json"));
        QVERIFY2(store->loadError().isEmpty(), qPrintable(store->loadError()));
        QCOMPARE(store->packs().size(), 1);
        const GlossaryPack &pack = store->packs().first();
        QCOMPARE(pack.industry, QStringLiteral("旧版自定义词库"));
        QCOMPARE(pack.vocabularyDepth, QStringLiteral("未标注"));
        QCOMPARE(pack.explanationPerspective, QStringLiteral("未标注"));
        QCOMPARE(pack.sourceFileName, QStringLiteral("旧版本自动迁移"));
        QCOMPARE(pack.importedAt, kStart);
        QVERIFY(pack.isEnabled);
        QVERIFY(!pack.id.isNull());
        QCOMPARE(pack.entries.size(), 2);
        QCOMPARE(pack.entries[0].id, QUuid::fromString(u"C0FFEE00-1234-4567-89AB-CDEF01234567"));
        QCOMPARE(pack.entries[0].updatedAt,
                 QDateTime(QDate(2025, 11, 21), QTime(10, 0), QTimeZone::utc()));

        const QJsonObject written = QJsonDocument::fromJson(readBytes(libraryPath())).object();
        QCOMPARE(written.value(QStringLiteral("version")).toInt(), 2);
        QCOMPARE(packsOnDisk(libraryPath()), store->packs());
    }

    void emptyBareArrayIsAnEmptyLibrary()
    {
        writeBytes(libraryPath(), "[]");
        auto store = openStore();
        QVERIFY(store->packs().isEmpty());
        QVERIFY(store->loadError().isEmpty());
        QCOMPARE(readBytes(libraryPath()), QByteArray("[]"));
    }

    void unreadableFilesAreReported_data()
    {
        QTest::addColumn<QString>("fixtureName");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("where");
        const QString v2 = QStringLiteral("library-v2.json");
        const QString array = QStringLiteral("library-pack-array.json");
        const QString legacy = QStringLiteral("library-legacy-entries.json");
        const QString imported = QStringLiteral("\"importedAt\": \"2026-03-01T08:15:00Z\"");
        QTest::addRow("fractional seconds")
            << v2 << imported << QStringLiteral("\"importedAt\": \"2026-03-01T08:15:00.000Z\"")
            << QStringLiteral("packs[1].importedAt");
        QTest::addRow("offset instead of Z")
            << v2 << imported << QStringLiteral("\"importedAt\": \"2026-03-01T08:15:00+00:00\"")
            << QStringLiteral("packs[1].importedAt");
        QTest::addRow("date only")
            << v2 << imported << QStringLiteral("\"importedAt\": \"2026-03-01\"")
            << QStringLiteral("packs[1].importedAt");
        QTest::addRow("impossible date")
            << v2 << imported << QStringLiteral("\"importedAt\": \"2026-02-30T08:15:00Z\"")
            << QStringLiteral("packs[1].importedAt");
        QTest::addRow("missing key")
            << v2 << QStringLiteral("\"sourceFileName\": \"金融黑话补充包.md\",") << QString()
            << QStringLiteral("packs[1].sourceFileName");
        QTest::addRow("wrong type")
            << v2 << QStringLiteral("\"isEnabled\": true")
            << QStringLiteral("\"isEnabled\": \"yes\"") << QStringLiteral("packs[1].isEnabled");
        QTest::addRow("uuid with braces")
            << v2 << QStringLiteral("\"11111111-2222-4333-8444-555555555555\"")
            << QStringLiteral("\"{11111111-2222-4333-8444-555555555555}\"")
            << QStringLiteral("packs[1].id");
        QTest::addRow("entry time with fractions in a bare array of packs")
            << array << QStringLiteral("\"createdAt\": \"2026-03-01T08:15:00Z\"")
            << QStringLiteral("\"createdAt\": \"2026-03-01T08:15:00.5Z\"")
            << QStringLiteral("[1].entries[0].createdAt");
        QTest::addRow("entry without term in the oldest layout")
            << legacy << QStringLiteral("\"term\": \"令牌\",") << QString()
            << QStringLiteral("[0].term");
        QTest::addRow("not JSON") << v2 << QStringLiteral("\"version\": 2")
                                  << QStringLiteral("\"version\": ") << QStringLiteral("JSON");
    }
    void unreadableFilesAreReported()
    {
        QFETCH(QString, fixtureName);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, where);
        QString text = QString::fromUtf8(readBytes(fixture(fixtureName)));
        QVERIFY(text.contains(from));
        text.replace(from, to);
        const QByteArray bytes = text.toUtf8();
        writeBytes(libraryPath(), bytes);

        auto store = openStore();
        QVERIFY(store->packs().isEmpty());
        QVERIFY2(store->loadError().startsWith(QStringLiteral("本地补充包没有加载成功：")),
                 qPrintable(store->loadError()));
        QVERIFY2(store->loadError().contains(where), qPrintable(store->loadError()));
        QCOMPARE(readBytes(libraryPath()), bytes);
    }

    // A file the reader cannot take exactly as written is unreadable: reading
    // it leniently would lose the difference on the next write.
    void unreadableFileIsMovedAsideBeforeTheFirstWrite_data()
    {
        QTest::addColumn<QByteArray>("damaged");
        QTest::addRow("cut off") << QByteArray("{\"packs\": [{\"entries\": [");
        QTest::addRow("garbage after a NUL byte") << QByteArray("[]\0garbage", 10);
        QTest::addRow("a folder where the file should be") << QByteArray();
        QTest::addRow("lone surrogate escape")
            << QByteArray("[{\"id\": \"C0FFEE00-1234-4567-89AB-CDEF01234567\", \"term\": "
                          "\"\\ud800\", \"aliases\": [], \"explanation\": \"x\", "
                          "\"createdAt\": \"2026-03-01T08:15:00Z\", "
                          "\"updatedAt\": \"2026-03-01T08:15:00Z\"}]");
    }
    void unreadableFileIsMovedAsideBeforeTheFirstWrite()
    {
        QFETCH(QByteArray, damaged);
        if (damaged.isEmpty())
            QVERIFY(QDir().mkpath(libraryPath()));
        else
            writeBytes(libraryPath(), damaged);
        auto store = openStore();
        const QString aside =
            m_dir->filePath(QStringLiteral("Zintaro/MyGlossary.unreadable-20260301T081500Z.json"));
        // Said before anything happens, so the user knows the file is safe.
        QVERIFY2(store->loadError().contains(QDir::toNativeSeparators(aside)),
                 qPrintable(store->loadError()));
        QSignalSpy errorChanges(store.get(), &CustomGlossaryStore::loadErrorChanged);

        // Changes that write nothing leave the file where it is.
        QCOMPARE(store->setEnabled(false, QUuid::createUuid()).error().kind(),
                 PackError::Kind::PackageNotFound);
        QVERIFY(!QFileInfo::exists(aside));
        QCOMPARE(readBytes(libraryPath()), damaged);

        QVERIFY(store->importText(
            packText(QStringLiteral("金融"), QStringLiteral("入门"), {QStringLiteral("ROE")}),
            QStringLiteral("金融.md")));
        QCOMPARE(readBytes(aside), damaged);
        QCOMPARE(packsOnDisk(libraryPath()), store->packs());
        QVERIFY2(store->loadError().startsWith(QStringLiteral("本地补充包没有加载成功：")),
                 qPrintable(store->loadError()));
        QVERIFY2(store->loadError().contains(QStringLiteral("已移到 ") +
                                             QDir::toNativeSeparators(aside)),
                 qPrintable(store->loadError()));
        QCOMPARE(errorChanges.count(), 1);

        // Later writes neither move anything again nor hide where the old file went.
        const QString notice = store->loadError();
        QVERIFY(store->remove(store->packs().first().id));
        QCOMPARE(store->loadError(), notice);
        QCOMPARE(readBytes(aside), damaged);
        const QStringList files =
            QDir(m_dir->filePath(QStringLiteral("Zintaro")))
                .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        QCOMPARE(files,
                 (QStringList{QStringLiteral("MyGlossary.json"),
                              QStringLiteral("MyGlossary.unreadable-20260301T081500Z.json")}));

        // The next session reads the new file without complaint.
        QVERIFY(openStore()->loadError().isEmpty());
    }

    // Two libraries on one file stand for two programs: each change starts
    // from what the other wrote, and each shows the other's change.
    void changesStartFromWhatAnotherProgramWrote()
    {
        auto first = openStore();
        auto second = openStore();
        QVERIFY(first->importText(
            packText(QStringLiteral("金融"), QStringLiteral("入门"), {QStringLiteral("ROE")}),
            QStringLiteral("金融.md")));
        // The second has not looked at the file since it opened it.
        QVERIFY(second->packs().isEmpty());
        const auto medicine = second->importText(
            packText(QStringLiteral("医疗"), QStringLiteral("入门"), {QStringLiteral("DRG")}),
            QStringLiteral("医疗.md"));
        QVERIFY(medicine);
        QCOMPARE(second->packs().size(), 2);
        QCOMPARE(packsOnDisk(libraryPath()), second->packs());
        // Replacing a pack counts duplicates against the packs on disk too.
        const auto finance =
            second->importText(packText(QStringLiteral("金融"), QStringLiteral("入门"),
                                        {QStringLiteral("ROE"), QStringLiteral("DRG")}),
                               QStringLiteral("金融.md"));
        QVERIFY(finance);
        QVERIFY(finance->replacedExistingPack);
        QCOMPARE(finance->duplicateTermCount, 1);

        // A pack the first never saw can be switched off there, and one it
        // deletes stays deleted for both.
        QVERIFY(first->setEnabled(false, medicine->pack.id));
        QVERIFY(first->remove(finance->pack.id));
        QCOMPARE(first->packs().size(), 1);
        QVERIFY(!first->packs().first().isEnabled);
        QCOMPARE(packsOnDisk(libraryPath()), first->packs());

        // The second hears of it without doing anything.
        QSignalSpy changes(second.get(), &CustomGlossaryStore::packsChanged);
        QTRY_COMPARE(second->packs(), first->packs());
        QCOMPARE(changes.count(), 1);
    }

    // Another program's damaged write is shown as a load error, and the file
    // is kept aside before this library writes again.
    void damagedFileWrittenByAnotherProgramIsKeptAside()
    {
        auto store = openStore();
        QVERIFY(store->importText(
            packText(QStringLiteral("金融"), QStringLiteral("入门"), {QStringLiteral("ROE")}),
            QStringLiteral("金融.md")));
        const QByteArray damaged = "{\"packs\": [";
        QVERIFY(writeBytes(libraryPath(), damaged));
        QTRY_VERIFY(store->packs().isEmpty());
        QVERIFY2(store->loadError().startsWith(QStringLiteral("本地补充包没有加载成功：")),
                 qPrintable(store->loadError()));

        QVERIFY(store->importText(
            packText(QStringLiteral("医疗"), QStringLiteral("入门"), {QStringLiteral("DRG")}),
            QStringLiteral("医疗.md")));
        QCOMPARE(packsOnDisk(libraryPath()), store->packs());
        const QStringList aside = QDir(m_dir->filePath(QStringLiteral("Zintaro")))
                                      .entryList({QStringLiteral("*.unreadable-*")}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QCOMPARE(readBytes(m_dir->filePath(QStringLiteral("Zintaro/") + aside.first())), damaged);
    }

    // While another program holds the lock it may be halfway through a
    // change (a damaged file moved aside, the new one not yet written); what
    // it wrote is read once it lets go.
    void waitsForAnotherProgramToLetGoOfTheLock()
    {
        auto store = openStore();
        QSignalSpy changes(store.get(), &CustomGlossaryStore::packsChanged);
        QVERIFY(QDir().mkpath(QFileInfo(libraryPath()).absolutePath()));
        QLockFile held(libraryPath() + QStringLiteral(".lock"));
        QVERIFY(held.tryLock(0));
        const QList<GlossaryPack> written{
            pack(QStringLiteral("金融"), {entry(QStringLiteral("ROE"), {}, QStringLiteral("x"))},
                 kStart)};
        QVERIFY(writeBytes(libraryPath(), GlossaryLibraryFile::encode(written)));

        QTest::qWait(600);
        QVERIFY(store->packs().isEmpty());
        held.unlock();
        QTRY_COMPARE(store->packs(), written);
        QCOMPARE(changes.count(), 1);
    }

    void heldLockRefusesTheChange()
    {
        auto store = openStore();
        QVERIFY(QDir().mkpath(QFileInfo(libraryPath()).absolutePath()));
        QLockFile held(libraryPath() + QStringLiteral(".lock"));
        QVERIFY(held.tryLock(0));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("lock not taken")));
        const auto imported = store->importText(
            packText(QStringLiteral("金融"), QStringLiteral("入门"), {QStringLiteral("ROE")}),
            QStringLiteral("金融.md"));
        QVERIFY(!imported);
        QCOMPARE(imported.error().kind(), PackError::Kind::LibraryBusy);
        QVERIFY(store->packs().isEmpty());
        QVERIFY(!QFileInfo::exists(libraryPath()));
    }

    void lockLeftByAProgramThatDiedDoesNotBlock()
    {
        auto store = openStore();
        // What QLockFile writes, naming a process that no longer runs.
        QVERIFY(writeBytes(libraryPath() + QStringLiteral(".lock"),
                           "2147483000\nwordlumen-cli\n" + QSysInfo::machineHostName().toUtf8() +
                               "\n"));
        QVERIFY(store->importText(
            packText(QStringLiteral("金融"), QStringLiteral("入门"), {QStringLiteral("ROE")}),
            QStringLiteral("金融.md")));
        QCOMPARE(packsOnDisk(libraryPath()), store->packs());
        QVERIFY(!QFileInfo::exists(libraryPath() + QStringLiteral(".lock")));
    }

    void libraryFileIsPlainSortedJson()
    {
        // Text that JSON must escape, characters beyond the BMP, empty lists.
        const QList<GlossaryPack> packs{
            pack(QStringLiteral("引号\"反斜杠\\换行\n制表\t控制\u0001删除\u007f🚀\u2028"),
                 {entry(QStringLiteral("𝐀 term"), {}, QStringLiteral("a\r\nb")),
                  entry(QStringLiteral("x"), {QStringLiteral("\"q\""), QStringLiteral("/")},
                        QStringLiteral("y"))},
                 kStart, false),
            pack(QStringLiteral("空"), {}, kStart.addSecs(-60))};
        const QByteArray bytes = GlossaryLibraryFile::encode(packs);

        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        // Keys sorted at every level and pretty-printed: what QJsonDocument writes itself.
        QCOMPARE(bytes, document.toJson(QJsonDocument::Indented));
        const auto decoded = GlossaryLibraryFile::decode(bytes);
        QVERIFY(decoded);
        QCOMPARE(decoded->packs, packs);
    }

    void readsJsonWrittenByOtherTools()
    {
        // Compact, keys in another order, escapes of every kind, members it does not know.
        const QByteArray bytes = readBytes(fixture(QStringLiteral("library-other-tool.json")));
        QVERIFY(!QJsonDocument::fromJson(bytes).isNull());
        const auto decoded = GlossaryLibraryFile::decode(bytes);
        QVERIFY2(decoded, qPrintable(decoded ? QString() : decoded.error()));
        QCOMPARE(decoded->packs.size(), 1);
        const GlossaryPack &pack = decoded->packs.first();
        QCOMPARE(pack.industry, QStringLiteral("金融"));
        QCOMPARE(pack.explanationPerspective, QStringLiteral("未标注"));
        QCOMPARE(pack.entries.first().term, QStringLiteral("🚀 / \"q\""));
        QCOMPARE(pack.entries.first().explanation, QStringLiteral("line\nnext\ttab\\"));
        QCOMPARE(pack.entries.first().id,
                 QUuid::fromString(u"A1B2C3D4-E5F6-4711-8899-AABBCCDDEEFF"));
    }

    // Text comes back exactly as the file has it, whatever stands next to an escape.
    void readsTextExactly_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("text");
        QTest::addRow("byte order mark after an escape")
            << QByteArray("\"a\\n\xEF\xBB\xBF b\"") << QStringLiteral("a\n\uFEFF b");
        QTest::addRow("escaped byte order mark after an escape")
            << QByteArray("\"\\t\\ufeff\"") << QStringLiteral("\t\uFEFF");
        QTest::addRow("escaped surrogate pair")
            << QByteArray("\"\\uD83D\\uDE80!\"") << QStringLiteral("🚀!");
        QTest::addRow("noncharacter") << QByteArray("\"\xEF\xBF\xBF\"") << QStringLiteral("\uFFFF");
        // QJsonDocument alone drops a U+FEFF that opens a text, taking it for a byte order mark.
        QTest::addRow("byte order mark opening a text")
            << QByteArray("\"\xEF\xBB\xBFRAG\"") << QStringLiteral("\uFEFFRAG");
        QTest::addRow("only a byte order mark")
            << QByteArray("\"\xEF\xBB\xBF\"") << QStringLiteral("\uFEFF");
        QTest::addRow("two byte order marks")
            << QByteArray("\"\xEF\xBB\xBF\xEF\xBB\xBF\"") << QStringLiteral("\uFEFF\uFEFF");
    }
    void readsTextExactly()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, text);
        const QByteArray bytes =
            "[{\"id\": \"C0FFEE00-1234-4567-89AB-CDEF01234567\", \"term\": " + json +
            ", \"aliases\": [], \"explanation\": \"x\", \"createdAt\": \"2026-03-01T08:15:00Z\", "
            "\"updatedAt\": \"2026-03-01T08:15:00Z\"}]";
        const auto decoded = GlossaryLibraryFile::decode(bytes);
        QVERIFY2(decoded, qPrintable(decoded ? QString() : decoded.error()));
        QCOMPARE(decoded->legacyEntries.first().term, text);
        // And the writer keeps it: what is read survives the next write.
        GlossaryPack written = pack(QStringLiteral("p"), decoded->legacyEntries, kStart);
        const auto reread = GlossaryLibraryFile::decode(GlossaryLibraryFile::encode({written}));
        QVERIFY(reread);
        QCOMPARE(reread->packs.first().entries.first().term, text);
    }

    // Held to RFC 8259, a little stricter than QJsonDocument alone, which lets
    // raw control characters and unknown escapes through and turns a lone
    // surrogate escape into U+FFFD.
    void rejectsWhatIsNoJson_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addRow("trailing comma") << QByteArray("{\"packs\": [],}");
        QTest::addRow("unterminated text") << QByteArray("{\"packs\": [], \"x\": \"abc");
        QTest::addRow("raw line break in text") << QByteArray("{\"packs\": [], \"x\": \"a\nb\"}");
        QTest::addRow("unknown escape") << QByteArray("{\"packs\": [], \"x\": \"\\q\"}");
        QTest::addRow("short unicode escape") << QByteArray("{\"packs\": [], \"x\": \"\\u12\"}");
        QTest::addRow("invalid UTF-8") << QByteArray("{\"packs\": [], \"x\": \"\xC3\x28\"}");
        QTest::addRow("something after the value") << QByteArray("{\"packs\": []} []");
        QTest::addRow("bare word") << QByteArray("{\"packs\": [], \"x\": nothing}");
        QTest::addRow("number without digits") << QByteArray("{\"packs\": [], \"x\": -}");
        QTest::addRow("empty") << QByteArray();
        QTest::addRow("cut off inside a list") << QByteArray("{\"packs\": [");
        QTest::addRow("cut off after a key") << QByteArray("{\"packs\": [{\"id\":");
        QTest::addRow("garbage after a NUL byte") << QByteArray("[]\0garbage", 10);
        QTest::addRow("raw NUL in text") << QByteArray("{\"packs\": [], \"x\": \"a\0b\"}", 23);
        QTest::addRow("lone high surrogate escape")
            << QByteArray("{\"packs\": [], \"x\": \"\\ud800\"}");
        QTest::addRow("high surrogate escape before a letter")
            << QByteArray("{\"packs\": [], \"x\": \"\\ud800\\u0041\"}");
        QTest::addRow("lone low surrogate escape")
            << QByteArray("{\"packs\": [], \"x\": \"\\udc00\\ud800\"}");
        QTest::addRow("surrogate encoded in UTF-8")
            << QByteArray("{\"packs\": [], \"x\": \"\xED\xA0\x80\"}");
    }
    void rejectsWhatIsNoJson()
    {
        QFETCH(QByteArray, bytes);
        const auto decoded = GlossaryLibraryFile::decode(bytes);
        QVERIFY(!decoded);
        QVERIFY2(decoded.error().contains(QStringLiteral("JSON")) ||
                     decoded.error().contains(QStringLiteral("UTF-8")),
                 qPrintable(decoded.error()));
    }

    // A U+FEFF opening a text is kept by rewriting it as an escape before
    // QJsonDocument reads; a place named in a message is still the file's own.
    void namesPlacesInTheFileAfterAByteOrderMark()
    {
        const auto withMarks = GlossaryLibraryFile::decode(
            "{\"a\": \"\xEF\xBB\xBF\", \"b\": \"\xEF\xBB\xBFx\", \"packs\": [,]}");
        const auto withLetters =
            GlossaryLibraryFile::decode("{\"a\": \"abc\", \"b\": \"abcx\", \"packs\": [,]}");
        QVERIFY(!withMarks && !withLetters);
        QVERIFY(withLetters.error().contains(QStringLiteral("第 ")));
        QCOMPARE(withMarks.error(), withLetters.error());
    }

    // Keys too: 「\uFEFFpacks」 is no 「packs」, although QJsonDocument alone reads it so.
    void aKeyOpeningWithAByteOrderMarkIsAnotherKey()
    {
        const QByteArray bytes("{\"\xEF\xBB\xBFpacks\": [], \"version\": 2}");
        QVERIFY(QJsonDocument::fromJson(bytes).object().keys().contains(QStringLiteral("packs")));
        const auto decoded = GlossaryLibraryFile::decode(bytes);
        QVERIFY(!decoded);
        QCOMPARE(decoded.error(), QStringLiteral("packs 缺失"));
    }

    void importReplacesAnOlderVersionOfTheSamePack()
    {
        auto store = openStore();
        const auto first = store->importText(
            packText(QStringLiteral("Fintech"), QStringLiteral("入门"),
                     {QStringLiteral("ROE"), QStringLiteral("对冲")}, QStringLiteral("v1")),
            QStringLiteral("fintech.md"));
        QVERIFY(first);
        QVERIFY(!first->replacedExistingPack);
        QVERIFY(store->importText(
            packText(QStringLiteral("医疗"), QStringLiteral("入门"), {QStringLiteral("DRG")}),
            QStringLiteral("医疗.md")));
        QVERIFY(store->setEnabled(false, first->pack.id));

        // Labels that differ only in case: the same pack, named as the new file names it.
        const auto second = store->importText(
            packText(QStringLiteral("FINTECH"), QStringLiteral("入门"),
                     {QStringLiteral("ROE"), QStringLiteral("对冲"), QStringLiteral("杠杆")},
                     QStringLiteral("v2")),
            QStringLiteral("fintech-v2.md"));
        QVERIFY(second);
        QVERIFY(second->replacedExistingPack);
        // Its own earlier version is no other pack.
        QCOMPARE(second->duplicateTermCount, 0);
        QCOMPARE(second->pack.id, first->pack.id);
        QVERIFY(!second->pack.isEnabled);
        QCOMPARE(second->message(), QStringLiteral("已导入 FINTECH补充包 · 3 条，已更新旧版本"));

        // Newest first: the replaced pack moves to the front.
        QCOMPARE(store->packs().size(), 2);
        QCOMPARE(store->packs().first(), second->pack);
        QCOMPARE(store->packs().first().sourceFileName, QStringLiteral("fintech-v2.md"));
        QCOMPARE(explanations(store->packs().first().entries),
                 (QStringList{QStringLiteral("v2 ROE"), QStringLiteral("v2 对冲"),
                              QStringLiteral("v2 杠杆")}));

        // Another depth is another pack.
        const auto deeper = store->importText(
            packText(QStringLiteral("Fintech"), QStringLiteral("进阶"), {QStringLiteral("久期")}),
            QStringLiteral("fintech-advanced.md"));
        QVERIFY(deeper);
        QVERIFY(!deeper->replacedExistingPack);
        QCOMPARE(store->packs().size(), 3);
        QCOMPARE(packsOnDisk(libraryPath()), store->packs());
    }

    // A new version keeps its pack's id; lookups must answer from its entries,
    // not from names remembered for that id.
    void aNewVersionAnswersWithItsOwnEntries()
    {
        auto store = openStore();
        QVERIFY(store->importText(packText(QStringLiteral("金融"), QStringLiteral("入门"),
                                           {QStringLiteral("ROE"), QStringLiteral("对冲")},
                                           QStringLiteral("v1")),
                                  QStringLiteral("金融.md")));
        QCOMPARE(store->match(u"什么是 ROE")->explanation, QStringLiteral("v1 ROE"));

        QVERIFY(store->importText(packText(QStringLiteral("金融"), QStringLiteral("入门"),
                                           {QStringLiteral("对冲"), QStringLiteral("杠杆")},
                                           QStringLiteral("v2")),
                                  QStringLiteral("金融.md")));
        QVERIFY(!store->match(u"什么是 ROE"));
        QCOMPARE(store->match(u"对冲")->explanation, QStringLiteral("v2 对冲"));
        QCOMPARE(store->match(u"杠杆")->explanation, QStringLiteral("v2 杠杆"));
        QCOMPARE(store->catalogItems(), (QList<GlossaryCatalogItem>{{QStringLiteral("对冲"), {}},
                                                                    {QStringLiteral("杠杆"), {}}}));
    }

    void reimportedPackComesFirstWithinTheSameSecond()
    {
        CustomGlossaryStore store([] { return kStart; }, libraryPath());
        const QString finance =
            packText(QStringLiteral("金融"), QStringLiteral("入门"), {QStringLiteral("ROE")});
        QVERIFY(store.importText(finance, QStringLiteral("金融.md")));
        QVERIFY(store.importText(
            packText(QStringLiteral("医疗"), QStringLiteral("入门"), {QStringLiteral("DRG")}),
            QStringLiteral("医疗.md")));
        QCOMPARE(store.packs().first().industry, QStringLiteral("医疗"));
        QVERIFY(store.importText(finance, QStringLiteral("金融.md")));
        QCOMPARE(store.packs().first().industry, QStringLiteral("金融"));
        QCOMPARE(packsOnDisk(libraryPath()), store.packs());
    }

    void termsOfOtherPacksAreCountedNotDropped()
    {
        auto store = openStore();
        const auto other = store->importText(
            packText(QStringLiteral("AI"), QStringLiteral("入门"),
                     {QStringLiteral("RAG"), QStringLiteral("Token"), QStringLiteral("向量库")}),
            QStringLiteral("ai.md"));
        QVERIFY(other);
        // A switched-off pack still holds its terms.
        QVERIFY(store->setEnabled(false, other->pack.id));

        const auto summary = store->importText(
            QStringLiteral("行业：数据\n## ｒａｇ\n解释：a\n## token\n解释：b\n## 向量库\n解释：c\n"
                           "## 新词\n解释：d\n## 坏的\n"),
            QStringLiteral("data.md"));
        QVERIFY(summary);
        QCOMPARE(summary->duplicateTermCount, 3);
        QCOMPARE(summary->ignoredEntryCount, 1);
        QCOMPARE(summary->pack.entries.size(), 4);
        QCOMPARE(
            summary->message(),
            QStringLiteral("已导入 数据补充包 · 4 条，3 条与其他补充包重名，跳过 1 条不合格内容"));
    }

    void summaryMessages_data()
    {
        QTest::addColumn<QString>("industry");
        QTest::addColumn<int>("entryCount");
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<int>("duplicates");
        QTest::addColumn<int>("ignored");
        QTest::addColumn<QString>("message");
        QTest::addRow("fresh with one skipped")
            << QStringLiteral("金融") << 35 << false << 0 << 1
            << QStringLiteral("已导入 金融补充包 · 35 条，跳过 1 条不合格内容");
        QTest::addRow("industry already ends with the suffix")
            << QStringLiteral("法律补充包") << 2 << false << 0 << 0
            << QStringLiteral("已导入 法律补充包 · 2 条");
        QTest::addRow("everything") << QStringLiteral("医疗") << 10 << true << 2 << 3
                                    << QStringLiteral("已导入 医疗补充包 · 10 条，已更新旧版本，2 "
                                                      "条与其他补充包重名，跳过 3 条不合格内容");
        QTest::addRow("replaced only") << QStringLiteral("AI") << 1 << true << 0 << 0
                                       << QStringLiteral("已导入 AI补充包 · 1 条，已更新旧版本");
        QTest::addRow("duplicates only")
            << QStringLiteral("AI") << 5 << false << 5 << 0
            << QStringLiteral("已导入 AI补充包 · 5 条，5 条与其他补充包重名");
    }
    void summaryMessages()
    {
        QFETCH(QString, industry);
        QFETCH(int, entryCount);
        QFETCH(bool, replaced);
        QFETCH(int, duplicates);
        QFETCH(int, ignored);
        QFETCH(QString, message);
        GlossaryImportSummary summary;
        summary.pack.industry = industry;
        for (int i = 0; i < entryCount; ++i)
            summary.pack.entries.append(entry(QString::number(i), {}, QStringLiteral("x")));
        summary.replacedExistingPack = replaced;
        summary.duplicateTermCount = duplicates;
        summary.ignoredEntryCount = ignored;
        QCOMPARE(summary.message(), message);
    }

    void everyChangeIsWrittenBeforeItIsPublished()
    {
        auto store = openStore();
        QStringList violations;
        QObject context;
        connect(store.get(), &CustomGlossaryStore::packsChanged, &context, [&] {
            if (packsOnDisk(libraryPath()) != store->packs())
                violations.append(QStringLiteral("published before written"));
        });
        QSignalSpy changes(store.get(), &CustomGlossaryStore::packsChanged);
        QSignalSpy errorChanges(store.get(), &CustomGlossaryStore::loadErrorChanged);

        const QString text =
            packText(QStringLiteral("金融"), QStringLiteral("入门"), {QStringLiteral("ROE")});
        const auto imported = store->importText(text, QStringLiteral("金融.md"));
        QVERIFY(imported);
        QCOMPARE(changes.count(), 1);
        QVERIFY(store->importText(text, QStringLiteral("金融.md")));
        QCOMPARE(changes.count(), 2);
        QVERIFY(store->setEnabled(false, imported->pack.id));
        QCOMPARE(changes.count(), 3);
        QVERIFY(!store->packs().first().isEnabled);
        // No change, no notification.
        QVERIFY(store->setEnabled(false, imported->pack.id));
        QCOMPARE(changes.count(), 3);
        QVERIFY(store->remove(imported->pack.id));
        QCOMPARE(changes.count(), 4);
        QVERIFY(store->packs().isEmpty());
        QVERIFY(store->remove(imported->pack.id));
        QCOMPARE(changes.count(), 4);

        QCOMPARE(violations, QStringList());
        QCOMPARE(errorChanges.count(), 0);
        QCOMPARE(packsOnDisk(libraryPath()), store->packs());
    }

    void failedWriteChangesNothing_data()
    {
        QTest::addColumn<bool>("readOnlyDirectory");
        QTest::addRow("read-only directory") << true;
        // The temporary file beside the library needs a name longer than the
        // file system allows; this fails for every user, root included.
        QTest::addRow("no room for the temporary file") << false;
    }
    void failedWriteChangesNothing()
    {
        QFETCH(bool, readOnlyDirectory);
        const QString directory = m_dir->filePath(QStringLiteral("library"));
        const QString path = readOnlyDirectory
                                 ? directory + QStringLiteral("/MyGlossary.json")
                                 : directory + u'/' + QString(250, u'a') + QStringLiteral(".json");
        const QByteArray original = readBytes(fixture(QStringLiteral("library-v2.json")));
        QVERIFY(writeBytes(path, original));
        auto store = openStore(path);
        QVERIFY(store->loadError().isEmpty());
        const QList<GlossaryPack> before = store->packs();

        auto restore = qScopeGuard([&] {
            QFile::setPermissions(directory,
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        if (readOnlyDirectory) {
            QVERIFY(QFile::setPermissions(directory, QFile::ReadOwner | QFile::ExeOwner));
            QFile probe(directory + QStringLiteral("/probe"));
            if (probe.open(QIODevice::WriteOnly))
                QSKIP("File permissions do not bind for this user (root).");
        }

        QSignalSpy changes(store.get(), &CustomGlossaryStore::packsChanged);
        const auto imported = store->importText(
            packText(QStringLiteral("医疗"), QStringLiteral("入门"), {QStringLiteral("DRG")}),
            QStringLiteral("医疗.md"));
        const auto disabled = store->setEnabled(false, before.first().id);
        const auto removed = store->remove(before.first().id);
        for (const PackError &error : {imported.error(), disabled.error(), removed.error()}) {
            QCOMPARE(error.kind(), PackError::Kind::FileSystem);
            QVERIFY2(error.message().startsWith(QStringLiteral("无法保存补充包到 ")),
                     qPrintable(error.message()));
        }
        QCOMPARE(store->packs(), before);
        QCOMPARE(changes.count(), 0);
        QVERIFY(store->loadError().isEmpty());
        QCOMPARE(readBytes(path), original);
    }

    void enableAndDeleteOfMissingPacks()
    {
        auto store = openFixture(QStringLiteral("library-pack-array.json"));
        const QList<GlossaryPack> before = store->packs();
        QSignalSpy changes(store.get(), &CustomGlossaryStore::packsChanged);

        const auto enabled = store->setEnabled(true, QUuid::createUuid());
        QVERIFY(!enabled);
        QCOMPARE(enabled.error().kind(), PackError::Kind::PackageNotFound);
        QCOMPARE(enabled.error().message(), QStringLiteral("这个补充包已经不存在。"));
        QCOMPARE(readBytes(libraryPath()),
                 readBytes(fixture(QStringLiteral("library-pack-array.json"))));

        // Deleting what is gone succeeds and still writes: the file is now in the current layout.
        QVERIFY(store->remove(QUuid::createUuid()));
        QCOMPARE(store->packs(), before);
        QCOMPARE(changes.count(), 0);
        QVERIFY(QJsonDocument::fromJson(readBytes(libraryPath())).isObject());
        QCOMPARE(packsOnDisk(libraryPath()), before);
    }

    void writesWholeSecondsAndUpperCaseIds()
    {
        // The real clock, which has milliseconds to lose.
        CustomGlossaryStore store(libraryPath());
        QVERIFY(store.importText(packText(QStringLiteral("金融"), QStringLiteral("入门"),
                                          {QStringLiteral("ROE"), QStringLiteral("对冲")}),
                                 QStringLiteral("金融.md")));

        const QJsonObject document = QJsonDocument::fromJson(readBytes(libraryPath())).object();
        const QJsonObject pack =
            document.value(QStringLiteral("packs")).toArray().first().toObject();
        const QRegularExpression timestamp(
            QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ$"));
        const QRegularExpression uuid(
            QStringLiteral("^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$"));
        QVERIFY(timestamp.match(pack.value(QStringLiteral("importedAt")).toString()).hasMatch());
        QVERIFY(uuid.match(pack.value(QStringLiteral("id")).toString()).hasMatch());
        for (const QJsonValue &value : pack.value(QStringLiteral("entries")).toArray()) {
            const QJsonObject entry = value.toObject();
            QVERIFY(
                timestamp.match(entry.value(QStringLiteral("createdAt")).toString()).hasMatch());
            QVERIFY(
                timestamp.match(entry.value(QStringLiteral("updatedAt")).toString()).hasMatch());
            QVERIFY(uuid.match(entry.value(QStringLiteral("id")).toString()).hasMatch());
        }

        // What was published is exactly what the next session reads.
        CustomGlossaryStore reopened(libraryPath());
        QVERIFY(reopened.loadError().isEmpty());
        QCOMPARE(reopened.packs(), store.packs());
    }

    void importFile_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("error"); // -1: imported
        const QByteArray pack =
            packText(QStringLiteral("金融"), QStringLiteral("入门"), {QStringLiteral("ROE")})
                .toUtf8();
        QTest::addRow("md") << QStringLiteral("金融.md") << pack << -1;
        QTest::addRow("upper-case extension") << QStringLiteral("金融.MD") << pack << -1;
        QTest::addRow("markdown") << QStringLiteral("金融.markdown") << pack << -1;
        QTest::addRow("txt with byte order mark")
            << QStringLiteral("金融.txt") << QByteArray("\xEF\xBB\xBF") + pack << -1;
        QTest::addRow("pdf") << QStringLiteral("金融.pdf") << pack
                             << int(PackError::Kind::UnsupportedFileType);
        QTest::addRow("no extension")
            << QStringLiteral("金融") << pack << int(PackError::Kind::UnsupportedFileType);
        QTest::addRow("GBK") << QStringLiteral("gbk.txt") << QByteArray("## \xBD\xF0\xC8\xDA\n")
                             << int(PackError::Kind::NotUtf8);
        const QString text = QString::fromUtf8(pack);
        const QByteArray utf16(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        QTest::addRow("UTF-16 without byte order mark")
            << QStringLiteral("utf16.md") << utf16 << int(PackError::Kind::NotUtf8);
        QTest::addRow("UTF-16 with byte order mark")
            << QStringLiteral("utf16.md") << QByteArray("\xFF\xFE") + utf16
            << int(PackError::Kind::NotUtf8);
        QTest::addRow("ASCII as UTF-16 without byte order mark")
            << QStringLiteral("ascii16.md") << QByteArray("#\0#\0 \0R\0O\0E\0\n\0", 14)
            << int(PackError::Kind::NotUtf8);
        const qint64 limit = GlossaryPackageParser::kMaximumFileSize;
        QTest::addRow("exactly at the size limit")
            << QStringLiteral("金融.md") << pack + QByteArray(limit - pack.size(), ' ') << -1;
        QTest::addRow("one byte above the size limit")
            << QStringLiteral("金融.md") << pack + QByteArray(limit - pack.size() + 1, ' ')
            << int(PackError::Kind::FileTooLarge);
        QTest::addRow("missing") << QStringLiteral("missing.md") << QByteArray()
                                 << int(PackError::Kind::ReadFailed);
        QTest::addRow("blank") << QStringLiteral("blank.md") << QByteArray(" \n\n")
                               << int(PackError::Kind::EmptyFile);
    }
    void importFile()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(int, error);
        const QString path = m_dir->filePath(QStringLiteral("chosen/") + fileName);
        if (fileName != u"missing.md")
            QVERIFY(writeBytes(path, bytes));

        auto store = openStore();
        const auto summary = store->importFile(path);
        if (error >= 0) {
            QVERIFY(!summary);
            QCOMPARE(int(summary.error().kind()), error);
            QVERIFY(store->packs().isEmpty());
            QVERIFY(!QFileInfo::exists(libraryPath()));
            return;
        }
        QVERIFY2(summary, qPrintable(summary ? QString() : summary.error().message()));
        QCOMPARE(summary->pack.sourceFileName, fileName);
        QCOMPARE(summary->pack.industry, QStringLiteral("金融"));
        QCOMPARE(summary->pack.entries.first().term, QStringLiteral("ROE"));
    }

    // Refused before they are opened: opening a pipe waits for a writer and
    // reading a device never ends, so a wrong check hangs this test.
    void importRefusesWhatIsNoRegularFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addRow("folder") << QStringLiteral("folder");
        QTest::addRow("named pipe") << QStringLiteral("pipe");
        QTest::addRow("link to an endless device") << QStringLiteral("device");
    }
    void importRefusesWhatIsNoRegularFile()
    {
        QFETCH(QString, kind);
        const QString path = m_dir->filePath(QStringLiteral("special.md"));
        if (kind == u"folder") {
            QVERIFY(QDir().mkpath(path));
        } else if (kind == u"pipe") {
            QVERIFY2(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0, strerror(errno));
        } else {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        }
        auto store = openStore();
        const auto summary = store->importFile(path);
        QVERIFY(!summary);
        QCOMPARE(summary.error().kind(), PackError::Kind::NotRegularFile);
        QVERIFY(!QFileInfo::exists(libraryPath()));
    }

    void disabledPacksDoNotAnswer()
    {
        auto store = openFixture(QStringLiteral("library-v2.json"));
        const GlossaryPack ai = store->packs()[1];
        QVERIFY(!ai.isEnabled);
        QCOMPARE(store->entries(), store->packs()[0].entries);
        QCOMPARE(store->catalogItems(), (QList<GlossaryCatalogItem>{{QStringLiteral("ROE"), {}}}));
        QVERIFY(!store->match(u"RAG"));
        QVERIFY(!literalMatch(*store, u"RAG"));

        QVERIFY(store->setEnabled(true, ai.id));
        QCOMPARE(store->packs()[1].id, ai.id);
        QCOMPARE(store->match(u"什么是 RAG")->term, QStringLiteral("RAG"));
        QCOMPARE(store->catalogItems().size(), 2);
        QCOMPARE(store->catalogItems()[1].aliases, ai.entries.first().aliases);
        QCOMPARE(store->entries().first().term, QStringLiteral("ROE"));

        QVERIFY(store->setEnabled(false, ai.id));
        QVERIFY(!store->match(u"什么是 RAG"));
    }

    void matchFollowsTheRule_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("explanation"); // empty: no match
        QTest::addRow("term inside a question")
            << QStringLiteral("什么是RAG") << QStringLiteral("new RAG");
        QTest::addRow("alias equal to the query beats a containment")
            << QStringLiteral("RAG 检索") << QStringLiteral("old RAG 检索");
        QTest::addRow("alias of either width")
            << QStringLiteral("检索增强") << QStringLiteral("new RAG");
        QTest::addRow("longer name wins")
            << QStringLiteral("上下文窗口是什么") << QStringLiteral("new 上下文窗口");
        QTest::addRow("newer pack wins an exact tie")
            << QStringLiteral("token") << QStringLiteral("new Token");
        QTest::addRow("newer pack wins a containment tie")
            << QStringLiteral("Token 是什么") << QStringLiteral("new Token");
        QTest::addRow("earlier entry wins a tie")
            << QStringLiteral("向量库存") << QStringLiteral("new 向量");
        QTest::addRow("whole words only") << QStringLiteral("paragraph") << QString();
        QTest::addRow("a letter glues") << QStringLiteral("gpt-4o") << QString();
        QTest::addRow("hyphenated name")
            << QStringLiteral("gpt-4 和 gpt-3") << QStringLiteral("new GPT-4");
        QTest::addRow("only punctuation") << QStringLiteral("？？ ") << QString();
        QTest::addRow("part of a name is no match") << QStringLiteral("上下") << QString();
    }
    void matchFollowsTheRule()
    {
        QFETCH(QString, query);
        QFETCH(QString, explanation);
        auto store = openStore();
        QVERIFY(store->importText(
            QStringLiteral("行业：旧\n## RAG 检索\n解释：old RAG 检索\n## Token\n解释：old Token\n"
                           "## 上下文\n解释：old 上下文\n"),
            QStringLiteral("old.md")));
        QVERIFY(store->importText(
            QStringLiteral("行业：新\n## RAG\n别名：ＲＡＧ增强、检索增强\n解释：new RAG\n## "
                           "token\n解释：new Token\n"
                           "## 上下文窗口\n解释：new 上下文窗口\n## GPT-4\n解释：new GPT-4\n"
                           "## 向量\n解释：new 向量\n## 数据库\n别名：库存\n解释：new 数据库\n"),
            QStringLiteral("new.md")));

        const auto fast = store->match(query);
        const auto literal = literalMatch(*store, query);
        QCOMPARE(fast ? fast->explanation : QString(), explanation);
        QCOMPARE(literal ? literal->explanation : QString(), explanation);
    }

    void fastMatchAgreesWithTheLiteralRule()
    {
        // Names built from a small vocabulary so that queries hit, tie and
        // nearly-hit often: both widths, accents, hyphens, Latin next to Chinese.
        const QStringList words{
            QStringLiteral("rag"),   QStringLiteral("RAG"),   QStringLiteral("ＲＡＧ"),
            QStringLiteral("gpt"),   QStringLiteral("GPT-4"), QStringLiteral("4o"),
            QStringLiteral("token"), QStringLiteral("Café"),  QStringLiteral("上下文"),
            QStringLiteral("窗口"),  QStringLiteral("向量"),  QStringLiteral("检索"),
            QStringLiteral("增强"),  QStringLiteral("a"),     QStringLiteral("模型"),
            QStringLiteral("？"),    QStringLiteral("llm"),   QStringLiteral("k8s")};
        const QStringList glue{QString(),
                               QStringLiteral(" "),
                               QStringLiteral("-"),
                               QStringLiteral("的"),
                               QStringLiteral("，"),
                               QStringLiteral("_")};
        QRandomGenerator random(20260301);
        auto phrase = [&](int maxWords) {
            QString text;
            const int count = 1 + int(random.bounded(maxWords));
            for (int i = 0; i < count; ++i) {
                if (i > 0)
                    text += glue[random.bounded(glue.size())];
                text += words[random.bounded(words.size())];
            }
            return text;
        };

        QList<GlossaryPack> packs;
        for (int p = 0; p < 4; ++p) {
            QList<CustomGlossaryEntry> entries;
            for (int e = 0; e < 60; ++e) {
                QStringList aliases;
                for (int a = int(random.bounded(4)); a > 0; --a)
                    aliases.append(phrase(2));
                entries.append(entry(phrase(3), aliases, QStringLiteral("%1-%2").arg(p).arg(e)));
            }
            // Two packs share an import time, so the stable order matters too.
            packs.append(
                pack(QStringLiteral("p%1").arg(p), entries, kStart.addSecs(p / 2 * 60), p != 1));
        }
        writeBytes(libraryPath(), GlossaryLibraryFile::encode(packs));
        auto store = openStore();
        QVERIFY(store->loadError().isEmpty());

        auto compareAll = [&](const char *stage) {
            int hits = 0;
            for (int i = 0; i < 400; ++i) {
                const QString query = phrase(5);
                const auto fast = store->match(query);
                const auto literal = literalMatch(*store, query);
                if (fast != literal) {
                    QFAIL(qPrintable(
                        QStringLiteral("%1: %2 gives %3 instead of %4")
                            .arg(QLatin1String(stage), query,
                                 fast ? fast->explanation : QStringLiteral("nothing"),
                                 literal ? literal->explanation : QStringLiteral("nothing"))));
                }
                hits += fast ? 1 : 0;
            }
            // Most queries must hit, or the comparison proves little.
            QVERIFY2(hits > 300, qPrintable(QString::number(hits)));
        };
        compareAll("loaded");
        QVERIFY(store->setEnabled(true, store->packs()[2].id));
        QVERIFY(store->setEnabled(false, store->packs()[0].id));
        compareAll("after switching");
        m_clock.next = kStart.addDays(1);
        QVERIFY(store->importText(QStringLiteral("## ＲＡＧ\n解释：imported\n## 窗口\n解释：w"),
                                  QStringLiteral("new.md")));
        compareAll("after an import");
        QCOMPARE(store->match(u"rag")->explanation, QStringLiteral("imported"));
    }
};

QTEST_GUILESS_MAIN(PackLibraryTest)
#include "tst_packlibrary.moc"
