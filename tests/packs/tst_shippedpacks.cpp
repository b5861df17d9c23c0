// The packs that ship with the program are product, tested like code: each
// reads whole through the real parser, every explanation fits the card, no
// name leads to two places, none takes a question away from the built-in
// dictionary, and the questions people really type reach the entry meant.
#include "core/answertext.h"
#include "core/glossarystore.h"
#include "core/termkey.h"
#include "core/textmetrics.h"
#include "packs/bundledpacks.h"
#include "packs/customglossarystore.h"
#include "packs/glossarypackageparser.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace wordlumen;

namespace {

const QString kSourcePacks = QStringLiteral(WORDLUMEN_SOURCE_DIR "/resources/packs");
const QString kSourceDictionary = QStringLiteral(WORDLUMEN_SOURCE_DIR "/resources");
const QString kQueries = QStringLiteral(WORDLUMEN_TEST_DATA_DIR "/packqueries");

// The card's lengths: the brief cut must end at a sentence end, the standard
// length must never cut. Below the minimum an answer explains too little.
constexpr int kBriefLength = 60;
constexpr qsizetype kStandardLength = 100;
constexpr qsizetype kMinimumLength = 40;

const QString kSentenceStops = QStringLiteral("。！？!?");

// Each problem on a line of its own (a failure message is cut at 1,000
// characters), then one failure that counts them.
void verifyNoProblems(const QStringList &problems)
{
    for (const QString &problem : problems)
        qInfo().noquote() << problem;
    QVERIFY2(problems.isEmpty(),
             qPrintable(QStringLiteral("%1 problems, listed above").arg(problems.size())));
}

QString readText(const QString &path)
{
    auto text = CustomGlossaryStore::readPackFile(path);
    return text ? text.value() : QString();
}

struct ShippedPack
{
    BundledPack pack;
    QString text;
    GlossaryPackDraft draft;
};

// Where a name leads: the entry and the pack that holds it.
struct Place
{
    QString slug;
    QString term;
};

QString describe(const Place &place)
{
    return QStringLiteral("%1「%2」").arg(place.slug, place.term);
}

} // namespace

class ShippedPacksTest : public QObject
{
    Q_OBJECT

private:
    QList<ShippedPack> m_packs;
    GlossaryStore m_dictionary;
    QTemporaryDir m_dir;
    // Every shipped pack imported, in the order offered and in the reverse
    // order: which pack was added last must not change an answer.
    std::unique_ptr<CustomGlossaryStore> m_library;
    std::unique_ptr<CustomGlossaryStore> m_reversedLibrary;

    const ShippedPack *shipped(const QString &slug) const
    {
        for (const ShippedPack &pack : m_packs) {
            if (pack.pack.slug == slug)
                return &pack;
        }
        return nullptr;
    }

    // The pack of the library that holds an entry (by its id).
    static QString sourceOf(const CustomGlossaryStore &library, const CustomGlossaryEntry &entry)
    {
        for (const GlossaryPack &pack : library.packs()) {
            for (const CustomGlossaryEntry &candidate : pack.entries) {
                if (candidate.id == entry.id)
                    return QFileInfo(pack.sourceFileName).completeBaseName();
            }
        }
        return {};
    }

    void addSlugRows()
    {
        QTest::addColumn<QString>("slug");
        for (const QString &slug : BundledPacks::slugs())
            QTest::newRow(qPrintable(slug)) << slug;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        auto dictionary = GlossaryStore::loadFromDirectory(kSourceDictionary);
        QVERIFY2(dictionary, qPrintable(dictionary ? QString() : dictionary.error().message()));
        m_dictionary = std::move(dictionary).value();

        const QList<BundledPack> packs = BundledPacks::load(kSourcePacks);
        QCOMPARE(packs.size(), BundledPacks::slugs().size());
        for (const BundledPack &pack : packs) {
            const QString text = readText(pack.filePath);
            auto draft = GlossaryPackageParser::parse(text, QFileInfo(pack.filePath).fileName());
            QVERIFY2(draft, qPrintable(pack.slug));
            m_packs.append({pack, text, std::move(draft).value()});
        }

        m_library = std::make_unique<CustomGlossaryStore>(m_dir.filePath(QStringLiteral("a.json")));
        m_reversedLibrary =
            std::make_unique<CustomGlossaryStore>(m_dir.filePath(QStringLiteral("b.json")));
        for (qsizetype i = 0; i < packs.size(); ++i) {
            QVERIFY(m_library->importFile(packs[i].filePath));
            QVERIFY(m_reversedLibrary->importFile(packs[packs.size() - 1 - i].filePath));
        }
    }

    // The program offers exactly the files that are shipped, from the build
    // tree's share/wordlumen/packs as from an installed one.
    void everyShippedFileIsOffered()
    {
        QStringList files = QDir(kSourcePacks).entryList({QStringLiteral("*.md")}, QDir::Files);
        for (QString &file : files)
            file.chop(3);
        QStringList slugs = BundledPacks::slugs();
        files.sort();
        slugs.sort();
        QCOMPARE(files, slugs);

        QCOMPARE(QDir::cleanPath(BundledPacks::installedDirectory()),
                 QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                 QStringLiteral("/../share/wordlumen/packs")));
        const QList<BundledPack> built = BundledPacks::load();
        QCOMPARE(built.size(), m_packs.size());
        for (qsizetype i = 0; i < built.size(); ++i) {
            QCOMPARE(built[i].slug, m_packs[i].pack.slug);
            QCOMPARE(readText(built[i].filePath), m_packs[i].text);
        }
    }

    // `import --bundled NAME` takes what people type: the slug, the industry
    // or the title, in any case and width, with or without the space.
    void packsAreFoundByTheNamesPeopleType_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("slug");
        QTest::newRow("slug") << QStringLiteral("software-ops") << QStringLiteral("software-ops");
        QTest::newRow("industry") << QStringLiteral("软件与运维") << QStringLiteral("software-ops");
        QTest::newRow("title") << QStringLiteral("金融与创业词库")
                               << QStringLiteral("finance-startup");
        QTest::newRow("no space") << QStringLiteral("ai进阶") << QStringLiteral("ai-advanced");
        QTest::newRow("full width") << QStringLiteral("ＡＩ 进阶") << QStringLiteral("ai-advanced");
        QTest::newRow("capitals") << QStringLiteral("Workplace-Talk")
                                  << QStringLiteral("workplace-talk");
        QTest::newRow("part of a name") << QStringLiteral("进阶") << QString();
        QTest::newRow("slug without hyphen") << QStringLiteral("software ops") << QString();
        QTest::newRow("empty") << QStringLiteral(" ") << QString();
    }
    void packsAreFoundByTheNamesPeopleType()
    {
        QFETCH(QString, name);
        QFETCH(QString, slug);
        QList<BundledPack> packs;
        for (const ShippedPack &shippedPack : std::as_const(m_packs))
            packs << shippedPack.pack;
        const auto found = BundledPacks::find(packs, name);
        QCOMPARE(found ? found->slug : QString(), slug);
    }

    void packReadsWholeAndSaysWhatItIs_data() { addSlugRows(); }
    void packReadsWholeAndSaysWhatItIs()
    {
        QFETCH(QString, slug);
        const ShippedPack *pack = shipped(slug);
        QVERIFY(pack);
        QCOMPARE(pack->draft.ignoredEntryCount, 0);
        // Every heading is an entry: a heading the parser does not take as
        // one would swallow its explanation into the entry before.
        static const QRegularExpression heading(QStringLiteral("^## "),
                                                QRegularExpression::MultilineOption);
        QCOMPARE(pack->draft.entries.size(), pack->text.count(heading));
        QCOMPARE(pack->pack.entryCount, pack->draft.entries.size());

        // The three lines the control center shows under the pack's name,
        // written out rather than guessed from the title or the file name.
        QSet<QString> labels;
        for (const QString &line : pack->text.split(u'\n')) {
            if (const auto labelled = GlossaryPackageParser::labeledValue(line.trimmed()))
                labels.insert(labelled->label);
        }
        for (const QString &label :
             {QStringLiteral("行业"), QStringLiteral("词表深度"), QStringLiteral("解释视角")})
            QVERIFY2(labels.contains(label), qPrintable(label));
        QVERIFY(pack->draft.vocabularyDepth != kUnlabelled);
        QVERIFY(pack->draft.explanationPerspective != kUnlabelled);
        QVERIFY2(pack->pack.name != pack->draft.industry, "the pack has a title of its own");
        QVERIFY(!pack->draft.industry.endsWith(QStringLiteral("补充包")));
    }

    // Every explanation reads well on the card at every length: whole at the
    // standard length, and cut after its first sentence at the brief one.
    void explanationsFitTheCard_data() { addSlugRows(); }
    void explanationsFitTheCard()
    {
        QFETCH(QString, slug);
        static const QRegularExpression markup(QStringLiteral("[*#`]|\\n|^\\s*[-+>]"));
        QStringList problems;
        for (const CustomGlossaryEntry &entry : shipped(slug)->draft.entries) {
            const QString &text = entry.explanation;
            const QString where = QStringLiteral("「%1」: ").arg(entry.term);
            const qsizetype length = TextMetrics::graphemeCount(text);
            if (length < kMinimumLength || length > kStandardLength)
                problems << where + QStringLiteral("%1 characters").arg(length);
            if (!kSentenceStops.contains(text.back()))
                problems << where + QStringLiteral("ends without a full stop");

            const qsizetype firstStop = text.indexOf(u'。');
            const qsizetype firstEnd =
                firstStop < 0 ? -1
                              : TextMetrics::graphemeCount(QStringView(text).left(firstStop + 1));
            if (firstEnd < 0 || firstEnd > kBriefLength)
                problems << where + QStringLiteral("first sentence ends at %1").arg(firstEnd);
            const QString brief = AnswerText::readableExplanation(text, kBriefLength);
            if (!kSentenceStops.contains(brief.back()))
                problems << where + QStringLiteral("brief cut gives 「%1」").arg(brief);

            if (markup.match(text).hasMatch())
                problems << where + QStringLiteral("markup in the text");
        }
        verifyNoProblems(problems);
    }

    // A name that two entries share answers for only one of them, and which
    // one depends on the order the packs were added in.
    void everyNameLeadsToOneEntry()
    {
        QHash<QString, Place> owners;
        QStringList problems;
        for (const ShippedPack &pack : std::as_const(m_packs)) {
            for (const CustomGlossaryEntry &entry : pack.draft.entries) {
                const Place here{pack.pack.slug, entry.term};
                for (const QString &name : QStringList{entry.term} + entry.aliases) {
                    const QString key = termKey(name);
                    if (key.isEmpty()) {
                        problems << describe(here) +
                                        QStringLiteral(": 「%1」 has no letters").arg(name);
                        continue;
                    }
                    const auto owner = owners.constFind(key);
                    if (owner == owners.cend())
                        owners.insert(key, here);
                    else if (owner->term != here.term || owner->slug != here.slug)
                        problems << describe(here) + QStringLiteral(": 「%1」 is also %2")
                                                         .arg(name, describe(*owner));
                }
            }
        }
        verifyNoProblems(problems);
    }

    // The dictionary answers these names already; a pack entry under the same
    // name would hide the dictionary's answer.
    void noPackNameIsADictionaryName()
    {
        QHash<QString, QString> dictionaryNames;
        for (const GlossaryEntry &entry : m_dictionary.entries()) {
            for (const QString &alias : entry.aliases)
                dictionaryNames.insert(termKey(alias), entry.term);
        }
        QStringList problems;
        for (const ShippedPack &pack : std::as_const(m_packs)) {
            for (const CustomGlossaryEntry &entry : pack.draft.entries) {
                for (const QString &name : QStringList{entry.term} + entry.aliases) {
                    const auto owner = dictionaryNames.constFind(termKey(name));
                    if (owner != dictionaryNames.cend())
                        problems << describe({pack.pack.slug, entry.term}) +
                                        QStringLiteral(": 「%1」 is the dictionary's 「%2」")
                                            .arg(name, *owner);
                }
            }
        }
        verifyNoProblems(problems);
    }

    // Packs are asked before the dictionary, and a pack name found inside a
    // dictionary name answers it: with every pack added, each name of the
    // dictionary must still reach the dictionary.
    void dictionaryNamesStillReachTheDictionary()
    {
        QStringList problems;
        for (const GlossaryEntry &entry : m_dictionary.entries()) {
            for (const QString &alias : entry.aliases) {
                for (const CustomGlossaryStore *library :
                     {m_library.get(), m_reversedLibrary.get()}) {
                    const auto taken = library->match(alias);
                    if (taken) {
                        problems << QStringLiteral("dictionary %1 「%2」: 「%3」 is answered by %4")
                                        .arg(entry.number)
                                        .arg(entry.term, alias,
                                             describe({sourceOf(*library, *taken), taken->term}));
                        break;
                    }
                }
            }
        }
        verifyNoProblems(problems);
    }

    // The questions people type after meeting a word, written before the
    // packs were: each reaches the entry meant, in the pack meant, with all
    // five packs added.
    void everydayQueriesReachTheirEntry_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("slug");
        QTest::addColumn<QString>("term");
        for (const QString &slug : BundledPacks::slugs()) {
            QFile file(kQueries + QStringLiteral("/%1.tsv").arg(slug));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
            int rows = 0;
            int lineNumber = 0;
            for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
                ++lineNumber;
                if (line.trimmed().isEmpty() || line.startsWith(u'#'))
                    continue;
                const QStringList fields = line.split(u'\t');
                QVERIFY2(fields.size() == 2,
                         qPrintable(
                             QStringLiteral("%1.tsv:%2: %3").arg(slug).arg(lineNumber).arg(line)));
                QTest::addRow("%s:%d %s", qPrintable(slug), lineNumber, qPrintable(fields[0]))
                    << fields[0] << slug << fields[1];
                ++rows;
            }
            QVERIFY2(rows >= 40, qPrintable(slug));
        }
    }
    void everydayQueriesReachTheirEntry()
    {
        QFETCH(QString, query);
        QFETCH(QString, slug);
        QFETCH(QString, term);
        for (const CustomGlossaryStore *library : {m_library.get(), m_reversedLibrary.get()}) {
            const auto found = library->match(query);
            QVERIFY2(found, qPrintable(QStringLiteral("nothing answers 「%1」").arg(query)));
            const Place place{sourceOf(*library, *found), found->term};
            QVERIFY2(place.slug == slug && place.term == term,
                     qPrintable(QStringLiteral("「%1」 finds %2, not %3")
                                    .arg(query, describe(place), describe({slug, term}))));
        }
    }
};

QTEST_GUILESS_MAIN(ShippedPacksTest)
#include "tst_shippedpacks.moc"
