#include "core/glossarystore.h"
#include "core/glossarytextmatcher.h"
#include "core/termkey.h"
#include "core/termspotter.h"
#include "core/textmetrics.h"
#include "tests/support/literalrules.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

using namespace wordlumen;
using wordlumen::testing::literalSpot;
using wordlumen::testing::literalTermKey;
using wordlumen::testing::SpotName;

namespace {

// Names a chat message about AI work is full of, with the overlaps that
// matter: a shorter Chinese name inside a longer one, a Latin name that is the
// start of a longer one, a version number with and without its letter.
const QStringList &craftedNames()
{
    static const QStringList names{
        QStringLiteral("大模型"),   QStringLiteral("大语言模型"),
        QStringLiteral("语言模型"), QStringLiteral("AI"),
        QStringLiteral("AIGC"),     QStringLiteral("RAG"),
        QStringLiteral("GPT-4"),    QStringLiteral("GPT-4o"),
        QStringLiteral("上下文"),   QStringLiteral("上下文窗口"),
        QStringLiteral("Agent"),    QStringLiteral("闭环"),
        QStringLiteral("颗粒度"),   QStringLiteral("对齐"),
        QStringLiteral("链路"),     QStringLiteral("抓手"),
        QStringLiteral("内卷"),     QStringLiteral("Café"),
        QStringLiteral("Straße"),   QStringLiteral("fine-tune"),
        QStringLiteral("A/B 测试"), QStringLiteral("Large Language Model")};
    return names;
}

QList<SpotName> spotNames(const QStringList &names)
{
    QList<SpotName> result;
    for (qsizetype i = 0; i < names.size(); ++i)
        result.append({termKey(names[i]), i});
    return result;
}

TermSpotter spotterFor(const QList<SpotName> &names)
{
    TermSpotter::Builder builder;
    for (const SpotName &name : names)
        builder.add(name.key, name.target);
    return builder.build();
}

// A hit as a test reads it: the text it covers, where and how long in characters.
QString describe(const TermSpotter::Hit &hit, QStringView passage)
{
    return QStringLiteral("%1@%2+%3")
        .arg(passage.mid(hit.start, hit.length).toString())
        .arg(hit.characterStart)
        .arg(hit.characterLength);
}

// Both kinds of place must name the same whole characters.
bool placesAgree(const TermSpotter::Hit &hit, QStringView passage)
{
    return TextMetrics::graphemeCount(passage.left(hit.start)) == hit.characterStart &&
           TextMetrics::graphemeCount(passage.mid(hit.start, hit.length)) == hit.characterLength &&
           TextMetrics::graphemeCount(passage.left(hit.start + hit.length)) ==
               hit.characterStart + hit.characterLength;
}

QString toFullWidth(const QString &text)
{
    QString wide = text;
    for (QChar &c : wide) {
        if (c.unicode() > 0x20 && c.unicode() < 0x7F)
            c = QChar(char16_t(c.unicode() + 0xFEE0));
    }
    return wide;
}

/**
 * Passages as people paste them: names as written, in upper or lower case or
 * full width, glued to Chinese or to Latin letters that make them part of a
 * longer word, between punctuation of both widths, emoji with modifiers,
 * combining accents, ß and ligatures.
 */
class PassageGenerator
{
public:
    PassageGenerator(QStringList names, quint32 seed)
        : m_names(std::move(names))
        , m_random(seed)
    {}

    QString next()
    {
        static const QStringList chinese{
            QStringLiteral("的"),   QStringLiteral("我们"), QStringLiteral("把"),
            QStringLiteral("一下"), QStringLiteral("模型"), QStringLiteral("大"),
            QStringLiteral("语言"), QStringLiteral("下文"), QStringLiteral("窗口"),
            QStringLiteral("上"),   QStringLiteral("做出"), QStringLiteral("会议")};
        static const QStringList latin{
            QStringLiteral("para"), QStringLiteral("s"),  QStringLiteral("x"),
            QStringLiteral("2"),    QStringLiteral("GC"), QStringLiteral("o"),
            QStringLiteral("-"),    QStringLiteral("ai"), QStringLiteral("graph")};
        static const QStringList separators{
            QStringLiteral(" "),  QStringLiteral("，"),    QStringLiteral("。"),
            QStringLiteral(", "), QStringLiteral("！"),    QStringLiteral("\n"),
            QStringLiteral("、"), QStringLiteral("（"),    QStringLiteral("）"),
            QStringLiteral("/"),  QStringLiteral("\u3000")};
        static const QStringList specials{QStringLiteral("👍🏽"), QStringLiteral("e\u0301"),
                                          QStringLiteral("ß"),        QStringLiteral("\uFB01"),
                                          QStringLiteral("Ａ"),       QStringLiteral("👩‍💻"),
                                          QStringLiteral("\r\n"),     QStringLiteral("\u0301"),
                                          QStringLiteral("ＳＳ"),     QStringLiteral("ｶﾞ")};

        QString passage;
        const int parts = 3 + int(m_random.bounded(20));
        for (int p = 0; p < parts; ++p) {
            switch (m_random.bounded(5)) {
            case 0:
            case 1:
                passage += variant(m_names[m_random.bounded(m_names.size())]);
                break;
            case 2:
                passage += chinese[m_random.bounded(chinese.size())];
                break;
            case 3:
                passage += m_random.bounded(2) ? latin[m_random.bounded(latin.size())]
                                               : separators[m_random.bounded(separators.size())];
                break;
            default:
                passage += m_random.bounded(3) ? separators[m_random.bounded(separators.size())]
                                               : specials[m_random.bounded(specials.size())];
            }
        }
        return passage;
    }

    QString variant(const QString &name)
    {
        switch (m_random.bounded(5)) {
        case 0:
            return name.toUpper();
        case 1:
            return name.toLower();
        case 2:
            return toFullWidth(name);
        default:
            return name;
        }
    }

private:
    QStringList m_names;
    QRandomGenerator m_random;
};

// The code units of a text, for a failure message about invisible characters.
QString codePoints(const QString &text)
{
    QStringList units;
    for (const QChar c : text)
        units.append(QString::number(c.unicode(), 16));
    return units.join(u' ');
}

QStringList dictionaryNames()
{
    const auto store =
        GlossaryStore::loadFromDirectory(QStringLiteral(WORDLUMEN_SOURCE_DIR "/resources"));
    QStringList names;
    if (!store)
        return names;
    for (const GlossaryEntry &entry : store.value().entries())
        names += entry.aliases;
    return names;
}

} // namespace

class TermSpotterTest : public QObject
{
    Q_OBJECT

private slots:
    void spotsEveryNameLeftmostLongest_data()
    {
        QTest::addColumn<QString>("passage");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("a message full of jargon")
            << QStringLiteral("下周我们要对齐一下颗粒度，把 RAG 和 Agent "
                              "的链路打通，形成闭环，做出抓手，别再内卷了")
            << QStringList{QStringLiteral("对齐@5+2"),  QStringLiteral("颗粒度@9+3"),
                           QStringLiteral("RAG@15+3"),  QStringLiteral("Agent@21+5"),
                           QStringLiteral("链路@28+2"), QStringLiteral("闭环@35+2"),
                           QStringLiteral("抓手@40+2"), QStringLiteral("内卷@45+2")};
        QTest::addRow("the longer Chinese name wins, the shorter still counts alone")
            << QStringLiteral("大语言模型和大模型")
            << QStringList{QStringLiteral("大语言模型@0+5"), QStringLiteral("大模型@6+3")};
        QTest::addRow("a name inside a hit is not a second hit")
            << QStringLiteral("上下文窗口") << QStringList{QStringLiteral("上下文窗口@0+5")};
        QTest::addRow("AIGC is one word, AI another")
            << QStringLiteral("AIGC 和 AI")
            << QStringList{QStringLiteral("AIGC@0+4"), QStringLiteral("AI@7+2")};
        QTest::addRow("Latin names are whole words only")
            << QStringLiteral("paragraph, rags, RAG2 and rag-fusion")
            << QStringList{QStringLiteral("rag@26+3")};
        QTest::addRow("a version with a letter is another name")
            << QStringLiteral("gpt-4o 比 GPT-4 新")
            << QStringList{QStringLiteral("gpt-4o@0+6"), QStringLiteral("GPT-4@9+5")};
        QTest::addRow("Chinese glues to nothing")
            << QStringLiteral("用RAG做AI")
            << QStringList{QStringLiteral("RAG@1+3"), QStringLiteral("AI@5+2")};
        QTest::addRow("full width")
            << QStringLiteral("ＲＡＧ是什么") << QStringList{QStringLiteral("ＲＡＧ@0+3")};
        QTest::addRow("a combining accent is part of its character")
            << QStringLiteral("Cafe\u0301 里聊 RAG")
            << QStringList{QStringLiteral("Cafe\u0301@0+4"), QStringLiteral("RAG@8+3")};
        QTest::addRow("emoji with a modifier before a name")
            << QStringLiteral("👍🏽RAG👩‍💻AI")
            << QStringList{QStringLiteral("RAG@1+3"), QStringLiteral("AI@5+2")};
        QTest::addRow("sharp s folds to two letters")
            << QStringLiteral("Straße 和 STRASSE")
            << QStringList{QStringLiteral("Straße@0+6"), QStringLiteral("STRASSE@9+7")};
        QTest::addRow("a ligature is one character")
            << QStringLiteral("先\uFB01ne-tune一下")
            << QStringList{QStringLiteral("\uFB01ne-tune@1+8")};
        QTest::addRow("separators inside a name may be any")
            << QStringLiteral("Large\nLanguage，Model 和 A / B 测试")
            << QStringList{QStringLiteral("Large\nLanguage，Model@0+20"),
                           QStringLiteral("A / B 测试@23+8")};
        QTest::addRow("nothing known") << QStringLiteral("今天天气不错") << QStringList{};
        QTest::addRow("empty") << QString() << QStringList{};
    }
    void spotsEveryNameLeftmostLongest()
    {
        QFETCH(QString, passage);
        QFETCH(QStringList, expected);
        const TermSpotter spotter = spotterFor(spotNames(craftedNames()));
        QStringList found;
        for (const TermSpotter::Hit &hit : spotter.spot(passage)) {
            QVERIFY2(placesAgree(hit, passage), qPrintable(describe(hit, passage)));
            found.append(describe(hit, passage));
        }
        QCOMPARE(found, expected);
    }

    void theFirstNameWithAKeyKeepsIt()
    {
        TermSpotter::Builder builder;
        builder.add(termKey(u"RAG"), 7);
        builder.add(termKey(u"rag"), 8);
        builder.add(QString(), 9);
        const TermSpotter spotter = builder.build();
        QCOMPARE(spotter.nameCount(), 1);
        const auto hits = spotter.spot(u"什么是 Rag");
        QCOMPARE(hits.size(), 1);
        QCOMPARE(hits.first().target, 7);
        QVERIFY(TermSpotter().spot(u"RAG").isEmpty());
    }

    // A few characters fold to two letters that are names on their own (ŉ to
    // ʼn, the Armenian ligature և to եւ). A lookup finds such a name inside the
    // folded query; a passage's hit is whole characters, so it is not a hit.
    void aHitNeverCoversPartOfACharacter()
    {
        TermSpotter::Builder builder;
        builder.add(termKey(u"n"), 0);
        builder.add(termKey(u"ւ"), 1);
        const TermSpotter spotter = builder.build();
        const QString folded = QStringLiteral("\u0149 \u0587");
        QVERIFY(GlossaryTextMatcher::contains(termKey(u"n"), termKey(folded)));
        QVERIFY(spotter.spot(folded).isEmpty());
        QCOMPARE(spotter.spot(u"n \u0565\u0582").size(), 2);
    }

    // The automaton against the rule written out, on many generated passages
    // over the real dictionary's names and the crafted overlaps.
    void agreesWithTheLiteralRuleOnGeneratedPassages()
    {
        const QStringList dictionary = dictionaryNames();
        QVERIFY(dictionary.size() > 600);
        const QStringList names = craftedNames() + dictionary;
        const QList<SpotName> spotNamesList = spotNames(names);
        const TermSpotter spotter = spotterFor(spotNamesList);

        PassageGenerator generator(names, 20261208);
        int hitCount = 0;
        for (int round = 0; round < 400; ++round) {
            const QString passage = generator.next();
            const auto hits = spotter.spot(passage);
            const auto literal = literalSpot(spotNamesList, passage);
            QVERIFY2(hits == literal, qPrintable(passage));
            for (const TermSpotter::Hit &hit : hits)
                QVERIFY2(placesAgree(hit, passage), qPrintable(passage));
            hitCount += int(hits.size());
        }
        // The passages must exercise the rule, not just agree on nothing.
        QVERIFY(hitCount > 1000);
    }

    // The spotter's rule is the containment rule: alone, a name is spotted in
    // a passage exactly when a lookup would find it inside that passage.
    void findsANameWhereTheContainmentTestDoes()
    {
        const QStringList names = craftedNames() + dictionaryNames();
        PassageGenerator generator(names, 7);
        QRandomGenerator random(11);
        int found = 0;
        for (int round = 0; round < 1500; ++round) {
            const QString key = termKey(names[random.bounded(names.size())]);
            if (key.isEmpty())
                continue;
            TermSpotter::Builder builder;
            builder.add(key, 0);
            const TermSpotter spotter = builder.build();
            const QString passage = generator.next() + generator.variant(key) + generator.next();
            const bool contained = GlossaryTextMatcher::contains(key, termKey(passage));
            QVERIFY2(spotter.spot(passage).isEmpty() != contained,
                     qPrintable(key + QStringLiteral(" in ") + passage));
            found += contained ? 1 : 0;
        }
        QVERIFY(found > 500);
    }

    // The key with places is the key, and its pieces are whole characters.
    void sourcedKeyIsTheKeyInWholeCharacters()
    {
        // Characters that folding joins, splits, drops or widens.
        static const QStringList alphabet{
            QStringLiteral("a"),      QStringLiteral("Z"),      QStringLiteral("é"),
            QStringLiteral("\u0301"), QStringLiteral("\u0327"), QStringLiteral("ß"),
            QStringLiteral("ẞ"),      QStringLiteral("\uFB03"), QStringLiteral("İ"),
            QStringLiteral("\u1100"), QStringLiteral("\u1161"), QStringLiteral("\u11A8"),
            QStringLiteral("가"),     QStringLiteral("ｶ"),      QStringLiteral("ﾞ"),
            QStringLiteral("カ"),     QStringLiteral("\u3099"), QStringLiteral("\u0B47"),
            QStringLiteral("\u0B3E"), QStringLiteral("\u0CC6"), QStringLiteral("\u0CC2"),
            QStringLiteral("\u0CD5"), QStringLiteral("Ａ"),     QStringLiteral("１"),
            QStringLiteral("模"),     QStringLiteral("，"),     QStringLiteral(" "),
            QStringLiteral("-"),      QStringLiteral("\r"),     QStringLiteral("\n"),
            QStringLiteral("👍"),      QStringLiteral("🏽"),   QStringLiteral("\u200D"),
            QStringLiteral("\u20DD"), QStringLiteral("Σ"),      QStringLiteral("ǅ"),
            QStringLiteral("\u0345"), QStringLiteral("\u0F73"), QString(QChar(char16_t(0xD800)))};
        QRandomGenerator random(5);
        for (int round = 0; round < 20000; ++round) {
            QString text;
            const int size = 1 + int(random.bounded(8));
            for (int i = 0; i < size; ++i)
                text += alphabet[random.bounded(alphabet.size())];

            const SourcedTermKey sourced = sourcedTermKey(text);
            QCOMPARE(sourced.key, termKey(text));
            QVERIFY2(sourced.key == literalTermKey(text), qPrintable(text));
            QCOMPARE(sourced.pieceOf.size(), sourced.key.size());

            // Every piece starts on a cluster boundary, numbered as the clusters are.
            QList<qsizetype> clusterStarts{0};
            for (const QString &cluster : TextMetrics::graphemes(text))
                clusterStarts.append(clusterStarts.constLast() + cluster.size());
            QCOMPARE(sourced.pieceStart.constLast(), text.size());
            QVERIFY2(sourced.pieceCharacterStart.constLast() == clusterStarts.size() - 1,
                     qPrintable(codePoints(text)));
            for (qsizetype p = 0; p < sourced.pieceStart.size(); ++p) {
                const qsizetype cluster = clusterStarts.indexOf(sourced.pieceStart[p]);
                QVERIFY2(cluster >= 0, qPrintable(text));
                QCOMPARE(sourced.pieceCharacterStart[p], cluster);
            }
            // A piece's key characters stand together, pieces in order.
            QSet<qsizetype> closed;
            qsizetype last = -1;
            for (const qsizetype piece : sourced.pieceOf) {
                if (piece < 0)
                    continue;
                QVERIFY(!closed.contains(piece) && piece >= last);
                if (piece != last && last >= 0)
                    closed.insert(last);
                last = piece;
            }
        }
    }

    // The shortcuts for common characters and the places where the text is
    // folded in pieces give what folding the whole text gives.
    void foldingInPiecesAgreesWithTheWholeFolding()
    {
        QStringList failures;
        for (char32_t c = 0; c <= 0x10FFFF && failures.size() < 20; ++c) {
            if (QChar::isSurrogate(c))
                continue;
            const QString alone = QString::fromUcs4(&c, 1);
            if (termKey(alone) != literalTermKey(alone))
                failures.append(QStringLiteral("U+%1").arg(quint32(c), 4, 16, QLatin1Char('0')));
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u' ')));

        // Composition joins a starter only with a mark or a Hangul vowel or
        // final jamo after it, which is why the key may be folded in pieces
        // that start anywhere else.
        for (char32_t c = 0; c <= 0x10FFFF; ++c) {
            if (QChar::decompositionTag(c) != QChar::Canonical)
                continue;
            const QList<uint> parts = QChar::decomposition(c).toUcs4();
            if (parts.size() != 2)
                continue;
            const char32_t second = parts[1];
            const auto category = QChar::category(second);
            const bool mark = category == QChar::Mark_NonSpacing ||
                              category == QChar::Mark_SpacingCombining ||
                              category == QChar::Mark_Enclosing;
            const bool jamo =
                (second >= 0x1161 && second <= 0x1175) || (second >= 0x11A8 && second <= 0x11C2);
            QVERIFY2(mark || jamo, qPrintable(QString::number(quint32(second), 16)));
        }
    }
};

QTEST_GUILESS_MAIN(TermSpotterTest)
#include "tst_termspotter.moc"
