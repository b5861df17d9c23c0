#include "packs/packimportpolicy.h"
#include "packs/packmatchindex.h"

#include <QTest>
#include <QTimeZone>

using namespace wordlumen;

namespace {

const QDateTime kStart(QDate(2026, 3, 1), QTime(8, 15), QTimeZone::utc());

CustomGlossaryEntry entry(const QString &term, const QStringList &aliases = {})
{
    return {QUuid::createUuid(), term, aliases, term + QStringLiteral(" 的解释"), kStart, kStart};
}

GlossaryPack pack(const QString &industry, const QList<CustomGlossaryEntry> &entries,
                  const QDateTime &importedAt = kStart, bool enabled = true)
{
    return {QUuid::createUuid(),
            industry,
            QStringLiteral("入门"),
            QStringLiteral("给新人"),
            industry + QStringLiteral(".md"),
            entries,
            importedAt,
            enabled};
}

GlossaryPackDraft draft(const QString &industry, const QStringList &terms,
                        const QString &depth = QStringLiteral("入门"),
                        const QString &perspective = QStringLiteral("给新人"))
{
    GlossaryPackDraft draft{industry, depth, perspective, industry + QStringLiteral(".md"), {}, 0};
    for (const QString &term : terms)
        draft.entries.append(entry(term));
    return draft;
}

QStringList industries(const QList<GlossaryPack> &packs)
{
    QStringList result;
    for (const GlossaryPack &pack : packs)
        result.append(pack.industry);
    return result;
}

} // namespace

class PackImportPolicyTest : public QObject
{
    Q_OBJECT

private slots:
    void samePackByItsLabels_data()
    {
        QTest::addColumn<QStringList>("library"); // industry, depth, perspective
        QTest::addColumn<QStringList>("imported");
        QTest::addColumn<bool>("same");
        const QString depth = QStringLiteral("入门");
        const QString view = QStringLiteral("给新人");
        QTest::addRow("case") << QStringList{QStringLiteral("Fintech"), depth, view}
                              << QStringList{QStringLiteral("FINTECH"), depth, view} << true;
        QTest::addRow("width") << QStringList{QStringLiteral("Fintech"), depth, view}
                               << QStringList{QStringLiteral("ＦＩＮＴＥＣＨ"), depth, view}
                               << true;
        QTest::addRow("punctuation and spaces")
            << QStringList{QStringLiteral("金融·科技"), depth, view}
            << QStringList{QStringLiteral(" 金融 科技 "), depth, view} << true;
        QTest::addRow("another depth")
            << QStringList{QStringLiteral("金融"), depth, view}
            << QStringList{QStringLiteral("金融"), QStringLiteral("进阶"), view} << false;
        QTest::addRow("another perspective")
            << QStringList{QStringLiteral("金融"), depth, view}
            << QStringList{QStringLiteral("金融"), depth, QStringLiteral("给老板")} << false;
        // The labels are joined into one key; a label's own separator must not
        // let one pack's labels read as another's.
        QTest::addRow("labels that would join alike")
            << QStringList{QStringLiteral("金融|入门"), QStringLiteral("给新人"), view}
            << QStringList{QStringLiteral("金融"), QStringLiteral("入门|给新人"), view} << false;
    }
    void samePackByItsLabels()
    {
        QFETCH(QStringList, library);
        QFETCH(QStringList, imported);
        QFETCH(bool, same);
        GlossaryPack stored = pack(library[0], {entry(QStringLiteral("ROE"))});
        stored.vocabularyDepth = library[1];
        stored.explanationPerspective = library[2];
        const QList<GlossaryPack> packs{
            pack(QStringLiteral("医疗"), {entry(QStringLiteral("DRG"))}), stored};
        const GlossaryPackDraft incoming =
            draft(imported[0], {QStringLiteral("ROE")}, imported[1], imported[2]);

        QCOMPARE(PackImportPolicy::olderVersionOf(packs, incoming), same ? 1 : -1);
        QCOMPARE(PackImportPolicy::identityKey(library[0], library[1], library[2]) ==
                     PackImportPolicy::identityKey(imported[0], imported[1], imported[2]),
                 same);
    }

    // Timestamps are whole seconds, so packs often share one: the imported
    // pack still leads, and the others keep their order around it.
    void importedPackLeadsAndTheOthersKeepTheirOrder()
    {
        const QList<GlossaryPack> packs{
            pack(QStringLiteral("A"), {entry(QStringLiteral("a"))}),
            pack(QStringLiteral("B"), {entry(QStringLiteral("b"))}, kStart, false),
            pack(QStringLiteral("C"), {entry(QStringLiteral("c"))}),
            pack(QStringLiteral("D"), {entry(QStringLiteral("d"))}, kStart.addSecs(-60))};
        const QUuid newId = QUuid::createUuid();

        const auto added = PackImportPolicy::importInto(
            packs, draft(QStringLiteral("E"), {QStringLiteral("e")}), newId, kStart);
        QCOMPARE(industries(added.packs),
                 (QStringList{QStringLiteral("E"), QStringLiteral("A"), QStringLiteral("B"),
                              QStringLiteral("C"), QStringLiteral("D")}));
        QCOMPARE(added.packs.first().id, newId);
        QVERIFY(added.packs.first().isEnabled);
        QCOMPARE(added.summary.pack, added.packs.first());
        QVERIFY(!added.summary.replacedExistingPack);

        // A new version of B, switched off, replaces it where it stood and leads.
        const auto replaced = PackImportPolicy::importInto(
            packs, draft(QStringLiteral("b"), {QStringLiteral("b2")}), newId, kStart);
        QCOMPARE(industries(replaced.packs),
                 (QStringList{QStringLiteral("b"), QStringLiteral("A"), QStringLiteral("C"),
                              QStringLiteral("D")}));
        const GlossaryPack &version = replaced.packs.first();
        QCOMPARE(version.id, packs[1].id);
        QVERIFY(!version.isEnabled);
        QCOMPARE(version.entries.size(), 1);
        QCOMPARE(version.entries.first().term, QStringLiteral("b2"));
        QCOMPARE(version.importedAt, kStart);
        QVERIFY(replaced.summary.replacedExistingPack);
    }

    void duplicateTerms_data()
    {
        QTest::addColumn<QStringList>("terms");
        QTest::addColumn<int>("duplicates");
        QTest::addRow("none") << QStringList{QStringLiteral("新词")} << 0;
        QTest::addRow("folded like a query") << QStringList{QStringLiteral("ｒａｇ")} << 1;
        QTest::addRow("in a switched-off pack") << QStringList{QStringLiteral("token")} << 1;
        QTest::addRow("an alias is no term") << QStringList{QStringLiteral("检索增强")} << 0;
        QTest::addRow("only in the version being replaced")
            << QStringList{QStringLiteral("向量库")} << 0;
        QTest::addRow("in the version being replaced and in another pack")
            << QStringList{QStringLiteral("ROE")} << 1;
        QTest::addRow("each entry counts")
            << QStringList{QStringLiteral("RAG"), QStringLiteral("新词"), QStringLiteral("Token")}
            << 2;
    }
    void duplicateTerms()
    {
        QFETCH(QStringList, terms);
        QFETCH(int, duplicates);
        const QList<GlossaryPack> packs{
            pack(QStringLiteral("AI"), {entry(QStringLiteral("RAG"), {QStringLiteral("检索增强")}),
                                        entry(QStringLiteral("ROE"))}),
            pack(QStringLiteral("模型"), {entry(QStringLiteral("Token"))}, kStart, false),
            pack(QStringLiteral("数据"),
                 {entry(QStringLiteral("向量库")), entry(QStringLiteral("ROE"))})};
        const GlossaryPackDraft incoming = draft(QStringLiteral("数据"), terms);

        const auto outcome =
            PackImportPolicy::importInto(packs, incoming, QUuid::createUuid(), kStart);
        QVERIFY(outcome.summary.replacedExistingPack);
        QCOMPARE(outcome.summary.duplicateTermCount, duplicates);

        // The same through the keys the library keeps for lookups.
        PackMatchIndex index;
        index.setPacks(packs);
        QCOMPARE(PackImportPolicy::duplicateTermCount(
                     incoming, packs, packs[2].id,
                     [&](const GlossaryPack &pack) { return index.termKeys(pack); }),
                 duplicates);
    }
};

QTEST_GUILESS_MAIN(PackImportPolicyTest)
#include "tst_packimportpolicy.moc"
