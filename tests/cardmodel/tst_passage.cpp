// The card's rules for a passage: one term per entry in order of appearance,
// the answer's row without the answered entry, chips' labels, the passage
// marked without ever reading it as markup, how many chips a row shows, and
// the passage session with its online search against a local chat server.

#include "cardmodel/chipfit.h"
#include "cardmodel/passagemarkup.h"
#include "cardmodel/passagesession.h"
#include "cardmodel/passageterms.h"
#include "packs/customglossarystore.h"
#include "tests/support/fakechatserver.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace wordlumen;
using namespace wordlumen::testing;
using SearchState = PassageSession::SearchState;

namespace {

GlossaryStore dictionary()
{
    auto entry = [](qint64 number, const QString &term, const QStringList &aliases) {
        QStringList names = GlossaryStore::namesDerivedFromTitle(term);
        names.append(aliases);
        return GlossaryEntry{number, term, QStringLiteral("词典里的%1。").arg(number), names};
    };
    return GlossaryStore({
        entry(1, QStringLiteral("检索增强生成（RAG）"), {}),
        entry(2, QStringLiteral("智能体（Agent）"), {}),
        entry(3, QStringLiteral("闭环"), {QStringLiteral("形成闭环")}),
        entry(4, QStringLiteral("对齐"), {QStringLiteral("对齐一下")}),
        entry(5, QStringLiteral("颗粒度"), {}),
    });
}

const QString kPassage = QStringLiteral(
    "下周对齐一下颗粒度，把 RAG 和 Agent 的链路打通，形成闭环；RAG 要先上线，再对齐。");

QStringList labels(const QList<PassageTerm> &terms)
{
    QStringList labels;
    for (const PassageTerm &term : terms)
        labels.append(term.label + u'/' + toString(term.origin));
    return labels;
}

} // namespace

class PassageTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_libraries = 0;
    std::unique_ptr<FakeChatServer> m_server;
    QString m_key;

    QString newLibraryPath()
    {
        return m_dir.filePath(QStringLiteral("library%1.json").arg(++m_libraries));
    }
    std::unique_ptr<PassageSession> session(CustomGlossaryStore *packs)
    {
        auto made = std::make_unique<PassageSession>(
            dictionary(), packs, [] { return ExplanationPromptProfile(); },
            [this] { return m_key; },
            [this] {
                return OnlineSettings{m_server->url().toString(), QStringLiteral("test-model")};
            });
        made->setHasAPIKey(!m_key.isEmpty());
        return made;
    }

private slots:
    void init()
    {
        m_server = std::make_unique<FakeChatServer>();
        QVERIFY(m_server->listen());
        m_key = QStringLiteral("sk-test");
    }
    void cleanup() { m_server.reset(); }

    // In order of first appearance, one per entry (「RAG」 twice, 「对齐一下」 and
    // 「对齐」 alike are one), labelled by the entry's title where the words hold
    // it; a pack's entry beats the dictionary's for the same name.
    void theTermsOfAPassage()
    {
        CustomGlossaryStore packs(newLibraryPath());
        QVERIFY(
            packs.importText(QStringLiteral("# 互联网黑话补充包\n\n行业：互联网\n\n"
                                            "## 闭环\n别名：形成闭环\n解释：补充包里的闭环。\n"),
                             QStringLiteral("p.md")));
        auto passage = session(&packs);
        passage->setPassage(kPassage);
        const QList<PassageTerm> &terms = passage->terms()->terms();
        QCOMPARE(labels(terms), (QStringList{
                                    QStringLiteral("对齐/local"),
                                    QStringLiteral("颗粒度/local"),
                                    QStringLiteral("RAG/local"),
                                    QStringLiteral("Agent/local"),
                                    QStringLiteral("闭环/custom"),
                                }));
        QCOMPARE(terms[0].text, QStringLiteral("对齐一下"));
        QCOMPARE(terms[2].heading(), QStringLiteral("RAG · 检索增强生成"));
        QCOMPARE(terms[1].heading(), QStringLiteral("颗粒度"));
        QCOMPARE(terms[4].explanation, QStringLiteral("补充包里的闭环。"));
        QCOMPARE(passage->summary(), QStringLiteral("本地词库认出 5 个 · 无需 API"));

        // The row leaves out what the answer is about, however it was named.
        passage->setAnsweredTerm(QStringLiteral("智能体（Agent）"));
        QCOMPARE(passage->others()->labels(),
                 (QStringList{QStringLiteral("对齐"), QStringLiteral("颗粒度"),
                              QStringLiteral("RAG"), QStringLiteral("闭环")}));
        QSignalSpy othersChanged(passage.get(), &PassageSession::othersChanged);
        passage->setAnsweredTerm(QStringLiteral("检索增强生成（RAG）"));
        QCOMPARE(othersChanged.size(), 1);
        QCOMPARE(passage->others()->labels(),
                 (QStringList{QStringLiteral("对齐"), QStringLiteral("颗粒度"),
                              QStringLiteral("Agent"), QStringLiteral("闭环")}));
        QCOMPARE(
            passage->others()->data(passage->others()->index(2), PassageTermModel::RowNameRole),
            QVariant(QStringLiteral("Agent · 智能体，词典里的2。，点击查看完整解释")));
        QCOMPARE(PassageTerms::knownNames(terms).mid(0, 4),
                 (QStringList{QStringLiteral("对齐一下"), QStringLiteral("对齐"),
                              QStringLiteral("颗粒度"), QStringLiteral("RAG")}));
    }

    // The control center imports into the library the card spots with: the
    // passage on the card knows the new terms at once, and the row says so.
    void aPackImportedWhileRunningIsSpottedAtOnce()
    {
        CustomGlossaryStore packs(newLibraryPath());
        auto passage = session(&packs);
        passage->setPassage(QStringLiteral("把链路打通，形成闭环"));
        passage->setAnsweredTerm(QStringLiteral("闭环"));
        QCOMPARE(passage->others()->count(), 0);
        QSignalSpy othersChanged(passage.get(), &PassageSession::othersChanged);
        QVERIFY(packs.importText(QStringLiteral("# 职场黑话补充包\n\n行业：职场\n\n"
                                                "## 链路\n解释：一件事从头到尾经过的环节。\n"),
                                 QStringLiteral("p.md")));
        QCOMPARE(othersChanged.size(), 1);
        QCOMPARE(passage->others()->labels(), QStringList{QStringLiteral("链路")});
        QVERIFY(passage->markedText().contains(QStringLiteral("<a href=\"local:0\">链路</a>")));
    }

    void markingNeverReadsThePassageAsMarkup()
    {
        const QString passage = QStringLiteral("<b>RAG</b> & &amp; \"闭环\"\n下一行");
        const qsizetype rag = passage.indexOf(QStringLiteral("RAG"));
        const qsizetype loop = passage.indexOf(QStringLiteral("闭环"));
        QCOMPARE(PassageMarkup::styledText(passage, {{rag, 3, QStringLiteral("local:0")},
                                                     {loop, 2, QStringLiteral("local:1")}}),
                 QStringLiteral("&lt;b&gt;<a href=\"local:0\">RAG</a>&lt;/b&gt; &amp; &amp;amp; "
                                "\"<a href=\"local:1\">闭环</a>\"<br>下一行"));
        // Marks that overlap or run past the end are passed over, not half-drawn.
        QCOMPARE(PassageMarkup::styledText(u"对齐颗粒度", {{0, 2, QStringLiteral("a")},
                                                           {1, 2, QStringLiteral("b")},
                                                           {4, 3, QStringLiteral("c")}}),
                 QStringLiteral("<a href=\"a\">对齐</a>颗粒度"));
        // A found term is marked only apart from the local marks.
        QCOMPARE(
            PassageMarkup::merged({{4, 2, QStringLiteral("l")}},
                                  {{0, 2, QStringLiteral("o1")}, {5, 2, QStringLiteral("o2")}}),
            (QList<PassageMarkup::Mark>{{0, 2, QStringLiteral("o1")},
                                        {4, 2, QStringLiteral("l")}}));

        CustomGlossaryStore packs(newLibraryPath());
        auto session = this->session(&packs);
        session->setPassage(passage);
        QVERIFY(session->markedText().startsWith(QStringLiteral("&lt;b&gt;<a href=\"local:0\">")));
        QCOMPARE(session->termOfLink(QStringLiteral("local:1")), QStringLiteral("闭环"));
        QCOMPARE(session->termOfLink(QStringLiteral("local:7")), QString());
        QCOMPARE(session->termOfLink(QStringLiteral("https://example.com")), QString());
    }

    void howManyChipsARowShows_data()
    {
        QTest::addColumn<QList<double>>("widths");
        QTest::addColumn<double>("available");
        QTest::addColumn<int>("shown");
        // Chips spaced 6 apart; the trailing chip is 30 wide for "+N", 34 for "全部".
        QTest::addRow("all fit beside 全部")
            << QList<double>{40, 40, 40} << 40.0 * 3 + 18 + 34 << 3;
        QTest::addRow("one point short of that")
            << QList<double>{40, 40, 40} << 40.0 * 3 + 18 + 33 << 2;
        QTest::addRow("two fit beside +1") << QList<double>{40, 40, 40} << 40.0 * 2 + 12 + 30 << 2;
        QTest::addRow("a wide first chip leaves only +N") << QList<double>{300, 40} << 100.0 << 0;
        QTest::addRow("nothing to show") << QList<double>{} << 100.0 << 0;
        QTest::addRow("a narrow one after a wide one is not pulled forward")
            << QList<double>{40, 200, 10} << 100.0 << 1;
    }
    void howManyChipsARowShows()
    {
        QFETCH(QList<double>, widths);
        QFETCH(double, available);
        QFETCH(int, shown);
        const auto trailing = [](qsizetype hidden) {
            return hidden > 0 ? 30.0 : 34.0;
        };
        QCOMPARE(ChipFit::shownCount(widths, available, 6, trailing), shown);
    }

    // "找出其余黑话": what is sent, what is kept, the marks, nothing found,
    // failures, the cut, and a new passage cancelling a search that runs.
    void theOnlineSearch()
    {
        CustomGlossaryStore packs(newLibraryPath());
        auto passage = session(&packs);
        passage->setPassage(kPassage);
        QVERIFY(passage->offersSearch());
        m_server->enqueue(ScriptedResponse::json(
            jargonReply({{QStringLiteral("链路"), QStringLiteral("一件事经过的环节。")},
                         // The dictionary knows it after all: not "missed".
                         {QStringLiteral("形成闭环"), QStringLiteral("做完。")},
                         {QStringLiteral("上线"), QStringLiteral("正式推出给大家用。")}})));
        passage->search();
        QCOMPARE(passage->searchState(), SearchState::Searching);
        QVERIFY(!passage->offersSearch());
        QTRY_COMPARE(passage->searchState(), SearchState::Answered);
        QCOMPARE(labels(passage->found()->terms()),
                 (QStringList{QStringLiteral("链路/deepSeek"), QStringLiteral("上线/deepSeek")}));
        QCOMPARE(passage->searchMessage(), QString());
        QVERIFY(passage->markedText().contains(QStringLiteral("<a href=\"online:0\">链路</a>")));
        QVERIFY(passage->markedText().contains(QStringLiteral("<a href=\"online:1\">上线</a>")));
        QCOMPARE(passage->termOfLink(QStringLiteral("online:1")), QStringLiteral("上线"));
        const QString system = m_server->requests()
                                   .first()
                                   .json()
                                   .value(QStringLiteral("messages"))
                                   .toArray()
                                   .at(0)[QStringLiteral("content")]
                                   .toString();
        QVERIFY(system.contains(QStringLiteral("\n- 对齐一下\n- 对齐\n- 颗粒度\n- RAG\n")));
        QVERIFY(!passage->offersSearch());

        // Nothing found is an answer.
        passage->setPassage(QStringLiteral("把链路打通"));
        QCOMPARE(passage->found()->count(), 0);
        QVERIFY(passage->offersSearch());
        m_server->enqueue(ScriptedResponse::json(jargonReply({})));
        passage->search();
        QTRY_COMPARE(passage->searchState(), SearchState::Answered);
        QCOMPARE(passage->searchMessage(), QStringLiteral("没有找到其余黑话。"));
        QCOMPARE(passage->cutNotice(), QString());

        // A failure says why and offers the search again.
        passage->setPassage(QString(2001, u'字') + QStringLiteral("链路"));
        m_server->enqueue(ScriptedResponse::json("{}", 402));
        passage->search();
        QCOMPARE(passage->cutNotice(), QStringLiteral("原文较长，只发送了前 2000 字。"));
        QTRY_COMPARE(passage->searchState(), SearchState::Failed);
        QCOMPARE(passage->searchMessage(), QStringLiteral("API 账户余额不足，请充值后再试。"));
        QVERIFY(passage->offersSearch());

        // A new passage cancels the search: its answer never shows.
        ScriptedResponse late = ScriptedResponse::json(
            jargonReply({{QStringLiteral("链路"), QStringLiteral("迟到的。")}}));
        late.chunks.first().delayMs = 150;
        m_server->enqueue(late);
        passage->search();
        QVERIFY(m_server->waitForRequests(4));
        passage->setPassage(QStringLiteral("把链路打通"));
        QCOMPARE(passage->searchState(), SearchState::Idle);
        QTest::qWait(300);
        QCOMPARE(passage->searchState(), SearchState::Idle);
        QCOMPARE(passage->found()->count(), 0);
    }

    void withoutAKeyNothingIsSearched()
    {
        m_key.clear();
        CustomGlossaryStore packs(newLibraryPath());
        auto passage = session(&packs);
        passage->setPassage(kPassage);
        QVERIFY(!passage->offersSearch());
        passage->search();
        QCOMPARE(passage->searchState(), SearchState::Idle);
        QTest::qWait(50);
        QVERIFY(m_server->requests().isEmpty());
    }
};

QTEST_GUILESS_MAIN(PassageTest)
#include "tst_passage.moc"
