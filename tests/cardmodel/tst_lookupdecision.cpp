// The card's lookup rules as a table: which source answers, when the keyring
// is read, and what goes online.

#include "cardmodel/lookupdecision.h"

#include <QTest>

using namespace wordlumen;
using Kind = LookupDecision::Kind;

namespace {

enum class Found
{
    Nothing,
    Pack,
    Dictionary,
    Both, // the dictionary is not asked once a pack answers; the card never builds this
};

LookupSources sources(Found found)
{
    LookupSources result;
    if (found == Found::Pack || found == Found::Both) {
        CustomGlossaryEntry entry;
        entry.term = QStringLiteral("抓手（包）");
        entry.explanation = QStringLiteral("包里的解释。");
        result.pack = entry;
    }
    if (found == Found::Dictionary || found == Found::Both) {
        result.dictionary =
            GlossaryEntry{1, QStringLiteral("抓手（词典）"), QStringLiteral("词典的解释。"), {}};
    }
    return result;
}

const QString kTerm = QStringLiteral("抓手");
// Nineteen characters: a description, asked for candidates rather than explained.
const QString kDescription = QStringLiteral("把一件事拆成很多小步快速试错的那种做法");

} // namespace

Q_DECLARE_METATYPE(Found)

class LookupDecisionTest : public QObject
{
    Q_OBJECT

private slots:
    void decide_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<Found>("found");
        QTest::addColumn<ExplanationAudience>("audience");
        QTest::addColumn<bool>("hasKey");
        QTest::addColumn<bool>("readsKey");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("term");
        QTest::addColumn<ExplanationOrigin>("origin");

        const auto plain = ExplanationAudience::Plain;
        const auto starter = ExplanationAudience::IndustryStarter;
        const QString pack = QStringLiteral("抓手（包）");
        const QString dictionary = QStringLiteral("抓手（词典）");

        // A pack answers as written, whatever the style and the key.
        QTest::addRow("pack, plain, no key")
            << kTerm << Found::Pack << plain << false << false << Kind::LocalAnswer << pack
            << ExplanationOrigin::Custom;
        QTest::addRow("pack, other style, key")
            << kTerm << Found::Pack << starter << true << false << Kind::LocalAnswer << pack
            << ExplanationOrigin::Custom;
        QTest::addRow("pack before dictionary")
            << kTerm << Found::Both << starter << true << false << Kind::LocalAnswer << pack
            << ExplanationOrigin::Custom;
        QTest::addRow("pack for a description")
            << kDescription << Found::Pack << plain << true << false << Kind::LocalAnswer << pack
            << ExplanationOrigin::Custom;

        // The dictionary answers the plain audience without reading the key.
        QTest::addRow("dictionary, plain, key")
            << kTerm << Found::Dictionary << plain << true << false << Kind::LocalAnswer
            << dictionary << ExplanationOrigin::Local;
        QTest::addRow("dictionary, other style, no key")
            << kTerm << Found::Dictionary << starter << false << true << Kind::LocalAnswer
            << dictionary << ExplanationOrigin::Local;
        // With a key another style is written online, under the dictionary's title.
        QTest::addRow("dictionary, other style, key")
            << kTerm << Found::Dictionary << starter << true << true << Kind::OnlineExplanation
            << dictionary << ExplanationOrigin::DeepSeek;
        QTest::addRow("dictionary hit in a description, other style, key")
            << kDescription << Found::Dictionary << starter << true << true
            << Kind::OnlineReverseLookup << kDescription << ExplanationOrigin::DeepSeek;

        // Nothing local: a notice without a key, the service with one.
        QTest::addRow("unknown term, no key")
            << kTerm << Found::Nothing << plain << false << true << Kind::Notice << kTerm
            << ExplanationOrigin::Unavailable;
        QTest::addRow("description, no key")
            << kDescription << Found::Nothing << plain << false << true << Kind::Notice
            << kDescription << ExplanationOrigin::Unavailable;
        QTest::addRow("unknown term, key")
            << kTerm << Found::Nothing << plain << true << true << Kind::OnlineExplanation << kTerm
            << ExplanationOrigin::DeepSeek;
        QTest::addRow("description, key")
            << kDescription << Found::Nothing << plain << true << true << Kind::OnlineReverseLookup
            << kDescription << ExplanationOrigin::DeepSeek;
        QTest::addRow("a signal phrase makes a description")
            << QStringLiteral("这种能力叫什么") << Found::Nothing << plain << true << true
            << Kind::OnlineReverseLookup << QStringLiteral("这种能力叫什么")
            << ExplanationOrigin::DeepSeek;
    }
    void decide()
    {
        QFETCH(QString, query);
        QFETCH(Found, found);
        QFETCH(ExplanationAudience, audience);
        QFETCH(bool, hasKey);
        QFETCH(bool, readsKey);
        QFETCH(Kind, kind);
        QFETCH(QString, term);
        QFETCH(ExplanationOrigin, origin);

        const LookupSources local = sources(found);
        QCOMPARE(LookupDecision::needsKey(local, audience), readsKey);
        const LookupDecision decision = LookupDecision::decide(query, local, audience, hasKey);
        QCOMPARE(int(decision.kind), int(kind));
        QCOMPARE(decision.term, term);
        QCOMPARE(toString(decision.origin), toString(origin));
        switch (kind) {
        case Kind::LocalAnswer:
            QCOMPARE(decision.text, found == Found::Dictionary ? QStringLiteral("词典的解释。")
                                                               : QStringLiteral("包里的解释。"));
            break;
        case Kind::Notice:
            QCOMPARE(decision.text, query == kTerm ? LookupDecision::missingTermNotice()
                                                   : LookupDecision::descriptionNotice());
            break;
        case Kind::OnlineExplanation:
        case Kind::OnlineReverseLookup:
            QVERIFY(decision.text.isEmpty());
            break;
        }
    }
};

QTEST_GUILESS_MAIN(LookupDecisionTest)
#include "tst_lookupdecision.moc"
