#include "cardmodel/passagespotter.h"
#include "core/glossarystore.h"
#include "packs/customglossarystore.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace wordlumen;

namespace {

GlossaryStore dictionary()
{
    auto entry = [](qint64 number, const QString &term, const QString &explanation,
                    const QStringList &aliases) {
        QStringList names = GlossaryStore::namesDerivedFromTitle(term);
        names.append(aliases);
        return GlossaryEntry{number, term, explanation, names};
    };
    return GlossaryStore({
        entry(1, QStringLiteral("检索增强生成（RAG）"),
              QStringLiteral("先从资料里找出相关内容，再让模型照着这些内容回答，答案更有依据。"),
              {QStringLiteral("检索增强")}),
        entry(2, QStringLiteral("智能体（Agent）"),
              QStringLiteral("能自己拆解任务、调用工具、一步步把事情做完的 AI 程序。它不只回答"
                             "问题，还会根据结果决定下一步做什么，直到任务完成或需要人来确认。"),
              {}),
        entry(3, QStringLiteral("闭环"), QStringLiteral("词典里的闭环。"), {}),
    });
}

// A pack as a user's chat assistant writes one.
QString packText(const QString &industry, const QString &body)
{
    return QStringLiteral("# %1黑话补充包\n\n行业：%1\n\n").arg(industry) + body;
}

QStringList describe(const QList<SpottedTerm> &terms)
{
    QStringList lines;
    for (const SpottedTerm &term : terms)
        lines.append(QStringLiteral("%1@%2+%3 %4 %5")
                         .arg(term.text)
                         .arg(term.characterStart)
                         .arg(term.characterLength)
                         .arg(term.term, toString(term.origin)));
    return lines;
}

} // namespace

class PassageSpotterTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_libraries = 0;

    QString newLibraryPath()
    {
        return m_dir.filePath(QStringLiteral("library%1.json").arg(++m_libraries));
    }

private slots:
    void spotsTheDictionaryWithShortExplanations()
    {
        CustomGlossaryStore packs(newLibraryPath());
        const PassageSpotter spotter(dictionary(), &packs);
        const QList<SpottedTerm> terms = spotter.spot(u"把 rag 和 AGENT 的链路做成闭环");
        QCOMPARE(describe(terms), (QStringList{QStringLiteral("rag@2+3 检索增强生成（RAG） local"),
                                               QStringLiteral("AGENT@8+5 智能体（Agent） local"),
                                               QStringLiteral("闭环@19+2 闭环 local")}));
        // Short enough explanations stay whole; a long one gets the readable cut.
        QCOMPARE(
            terms[0].explanation,
            QStringLiteral("先从资料里找出相关内容，再让模型照着这些内容回答，答案更有依据。"));
        QCOMPARE(terms[1].explanation.size(), 60);
        QVERIFY(terms[1].explanation.startsWith(QStringLiteral("能自己拆解任务、调用工具")));
        QVERIFY(terms[1].explanation.endsWith(u'…'));
        QCOMPARE(terms[1].start, 8);
        QCOMPARE(terms[1].length, 5);
    }

    void aPackEntryWinsOverTheDictionaryAndDisabledPacksAreIgnored()
    {
        CustomGlossaryStore packs(newLibraryPath());
        const auto imported = packs.importText(
            packText(QStringLiteral("互联网"),
                     QStringLiteral("## 闭环\n解释：事情有人跟进、有结果、有复盘。\n\n"
                                    "## 抓手\n别名：切入点\n解释：推动事情的着力点。\n")),
            QStringLiteral("互联网黑话补充包.md"));
        QVERIFY(imported);
        const PassageSpotter spotter(dictionary(), &packs);
        QCOMPARE(describe(spotter.spot(u"找个切入点形成闭环，用 RAG")),
                 (QStringList{QStringLiteral("切入点@2+3 抓手 custom"),
                              QStringLiteral("闭环@7+2 闭环 custom"),
                              QStringLiteral("RAG@12+3 检索增强生成（RAG） local")}));

        QSignalSpy rebuilt(&spotter, &PassageSpotter::sourcesChanged);
        QVERIFY(packs.setEnabled(false, imported.value().pack.id));
        QCOMPARE(rebuilt.size(), 1);
        QCOMPARE(describe(spotter.spot(u"找个切入点形成闭环，用 RAG")),
                 (QStringList{QStringLiteral("闭环@7+2 闭环 local"),
                              QStringLiteral("RAG@12+3 检索增强生成（RAG） local")}));
    }

    // The control center imports into the same library the card spots with,
    // and the terminal companion changes the file under a running program:
    // either way the next passage knows the new terms.
    void aPackImportedWhileRunningIsSpottedAtOnce()
    {
        const QString path = newLibraryPath();
        CustomGlossaryStore packs(path);
        const PassageSpotter spotter(std::nullopt, &packs);
        QVERIFY(spotter.spot(u"对齐颗粒度").isEmpty());

        QVERIFY(packs.importText(
            packText(QStringLiteral("职场"), QStringLiteral("## 颗粒度\n解释：事情拆得多细。\n")),
            QStringLiteral("职场黑话补充包.md")));
        QCOMPARE(describe(spotter.spot(u"对齐颗粒度")),
                 QStringList{QStringLiteral("颗粒度@2+3 颗粒度 custom")});

        CustomGlossaryStore elsewhere(path);
        QVERIFY(elsewhere.importText(
            packText(QStringLiteral("管理"), QStringLiteral("## 对齐\n解释：让大家想法一致。\n")),
            QStringLiteral("管理黑话补充包.md")));
        QTRY_COMPARE(describe(spotter.spot(u"对齐颗粒度")),
                     (QStringList{QStringLiteral("对齐@0+2 对齐 custom"),
                                  QStringLiteral("颗粒度@2+3 颗粒度 custom")}));
    }

    void withoutSourcesNothingIsSpotted()
    {
        const PassageSpotter spotter(std::nullopt, nullptr);
        QCOMPARE(spotter.nameCount(), 0);
        QVERIFY(spotter.spot(u"RAG 和 Agent").isEmpty());
    }
};

QTEST_GUILESS_MAIN(PassageSpotterTest)
#include "tst_passagespotter.moc"
