// How a selection is told apart as a passage or a query, and how a passage is
// shaped from the selected text.

#include "core/selectiontext.h"

#include <QTest>

using namespace wordlumen;

class SelectionTextTest : public QObject
{
    Q_OBJECT

private slots:
    // Both ways across each boundary of the rule.
    void aPassageOrAQuery_data()
    {
        QTest::addColumn<QString>("selection");
        QTest::addColumn<int>("knownTerms");
        QTest::addColumn<bool>("passage");
        const QString sixty = QString(60, u'字');

        QTest::addRow("one term") << QStringLiteral("RAG") << 1 << false;
        QTest::addRow("a question about one term") << QStringLiteral("什么是RAG") << 1 << false;
        QTest::addRow("nothing selected") << QString() << 0 << false;
        QTest::addRow("two terms, however short") << QStringLiteral("对齐颗粒度") << 2 << true;
        QTest::addRow("a chat message")
            << QStringLiteral("下周我们要对齐一下颗粒度，把 RAG 和 Agent 的链路打通") << 5 << true;
        QTest::addRow("a description asking for a name")
            << QStringLiteral("这种能力叫什么") << 0 << false;
        QTest::addRow("a description of 28 characters")
            << QStringLiteral("有没有一种办法让电脑像人一样一步步自己去把一整件事情办完") << 0
            << false;
        QTest::addRow("a question naming two terms asks for one name")
            << QStringLiteral("把 RAG 和微调放在一起用的做法叫什么") << 2 << false;
        QTest::addRow("40 characters asking for a name, two terms")
            << QStringLiteral("叫什么") + QString(37, u'字') << 2 << false;
        QTest::addRow("41 characters with the phrase and two terms read as a passage")
            << QStringLiteral("叫什么") + QString(38, u'字') << 2 << true;
        QTest::addRow("60 characters, one term") << sixty << 1 << false;
        QTest::addRow("61 characters, no term") << sixty + u'字' << 0 << true;
        QTest::addRow("61 characters asking for a name")
            << QStringLiteral("叫什么") + QString(58, u'字') << 0 << true;
        // Characters as the user sees them: 60 family emoji are 60, not 300 code units.
        QString families;
        for (int i = 0; i < 60; ++i)
            families += QStringLiteral("👨‍👩‍👧");
        QTest::addRow("60 emoji") << families << 0 << false;
    }
    void aPassageOrAQuery()
    {
        QFETCH(QString, selection);
        QFETCH(int, knownTerms);
        QFETCH(bool, passage);
        QCOMPARE(SelectionText::readsAsPassage(selection, knownTerms), passage);
    }

    void aPassageIsShapedFromTheSelection_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("passage");
        QTest::addRow("runs of white space become one space")
            << QStringLiteral("  把 RAG\t\t和  Agent\r\n打通 ")
            << QStringLiteral("把 RAG 和 Agent 打通");
        QTest::addRow("a line broken inside Chinese words joins up")
            << QStringLiteral("对齐一下颗\n粒度，形成闭\r\n  环")
            << QStringLiteral("对齐一下颗粒度，形成闭环");
        QTest::addRow("a line break beside Latin stays a space")
            << QStringLiteral("用 RAG\n打通链路\nAgent") << QStringLiteral("用 RAG 打通链路 Agent");
        QTest::addRow("spaces within a Chinese line stay")
            << QStringLiteral("颗粒度 对齐") << QStringLiteral("颗粒度 对齐");
        QTest::addRow("full-width punctuation before a break joins up")
            << QStringLiteral("先对齐，\n再拉通") << QStringLiteral("先对齐，再拉通");
    }
    void aPassageIsShapedFromTheSelection()
    {
        QFETCH(QString, selected);
        QFETCH(QString, passage);
        QCOMPARE(SelectionText::passage(selected), passage);
    }

    // A passage keeps 2,000 characters where a query keeps 200.
    void aPassageKeepsItsCapAndAQueryItsOwn()
    {
        const QString family = QStringLiteral("👨‍👩‍👧");
        QString text;
        for (int i = 0; i < SelectionText::kPassageMaximumGraphemes + 5; ++i)
            text += family;
        QCOMPARE(SelectionText::passage(text).size(),
                 family.size() * SelectionText::kPassageMaximumGraphemes);
        QCOMPARE(SelectionText::normalised(text).size(),
                 family.size() * SelectionText::kMaximumGraphemes);
    }
};

QTEST_GUILESS_MAIN(SelectionTextTest)
#include "tst_selectiontext.moc"
