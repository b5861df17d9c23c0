// The floating card on its real panel: where the panel appears, how the
// trigger tells a click from a drag and saves the position, how the panel
// follows the card's size, and what each face shows for the view model's
// states, driven through the accessibility tree as a screen reader would.

#include "card/faces/cardviewcontroller.h"
#include "card/paint/theme.h"
#include "card/panel/panelsurface.h"
#include "cardfixture.h"
#include "online/apisettingsnotifier.h"
#include "online/deepseekerror.h"
#include "tests/support/fakechatserver.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>
#include <QProcess>
#include <QQuickItem>
#include <QScopeGuard>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace wordlumen;
using namespace wordlumen::testing;

namespace {

// The control a screen reader reads as `name`: by its name, or for a text
// (the answer is named by its title) by what its Text interface reads.
QAccessibleInterface *findAccessible(QAccessibleInterface *node, const QString &name,
                                     bool visibleOnly)
{
    if (!node) {
        return nullptr;
    }
    const QAccessibleTextInterface *text = node->textInterface();
    const bool reads = node->text(QAccessible::Name) == name ||
                       (text && text->text(0, text->characterCount()) == name);
    if (reads && !(visibleOnly && node->state().invisible)) {
        return node;
    }
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface *found = findAccessible(node->child(i), name, visibleOnly)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace

class CardPanelTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_settingsDir;
    std::unique_ptr<CardFixture> m_card;
    std::unique_ptr<FakeChatServer> m_server;

    QRect screenArea() const { return QGuiApplication::primaryScreen()->availableGeometry(); }
    QQuickWindow *panel() const { return m_card->panel(); }
    CardViewModel *model() const { return m_card->viewModel(); }

    QAccessibleInterface *accessible(const QString &name) const
    {
        return findAccessible(QAccessible::queryAccessibleInterface(panel()), name, true);
    }
    bool shows(const QString &name) const { return accessible(name) != nullptr; }
    bool press(const QString &name) const
    {
        QAccessibleInterface *control = accessible(name);
        if (!control || !control->actionInterface()) {
            return false;
        }
        control->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        return true;
    }

    // Drags the pointer in global coordinates; the panel moves under it, so
    // each event is sent at the pointer's place relative to where the panel is now.
    void pointerDown(QPoint global)
    {
        QTest::mousePress(panel(), Qt::LeftButton, {}, global - panel()->position());
    }
    void pointerMove(QPoint global) { QTest::mouseMove(panel(), global - panel()->position()); }
    void pointerUp(QPoint global)
    {
        QTest::mouseRelease(panel(), Qt::LeftButton, {}, global - panel()->position());
    }
    QPoint triggerCentre() const { return panel()->geometry().center(); }

    QString focusedName() const
    {
        QQuickItem *item = panel()->activeFocusItem();
        QAccessibleInterface *focused =
            item ? QAccessible::queryAccessibleInterface(item) : nullptr;
        return focused ? focused->text(QAccessible::Name) : QString();
    }
    /// Presses Tab `count` times and names what has the focus after each.
    QStringList tabbedThrough(qsizetype count)
    {
        QStringList names;
        for (qsizetype i = 0; i < count; ++i) {
            QTest::keyClick(panel(), Qt::Key_Tab);
            names << focusedName();
        }
        return names;
    }
    bool tabUntil(const QString &name)
    {
        for (int i = 0; i < 20; ++i) {
            if (focusedName() == name)
                return true;
            QTest::keyClick(panel(), Qt::Key_Tab);
        }
        return false;
    }
    int visibleFocusRings() const
    {
        int rings = 0;
        for (QQuickItem *item : m_card->root()->findChildren<QQuickItem *>()) {
            if (item->property("outset").isValid() && item->isVisible())
                ++rings;
        }
        return rings;
    }

    /// The cases that read the X server's view of the panel run in tst_cardpanel_x11.
    static bool onX11() { return QGuiApplication::platformName() == QLatin1String("xcb"); }
    /// The open panel for a card of this height: the card and its shadow's room.
    static QSize openPanel(double cardHeight)
    {
        return QSizeF(356, cardHeight).grownBy(CardViewController::shadowMargins()).toSize();
    }
    /// The rectangle of `size` whose right and bottom edges lie just before `corner`.
    static QRect endingAt(QPoint corner, QSize size)
    {
        return {corner - QPoint(size.width(), size.height()), size};
    }
    /// The open card's top-left corner in the panel.
    static QPoint cardCorner()
    {
        return QPointF(CardViewController::shadowLeft(), CardViewController::shadowTop()).toPoint();
    }
    /// The top-level window the X server finds under a global point (moves the pointer there).
    static WId windowUnderPointer(QPoint global)
    {
        QProcess xdotool;
        xdotool.start(QStringLiteral("xdotool"),
                      {QStringLiteral("mousemove"), QString::number(global.x()),
                       QString::number(global.y()), QStringLiteral("getmouselocation"),
                       QStringLiteral("--shell")});
        xdotool.waitForFinished(5000);
        for (const QByteArray &line : xdotool.readAllStandardOutput().split('\n')) {
            if (line.startsWith("WINDOW="))
                return WId(line.mid(7).toULongLong());
        }
        return 0;
    }
    /// Sets the desktop's work area as a window manager would; null removes it.
    static bool setWorkArea(const QRect &area)
    {
        QStringList arguments{QStringLiteral("-root")};
        if (area.isNull()) {
            arguments << QStringLiteral("-remove") << QStringLiteral("_NET_WORKAREA");
        } else {
            arguments << QStringLiteral("-f") << QStringLiteral("_NET_WORKAREA")
                      << QStringLiteral("32c") << QStringLiteral("-set")
                      << QStringLiteral("_NET_WORKAREA")
                      << QStringLiteral("%1, %2, %3, %4")
                             .arg(area.x())
                             .arg(area.y())
                             .arg(area.width())
                             .arg(area.height());
        }
        return QProcess::execute(QStringLiteral("xprop"), arguments) == 0;
    }

    void openCard()
    {
        model()->expand();
        m_card->settle();
    }
    void submit(const QString &query)
    {
        openCard();
        model()->setQuery(query);
        model()->explain();
        m_card->settle();
    }

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
        QCoreApplication::setOrganizationName(QStringLiteral("Zintaro"));
        QCoreApplication::setApplicationName(QStringLiteral("WordlumenCardTest"));
        Theme::instance()->setReduceMotion(true);
        // As under a compositor; the cases without one say so.
        Theme::instance()->setTranslucentWindows(true);
    }

    void init()
    {
        QSettings().clear();
        m_server = std::make_unique<FakeChatServer>();
        QVERIFY(m_server->listen());
        m_card = std::make_unique<CardFixture>();
        m_card->endpoint = m_server->url();
        QVERIFY(m_card->show());
        m_card->settle(100);
    }

    void cleanup()
    {
        m_card.reset();
        m_server.reset();
    }

    void panelAppearsAtTheBottomRightCorner()
    {
        const QRect area = screenArea();
        QCOMPARE(panel()->geometry(),
                 QRect(area.right() + 1 - 8 - 140, area.bottom() + 1 - 8 - 60, 140, 60));
        QVERIFY(panel()->flags().testFlags(Qt::Tool | Qt::FramelessWindowHint |
                                           Qt::WindowStaysOnTopHint));
        QCOMPARE(panel()->objectName(), QStringLiteral("WordlumenFloatingPanel"));
        QVERIFY(m_card->controller()->isVisible());
        QVERIFY(shows(QStringLiteral("展开 Wordlumen；可拖动摆放")));
    }

    void aSmallMovementIsAClick()
    {
        const QPoint start = triggerCentre();
        pointerDown(start);
        pointerMove(start + QPoint(2, 0));
        pointerUp(start + QPoint(2, 0));
        QCOMPARE(model()->presentation(), CardPresentation::Front);
        QVERIFY(!QSettings().contains(QStringLiteral("floatingCardOriginX")));
        m_card->settle();
        // The open card unfolds away from the bottom-right corner.
        const QRect area = screenArea();
        QCOMPARE(panel()->geometry(), endingAt(area.bottomRight() - QPoint(7, 7), openPanel(312)));
    }

    void aDragMovesThePanelAndSavesItsPlace()
    {
        const QPoint origin = panel()->position();
        const QPoint start = triggerCentre();
        pointerDown(start);
        for (int step = 1; step <= 5; ++step) {
            pointerMove(start - QPoint(40 * step, 20 * step));
        }
        pointerUp(start - QPoint(200, 100));
        QCOMPARE(model()->presentation(), CardPresentation::Collapsed);
        QCOMPARE(panel()->position(), origin - QPoint(200, 100));
        // Saved in desktop coordinates: the panel's bottom-left corner, y upward.
        const QSettings settings;
        const double screenBottom = QGuiApplication::primaryScreen()->geometry().bottom() + 1;
        QCOMPARE(settings.value(QStringLiteral("floatingCardOriginX")).toDouble(),
                 double(panel()->x()));
        QCOMPARE(settings.value(QStringLiteral("floatingCardOriginY")).toDouble(),
                 screenBottom - panel()->y() - panel()->height());

        // The next launch puts the panel back there.
        const QPoint saved = panel()->position();
        m_card = std::make_unique<CardFixture>();
        QVERIFY(m_card->show());
        QCOMPARE(panel()->position(), saved);
    }

    void aDragStopsInsideTheScreenAndFollowsBack()
    {
        const QRect area = screenArea();
        const QPoint start = triggerCentre();
        const QPoint origin = panel()->position();
        pointerDown(start);
        pointerMove(start + QPoint(500, 0));
        QCOMPARE(panel()->x(), area.right() + 1 - 8 - 140);
        // The start values are unchanged, so moving back brings the panel under the pointer.
        pointerMove(start - QPoint(300, 0));
        QCOMPARE(panel()->position(), origin - QPoint(300, 0));
        pointerUp(start - QPoint(300, 0));
    }

    void theTitleStripDragsTheOpenCardAndAlwaysSaves()
    {
        openCard();
        QQuickItem *strip = nullptr;
        const auto items = m_card->root()->findChildren<QQuickItem *>();
        for (QQuickItem *item : items) {
            if (QByteArray(item->metaObject()->className()).contains("FloatingDragHandle") &&
                item->isVisible()) {
                strip = item;
                break;
            }
        }
        QVERIFY(strip);
        const QPoint onStrip =
            strip->mapToGlobal(QPointF(strip->width() / 2, strip->height() / 2)).toPoint();
        pointerDown(onStrip);
        pointerUp(onStrip);
        QVERIFY(QSettings().contains(QStringLiteral("floatingCardOriginX")));
        QCOMPARE(model()->presentation(), CardPresentation::Front);
        const QPoint before = panel()->position();
        pointerDown(onStrip);
        pointerMove(onStrip - QPoint(30, 30));
        pointerUp(onStrip - QPoint(30, 30));
        QCOMPARE(panel()->position(), before - QPoint(30, 30));
    }

    void resizingToTheCurrentSizeDoesNothing()
    {
        const QSizeF size = m_card->controller()->currentSize();
        panel()->setPosition(300, 200); // away from where any anchoring would put it
        m_card->controller()->resize(size, true);
        QVERIFY(!m_card->controller()->isAnimating());
        QCOMPARE(panel()->position(), QPoint(300, 200));
    }

    void theWideStyleGrowsTheCollapsedPanel()
    {
        const QRect area = screenArea();
        m_card->controller()->setTriggerStyle(FloatingTriggerStyle::Wide);
        m_card->settle();
        QCOMPARE(panel()->geometry(),
                 QRect(area.right() + 1 - 8 - 188, area.bottom() + 1 - 8 - 68, 188, 68));
        QCOMPARE(QSettings().value(QStringLiteral("floatingTriggerStyle")).toString(),
                 QStringLiteral("wide"));
    }

    void resetReturnsToTheCornerAndForgetsThePlace()
    {
        panel()->setPosition(100, 100);
        m_card->controller()->saveCurrentPosition();
        m_card->controller()->resetPosition();
        m_card->settle();
        const QRect area = screenArea();
        QCOMPARE(panel()->position(),
                 QPoint(area.right() + 1 - 8 - 140, area.bottom() + 1 - 8 - 60));
        QVERIFY(!QSettings().contains(QStringLiteral("floatingCardOriginX")));
        QVERIFY(!QSettings().contains(QStringLiteral("floatingCardOriginY")));
    }

    void escapeFoldsTheCardAndItReopensWhereItWas()
    {
        openCard();
        model()->setQuery(QStringLiteral("半句话"));
        // Escape is the panel's while it has the keyboard.
        panel()->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(panel()));
        QTest::keyClick(panel(), Qt::Key_Escape);
        QCOMPARE(model()->presentation(), CardPresentation::Collapsed);
        m_card->settle();
        QCOMPARE(panel()->size(), QSize(140, 60));
        QVERIFY(press(QStringLiteral("展开 Wordlumen；可拖动摆放")));
        QCOMPARE(model()->presentation(), CardPresentation::Front);
        QCOMPARE(model()->query(), QStringLiteral("半句话"));
    }

    void anAnimatedResizeChangesTheWindowOnlyAtItsEnds()
    {
        const QRect collapsed = panel()->geometry();
        model()->expand();
        // The window grows at once to hold the card, anchored at the corner...
        QCOMPARE(panel()->geometry(),
                 endingAt(collapsed.bottomRight() + QPoint(1, 1), openPanel(312)));
        QVERIFY(m_card->controller()->isAnimating());
        m_card->settle();
        const QRect open = panel()->geometry();
        model()->collapse();
        // ...and keeps its size while the card fades out in it; the content
        // keeps to the new, small frame in its bottom-right corner.
        QCOMPARE(panel()->geometry(), open);
        QCOMPARE(m_card->controller()->currentSize(), QSizeF(140, 60));
        const QSize grown = openPanel(312) - QSize(140, 60);
        QCOMPARE(m_card->controller()->contentRect(),
                 QRectF(grown.width(), grown.height(), 140, 60));
        m_card->settle();
        QCOMPARE(panel()->geometry(), collapsed);
        QCOMPARE(m_card->controller()->contentRect(), QRectF(0, 0, 140, 60));
    }

    void foldingFadesAndShrinksTheCardWithoutTurningIt()
    {
        Theme::instance()->setReduceMotion(false);
        const auto restore = qScopeGuard([] { Theme::instance()->setReduceMotion(true); });
        submit(QStringLiteral("RAG"));
        const auto *open = m_card->root()->findChild<QObject *>(QStringLiteral("openCard"));
        QVERIFY(open);
        QCOMPARE(open->property("turn").toDouble(), 1.0);
        model()->collapse();
        int frames = 0;
        QPointer<const QObject> watched(open);
        while (watched && frames < 200) {
            QCOMPARE(watched->property("turn").toDouble(), 1.0);
            const auto *front = watched->findChild<QQuickItem *>(QStringLiteral("frontFace"));
            QVERIFY(front);
            QVERIFY(!front->isVisible());
            QTest::qWait(5);
            ++frames;
        }
        QVERIFY2(!watched, "the open card stayed after the fold");
        QVERIFY(frames > 10); // the fold was watched while it ran
    }

    void withoutSeeThroughWindowsThePanelIsCutToWhatItShows()
    {
        Theme::instance()->setTranslucentWindows(false);
        const auto restore = qScopeGuard([] { Theme::instance()->setTranslucentWindows(true); });
        m_card->settle(100);
        // The capsule in the middle of the collapsed panel, on paper that is
        // (just short of) opaque.
        QTRY_COMPARE(panel()->mask().boundingRect(), QRect(12, 12, 116, 36));
        QVERIFY(!panel()->mask().contains(QPoint(13, 13))); // the capsule's round end
        QCOMPARE(panel()->color().rgb(), Theme::instance()->paper().rgb());
        QVERIFY(panel()->color().alpha() > 250);

        openCard();
        QTRY_COMPARE(panel()->mask().boundingRect(), QRect(cardCorner(), QSize(356, 312)));
        // The fold's triangle belongs to the card; the shadow margin does not.
        QVERIFY(panel()->mask().contains(cardCorner() + QPoint(355, 1)));
        QVERIFY(!panel()->mask().contains(QPoint(20, 100)));

        // A compositor starts: see-through again, nothing cut.
        Theme::instance()->setTranslucentWindows(true);
        QTRY_VERIFY(panel()->mask().isEmpty());
        QCOMPARE(panel()->color().alpha(), 0);
    }

    void losingTheFocusFoldsTheCard()
    {
        QVERIFY(press(QStringLiteral("展开 Wordlumen；可拖动摆放")));
        QTRY_VERIFY(panel()->isActive());
        QWindow other;
        other.setGeometry(10, 10, 100, 100);
        other.show();
        other.requestActivate();
        QTRY_COMPARE(model()->presentation(), CardPresentation::Collapsed);
        QVERIFY(m_card->controller()->isVisible());
    }

    void returnInTheInputTurnsTheCardOver()
    {
        openCard();
        QTRY_VERIFY(panel()->activeFocusItem() &&
                    panel()->activeFocusItem()->inherits("QQuickTextInput"));
        for (const QChar c : QStringLiteral("什么是RAG")) {
            QTest::sendKeyEvent(QTest::Click, panel(), Qt::Key_unknown, QString(c), {});
        }
        QCOMPARE(model()->query(), QStringLiteral("什么是RAG"));
        QTest::keyClick(panel(), Qt::Key_Return);
        QCOMPARE(model()->presentation(), CardPresentation::Back);

        // The answer takes the keyboard, so a screen reader speaks it: its
        // title as the name, the explanation as its text. Escape still folds.
        QTRY_VERIFY(panel()->activeFocusItem() &&
                    panel()->activeFocusItem()->inherits("QQuickTextEdit"));
        QAccessibleInterface *answer =
            QAccessible::queryAccessibleInterface(panel()->activeFocusItem());
        QCOMPARE(answer->text(QAccessible::Name), QStringLiteral("检索增强生成"));
        QVERIFY(answer->textInterface()
                    ->text(0, answer->textInterface()->characterCount())
                    .contains(QStringLiteral("资料")));
        QTest::keyClick(panel(), Qt::Key_Escape);
        QCOMPARE(model()->presentation(), CardPresentation::Collapsed);
    }

    void theKeyboardReachesTheExamples()
    {
        openCard();
        QTRY_VERIFY(panel()->activeFocusItem() &&
                    panel()->activeFocusItem()->inherits("QQuickTextInput"));
        QTest::keyClick(panel(), Qt::Key_Tab);
        QAccessibleInterface *focused =
            QAccessible::queryAccessibleInterface(panel()->activeFocusItem());
        QVERIFY(focused);
        QCOMPARE(focused->text(QAccessible::Name), QStringLiteral("context · 上下文"));
        QTest::keyClick(panel(), Qt::Key_Return);
        QCOMPARE(model()->query(), QStringLiteral("context"));
        QCOMPARE(model()->presentation(), CardPresentation::Back);
    }

    // Only what lies under the pointer looks hovered: a control that was
    // under it while its face was hidden or not laid out yet does not stay lit.
    void onlyTheControlUnderThePointerLooksHovered()
    {
        Theme::instance()->setReduceMotion(false);
        const auto restore = qScopeGuard([] { Theme::instance()->setReduceMotion(true); });
        const QPoint pointer = triggerCentre();
        pointerDown(pointer);
        pointerUp(pointer);
        m_card->settle();
        QTRY_VERIFY(panel()->activeFocusItem() &&
                    panel()->activeFocusItem()->inherits("QQuickTextInput"));
        for (const QChar c : QStringLiteral("RAG"))
            QTest::sendKeyEvent(QTest::Click, panel(), Qt::Key_unknown, QString(c), {});
        QTest::keyClick(panel(), Qt::Key_Return);
        m_card->settle();
        QCOMPARE(model()->presentation(), CardPresentation::Back);
        int checked = 0;
        for (QQuickItem *item : m_card->root()->findChildren<QQuickItem *>()) {
            if (!item->isVisible() || !item->property("tint").isValid())
                continue;
            const QRectF area = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
            // (Whether the one under the pointer lights before the pointer
            // moves depends on the platform.)
            if (!area.contains(pointer - panel()->position())) {
                QCOMPARE(item->property("tint").value<QColor>(), Theme::instance()->controlInk());
                ++checked;
            }
        }
        QVERIFY(checked >= 1); // 换一个词, at least
    }

    // Tab walks the controls as they are read: the header's buttons and the
    // folded corner on its right, then the face's body, then its footer.
    void tabFollowsTheVisualOrder()
    {
        openCard();
        QTRY_VERIFY(panel()->activeFocusItem() &&
                    panel()->activeFocusItem()->inherits("QQuickTextInput"));
        const QStringList front{
            QStringLiteral("context · 上下文"), QStringLiteral("RAG · 检索增强"),
            QStringLiteral("LoRA · 轻量微调"),  QStringLiteral("翻转"),
            QStringLiteral("API 设置"),         QStringLiteral("收起"),
            QStringLiteral("翻成白话"),         QStringLiteral("要解释的词")};
        QCOMPARE(tabbedThrough(front.size()), front);

        m_card->apiKey.clear();
        model()->setQuery(QStringLiteral("Zorblax"));
        QTest::keyClick(panel(), Qt::Key_Return);
        m_card->settle();
        QCOMPARE(model()->presentation(), CardPresentation::Back);
        const QStringList back{QStringLiteral("复制解释"),   QStringLiteral("收起"),
                               QStringLiteral("翻回黑话面"), QStringLiteral("接上 API"),
                               QStringLiteral("换一个词"),   QStringLiteral("翻回去"),
                               QStringLiteral("复制解释")};
        QCOMPARE(tabbedThrough(back.size()), back);
    }

    // The keyboard alone folds the card, opens it again, and shows where the
    // focus is with the theme's ring; a click hides the rings again.
    void theKeyboardFoldsAndOpensTheCardAndShowsItsFocus()
    {
        QVERIFY(press(QStringLiteral("展开 Wordlumen；可拖动摆放")));
        QTRY_VERIFY(panel()->isActive());
        m_card->settle();
        QTest::keyClick(panel(), Qt::Key_Escape);
        m_card->settle();
        QCOMPARE(model()->presentation(), CardPresentation::Collapsed);
        QCOMPARE(focusedName(), QStringLiteral("展开 Wordlumen；可拖动摆放"));
        QCOMPARE(visibleFocusRings(), 1);
        QTest::keyClick(panel(), Qt::Key_Return);
        QCOMPARE(model()->presentation(), CardPresentation::Front);
        m_card->settle();

        // The folded corner and the settings face's save button have rings too.
        QVERIFY(tabUntil(QStringLiteral("翻成白话")));
        QCOMPARE(visibleFocusRings(), 1);
        QVERIFY(tabUntil(QStringLiteral("API 设置")));
        QTest::keyClick(panel(), Qt::Key_Space);
        m_card->settle();
        QCOMPARE(model()->presentation(), CardPresentation::Settings);
        QVERIFY(tabUntil(QStringLiteral("保存设置")));
        QCOMPARE(visibleFocusRings(), 1);

        QTest::mouseClick(panel(), Qt::LeftButton, {}, QPoint(100, 200));
        QCOMPARE(visibleFocusRings(), 0);
    }

    void aLocalAnswer()
    {
        submit(QStringLiteral("什么是RAG"));
        QVERIFY(shows(QStringLiteral("检索增强生成")));
        QVERIFY(!shows(QStringLiteral("检索增强生成（RAG）")));
        QVERIFY(shows(QStringLiteral("本地词典 · 无需 API")));
        QVERIFY(shows(QStringLiteral("复制解释")));
        QVERIFY(shows(QStringLiteral("换一个词")));
        QVERIFY(shows(QStringLiteral("翻回去")));
        QVERIFY(!shows(QStringLiteral("接上 API")));
        // The panel follows the card's height.
        QCOMPARE(panel()->size(), openPanel(model()->expandedHeight()));

        QVERIFY(press(QStringLiteral("翻回黑话面")));
        QCOMPARE(model()->presentation(), CardPresentation::Front);
    }

    void copyPutsOnlyTheExplanationOnTheClipboard()
    {
        submit(QStringLiteral("RAG"));
        const QString explanation = model()->result()->explanation;
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QVERIFY(press(QStringLiteral("复制解释")));
        QCOMPARE(QGuiApplication::clipboard()->text(), explanation);
        QVERIFY(!explanation.contains(model()->result()->term));
        // While the check mark shows, the button's name says so too.
        QVERIFY(shows(QStringLiteral("已复制")));
        // The checkmark shows for 1.2 seconds, then the copy symbol returns.
        auto symbolOfCopyButton = [this] {
            for (QQuickItem *item : m_card->root()->findChildren<QQuickItem *>()) {
                const QString symbol = item->property("symbol").toString();
                if (item->isVisible() &&
                    (symbol == u"checkmark" || symbol == u"square.on.square")) {
                    return symbol;
                }
            }
            return QString();
        };
        QCOMPARE(symbolOfCopyButton(), QStringLiteral("checkmark"));
        QTRY_COMPARE_WITH_TIMEOUT(symbolOfCopyButton(), QStringLiteral("square.on.square"), 2000);
        QVERIFY(shows(QStringLiteral("复制解释")));
    }

    void anUnavailableAnswerOffersTheSettings()
    {
        submit(QStringLiteral("Zorblax"));
        QVERIFY(shows(QStringLiteral("未收录")));
        QVERIFY(press(QStringLiteral("接上 API")));
        QCOMPARE(model()->presentation(), CardPresentation::Settings);
        QCOMPARE(model()->expandedHeight(), 374.0);
        m_card->settle();
        QCOMPARE(panel()->size(), openPanel(374));
        QVERIFY(shows(QStringLiteral("接口地址")));
        QVERIFY(press(QStringLiteral("关闭设置")));
        QCOMPARE(model()->presentation(), CardPresentation::Front);
        QCOMPARE(model()->expandedHeight(), 312.0);
    }

    void theSettingsFaceRefusesAnEndpointWithoutHttps()
    {
        QSettings().setValue(QStringLiteral("deepseekEndpoint"),
                             QStringLiteral("http://api.example.com/v1/chat/completions"));
        openCard();
        QVERIFY(press(QStringLiteral("API 设置")));
        m_card->settle();
        QCOMPARE(model()->presentation(), CardPresentation::Settings);
        const QString refusal = DeepSeekError::insecureEndpoint().message();
        QVERIFY(!shows(refusal));
        QVERIFY(press(QStringLiteral("保存设置")));
        QTRY_VERIFY(shows(refusal));
        // A fresh face each time: the message is gone after closing and reopening.
        QVERIFY(press(QStringLiteral("关闭设置")));
        m_card->settle();
        QVERIFY(press(QStringLiteral("API 设置")));
        m_card->settle();
        QVERIFY(!shows(refusal));
    }

    void anOnlineAnswerStreamsInAfterItsPlaceholder()
    {
        m_card->apiKey = QStringLiteral("sk-test");
        ScriptedResponse held = ScriptedResponse::eventStream({});
        held.holdOpen = true;
        m_server->enqueue(held);
        submit(QStringLiteral("Zorblax"));
        QVERIFY(model()->isLoading());
        QVERIFY(shows(QStringLiteral("正在生成解释")));
        QVERIFY(shows(QStringLiteral("正在继续写…")));
        QVERIFY(!shows(QStringLiteral("翻回去")));
        QVERIFY(m_server->waitForRequests(1));

        m_server->sendChunk(pieceLine(QStringLiteral("第一段解释。")) + '\n');
        QTRY_VERIFY(shows(QStringLiteral("第一段解释。")));
        QVERIFY(!shows(QStringLiteral("正在生成解释")));
        m_server->sendChunk("data: [DONE]\n");
        m_server->endResponse();
        QTRY_VERIFY(!model()->isLoading());
        QVERIFY(shows(QStringLiteral("翻回去")));
        QVERIFY(!shows(QStringLiteral("正在继续写…")));
    }

    void startingOverWhileStreamingLeavesNothingBehind()
    {
        m_card->apiKey = QStringLiteral("sk-test");
        ScriptedResponse held = ScriptedResponse::eventStream({pieceLine(QStringLiteral("一半"))});
        held.holdOpen = true;
        m_server->enqueue(held);
        submit(QStringLiteral("Zorblax"));
        QTRY_VERIFY(shows(QStringLiteral("一半")));
        QVERIFY(press(QStringLiteral("换一个词")));
        m_server->sendChunk(pieceLine(QStringLiteral("迟到的另一半")) + '\n');
        m_card->settle(200);
        QCOMPARE(model()->presentation(), CardPresentation::Front);
        QVERIFY(model()->query().isEmpty());
        QVERIFY(!model()->result());
    }

    void reverseLookupCandidates()
    {
        m_card->apiKey = QStringLiteral("sk-test");
        m_server->enqueue(ScriptedResponse::json(
            matchesReply({{QStringLiteral("AI 智能体"), QStringLiteral("AI Agent"),
                           QStringLiteral("能自己拆解任务的 AI 程序。"), QStringLiteral("high")},
                          {QStringLiteral("RPA"), QStringLiteral("rpa"),
                           QStringLiteral("模仿人在电脑上的操作。"), QStringLiteral("high")}})));
        submit(QStringLiteral("有没有一种办法让电脑像人一样一步步自己去把一整件事情办完"));
        QVERIFY(shows(QStringLiteral("你可能在找")));
        QTRY_VERIFY(shows(QStringLiteral("RPA，模仿人在电脑上的操作。，点击查看解释")));
        QVERIFY(shows(
            QStringLiteral("AI 智能体 · AI Agent，能自己拆解任务的 AI 程序。，点击查看解释")));
        QVERIFY(!shows(QStringLiteral("复制解释")));
        QVERIFY(press(QStringLiteral("RPA，模仿人在电脑上的操作。，点击查看解释")));
        QCOMPARE(model()->query(), QStringLiteral("RPA"));
    }

    // The answer face is laid out as the view model sizes the card: below the
    // largest height, a text the formula measures, the title's second line,
    // the "接上 API" action, the error and the placeholder all fit without
    // scrolling. Both modes, long titles, long answers.
    void theAnswerFitsTheHeightTheCardAsksFor_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("withKey");
        QTest::addColumn<QByteArray>("reply"); // a streamed text, or a body for `status`
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("holdOpen");
        QTest::addColumn<QStringList>("inView"); // accessible names that must be seen whole
        QTest::addColumn<bool>("wholeTitle");    // fits in the title's two lines

        const QString cjk = QStringLiteral(
            "检索增强生成是先到可信资料里找出和问题相关的段落，再让模型只根据这些段落来回答，"
            "所以答案能说清出处，也更少凭空编造。企业常用它把内部文档接进问答助手里，"
            "资料更新以后不用重新训练模型，只要更新检索的资料库就行。它的难点在于切分资料、"
            "挑选最相关的段落，以及在资料互相矛盾时给出稳妥的说法。做得好时，"
            "员工问制度、流程和产品细节都能得到带出处的回答。");
        const QString mixed = QStringLiteral(
            "RAG（Retrieval-Augmented Generation）先 retrieve 再 generate：用 embedding "
            "在 vector database 里找出 top-k 段落，拼进 prompt，再交给 LLM 回答。这样 "
            "answer 有 citation，hallucination 更少，知识更新只要重建 index，不用 "
            "fine-tune 模型，成本也低很多。常见的坑是 chunk 切得太碎或太长。");
        const QString description =
            QStringLiteral("有没有一种办法让电脑像人一样一步步自己去把一整件事情办完");
        const QString longTitle = QStringLiteral("一个名字特别长的行业黑话术语两行");
        QTest::addRow("a detailed answer") << QStringLiteral("Zorblax") << true << pieceLine(cjk)
                                           << 200 << false << QStringList() << true;
        QTest::addRow("a detailed answer in mixed script")
            << QStringLiteral("Zorblax") << true << pieceLine(mixed) << 200 << false
            << QStringList() << true;
        QTest::addRow("a two-line title") << longTitle << true << pieceLine(cjk.left(100)) << 200
                                          << false << QStringList() << true;
        QTest::addRow("a Latin description the service refuses")
            << QStringLiteral("what do you call a program that finishes a whole task alone") << true
            << QByteArray("{}") << 503 << false
            << QStringList{QStringLiteral("接上 API"),
                           QStringLiteral("API 暂时没有回答（错误码 503）。")}
            << false;
        QTest::addRow("no key, a description")
            << description << false << QByteArray() << 200 << false
            << QStringList{QStringLiteral("接上 API")} << true;
        QTest::addRow("no key, a long unknown term")
            << QStringLiteral("Hyperconverged Infrastructure Orchestration") << false
            << QByteArray() << 200 << false << QStringList{QStringLiteral("接上 API")} << false;
        QTest::addRow("a reverse lookup the service refuses")
            << description << true << QByteArray("{}") << 500 << false
            << QStringList{QStringLiteral("接上 API"),
                           QStringLiteral("API 暂时没有回答（错误码 500）。")}
            << true;
        QTest::addRow("an explanation the service refuses, two-line title")
            << longTitle << true << QByteArray("{}") << 500 << false
            << QStringList{QStringLiteral("API 暂时没有回答（错误码 500）。")} << true;
        QTest::addRow("the placeholder under a two-line title")
            << longTitle << true << QByteArray() << 200 << true
            << QStringList{QStringLiteral("正在生成解释")} << true;
        QTest::addRow("reverse-lookup candidates")
            << description << true
            << matchesReply(
                   {{QStringLiteral("AI 智能体"), QStringLiteral("AI Agent"),
                     QStringLiteral("能自己拆解任务、调用工具、一步步把事情做完的 AI "
                                    "程序，常用来替人跑完一整套流程。"),
                     QStringLiteral("high")},
                    {QStringLiteral("工作流自动化"), QStringLiteral("Workflow Automation"),
                     QStringLiteral("把一串固定步骤交给软件按顺序自动执行，中间不用人来回点。"),
                     QStringLiteral("high")},
                    {QStringLiteral("RPA"), QStringLiteral("rpa"),
                     QStringLiteral("让软件模仿人在电脑上的点击和输入，替人做大量重复的操作。"),
                     QStringLiteral("high")}})
            << 200 << false
            << QStringList{QStringLiteral(
                   "RPA，让软件模仿人在电脑上的点击和输入，替人做大量重复的操作。，点击查看解释")}
            << true;
        QTest::addRow("the reverse-lookup placeholder")
            << description << true << QByteArray() << 200 << true
            << QStringList{QStringLiteral("正在生成解释")} << true;
    }
    void theAnswerFitsTheHeightTheCardAsksFor()
    {
        QFETCH(QString, query);
        QFETCH(bool, withKey);
        QFETCH(QByteArray, reply);
        QFETCH(int, status);
        QFETCH(bool, holdOpen);
        QFETCH(QStringList, inView);
        QFETCH(bool, wholeTitle);
        m_card->profile.length = ExplanationLength::Detailed;
        if (withKey) {
            m_card->apiKey = QStringLiteral("sk-test");
            ScriptedResponse response =
                status != 200 || reply.startsWith('{')
                    ? ScriptedResponse::json(reply, status)
                    : ScriptedResponse::eventStream(reply.isEmpty()
                                                        ? QList<QByteArray>{}
                                                        : QList<QByteArray>{reply, "data: [DONE]"});
            response.holdOpen = holdOpen;
            m_server->enqueue(response);
        }
        submit(query);
        if (!holdOpen) {
            QTRY_VERIFY(!model()->isLoading());
        }
        m_card->settle();
        QVERIFY(model()->expandedHeight() < CardMetrics::kMaximumHeight);
        QCOMPARE(panel()->size(), openPanel(model()->expandedHeight()));

        QQuickItem *scroll = nullptr;
        for (auto *item :
             m_card->root()->findChildren<QQuickItem *>(QStringLiteral("answerScroll")))
            if (item->isVisible())
                scroll = item;
        QVERIFY(scroll);
        const double contentHeight = scroll->property("contentHeight").toDouble();

        QVERIFY2(contentHeight <= scroll->height() + 0.5,
                 qPrintable(QStringLiteral("%1 points of content in a %2-point area at height %3")
                                .arg(contentHeight)
                                .arg(scroll->height())
                                .arg(model()->expandedHeight())));
        // Nothing to scroll, so no scroll bar.
        QVERIFY(!scroll->property("interactive").toBool());
        // A title of two lines is shown whole (a longer one is cut at two).
        if (wholeTitle) {
            const auto *title =
                m_card->root()->findChild<QQuickItem *>(QStringLiteral("answerTitle"));
            QVERIFY(title);
            QVERIFY(!title->property("truncated").toBool());
        }
        const QRectF area = scroll->mapRectToScene(QRectF(0, 0, scroll->width(), scroll->height()));
        const QRect seen = QRectF(panel()->mapToGlobal(area.topLeft().toPoint()), area.size())
                               .toAlignedRect()
                               .adjusted(-1, -1, 1, 1);
        for (const QString &name : inView) {
            QAccessibleInterface *control = accessible(name);
            QVERIFY2(control, qPrintable(name));
            QVERIFY2(seen.contains(control->rect()),
                     qPrintable(QStringLiteral("%1 at %2,%3 %4x%5 is not inside the answer area")
                                    .arg(name)
                                    .arg(control->rect().x())
                                    .arg(control->rect().y())
                                    .arg(control->rect().width())
                                    .arg(control->rect().height())));
        }
    }

    void anExampleChipLooksItsTermUp()
    {
        openCard();
        QVERIFY(press(QStringLiteral("RAG · 检索增强")));
        QCOMPARE(model()->query(), QStringLiteral("RAG"));
        QCOMPARE(model()->presentation(), CardPresentation::Back);
    }

    // The row of a passage's other terms and the passage view, as a screen
    // reader and the keyboard reach them: a chip explains its term, the last
    // chip opens the view, a row there explains its term, Escape goes back.
    void thePassageRowAndViewThroughTheAccessibilityTree()
    {
        submit(QStringLiteral("先用 RAG 查资料，再把结果放进 context 里，然后拉通"));
        QVERIFY(shows(QStringLiteral("这段话里还有")));
        QCOMPARE(panel()->size(), openPanel(model()->expandedHeight()));
        const QString chip = QStringLiteral("RAG · 检索增强生成");
        panel()->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(panel()));
        QVERIFY(tabUntil(chip));
        QTest::keyClick(panel(), Qt::Key_Return);
        QCOMPARE(model()->resultTitle(), QStringLiteral("检索增强生成"));
        m_card->settle();

        QVERIFY(press(QStringLiteral("查看这段话里的全部黑话")));
        QCOMPARE(model()->answerMode(), CardAnswerMode::Passage);
        m_card->settle();
        QVERIFY(shows(QStringLiteral("这段话里的黑话")));
        QVERIFY(shows(QStringLiteral("先用 RAG 查资料，再把结果放进 context 里，然后拉通")));
        QCOMPARE(panel()->size(), openPanel(model()->expandedHeight()));
        const QString row = QStringLiteral(
            "拉通，把不同部门或团队的人拉到一起沟通，打破各自为政，让信息、资源和进度连起来。"
            "，点击查看完整解释");
        QVERIFY(shows(row));
        QVERIFY(!shows(QStringLiteral("找出其余黑话"))); // no key stored

        QTest::keyClick(panel(), Qt::Key_Escape);
        QCOMPARE(model()->answerMode(), CardAnswerMode::Explanation);
        QCOMPARE(model()->presentation(), CardPresentation::Back);
        model()->showPassage();
        m_card->settle();
        QVERIFY(press(row));
        QCOMPARE(model()->answerMode(), CardAnswerMode::Explanation);
        QCOMPARE(model()->resultTitle(), QStringLiteral("拉通"));
    }

    // The window holds every visible pixel of the card's shadows: its edges
    // are clear while the shadow shows just below the card.
    void theShadowEndsInsideThePanel_data()
    {
        QTest::addColumn<Theme::Scheme>("scheme");
        QTest::addRow("light") << Theme::Scheme::Light;
        QTest::addRow("dark") << Theme::Scheme::Dark;
    }
    void theShadowEndsInsideThePanel()
    {
        if (!onX11())
            QSKIP("needs an X server");
        QFETCH(Theme::Scheme, scheme);
        Theme::instance()->setScheme(scheme);
        const auto restore =
            qScopeGuard([] { Theme::instance()->setScheme(Theme::Scheme::System); });
        openCard();
        const QImage frame =
            panel()->grabWindow().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QVERIFY(frame.hasAlphaChannel());
        const int w = frame.width();
        const int h = frame.height();
        int edge = 0;
        for (int x = 0; x < w; ++x)
            edge = std::max({edge, qAlpha(frame.pixel(x, 0)), qAlpha(frame.pixel(x, h - 1))});
        for (int y = 0; y < h; ++y)
            edge = std::max({edge, qAlpha(frame.pixel(0, y)), qAlpha(frame.pixel(w - 1, y))});
        QVERIFY2(edge <= 1, qPrintable(QStringLiteral("shadow of alpha %1 at the edge").arg(edge)));
        // Below the card's middle the shadow is there to be cut.
        const double dpr = frame.devicePixelRatio();
        const int below =
            int((CardViewController::shadowTop() + model()->expandedHeight() + 4) * dpr);
        QVERIFY(qAlpha(frame.pixel(w / 2, below)) > 4);
    }

    // A click on the see-through shadow goes to the window below; the card
    // and the whole collapsed panel take their own.
    void onlyTheCardTakesThePointer()
    {
        if (!onX11())
            QSKIP("needs an X server");
        const auto *surface = PanelSurface::of(panel());
        QVERIFY(surface);
        QVERIFY(surface->inputRegion().isEmpty()); // the collapsed panel: all of it
        QCOMPARE(windowUnderPointer(panel()->geometry().topLeft() + QPoint(2, 2)),
                 panel()->winId());
        openCard();
        QTRY_COMPARE(surface->inputRegion().boundingRect(), QRect(cardCorner(), QSize(356, 312)));
        const QPoint card = panel()->geometry().topLeft() + cardCorner() + QPoint(40, 40);
        QCOMPARE(windowUnderPointer(card), panel()->winId());
        QVERIFY(windowUnderPointer(card - QPoint(48, 0)) != panel()->winId());  // 8 points left
        QVERIFY(windowUnderPointer(card + QPoint(0, 312)) != panel()->winId()); // 12 below
        model()->collapse();
        m_card->settle();
        QTRY_VERIFY(surface->inputRegion().isEmpty());
    }

    // Where the compositor blurs behind windows, the capsule asks for it and
    // turns frosted; elsewhere it keeps its mostly opaque paper.
    void theTriggerAsksForABlurWhereOneIsOffered()
    {
        const auto *surface = PanelSurface::of(panel());
        const QColor opaque = Theme::instance()->triggerFill();
        QVERIFY(surface->blurRegion().isEmpty());
        Theme::instance()->setBlurBehind(true);
        const auto restore = qScopeGuard([] { Theme::instance()->setBlurBehind(false); });
        QTRY_COMPARE(surface->blurRegion().boundingRect(), QRect(12, 12, 116, 36));
        QVERIFY(Theme::instance()->triggerFill().alphaF() < opaque.alphaF() - 0.1);
        openCard(); // the card's paper needs no blur
        QTRY_VERIFY(surface->blurRegion().isEmpty());
    }

    // A screen that shrinks (or gains a taskbar) takes the panel with it.
    void theTriggerStaysOnAShrinkingScreen()
    {
        if (!onX11())
            QSKIP("needs an X server");
        const QRect before = panel()->geometry();
        QVERIFY(setWorkArea(QRect(0, 0, 800, 600)));
        const auto restore = qScopeGuard([this] { setWorkArea({}); });
        QTRY_COMPARE(screenArea(), QRect(0, 0, 800, 600));
        QTRY_COMPARE(panel()->geometry(), QRect(800 - 8 - 140, 600 - 8 - 60, 140, 60));
        // Not saved: the chosen place returns with the screen.
        QVERIFY(!QSettings().contains(QStringLiteral("floatingCardOriginX")));
        QVERIFY(before != panel()->geometry());
    }

    // Another program (the terminal companion) writes the style while the card runs.
    void aStyleWrittenByAnotherProgramShowsAtOnce()
    {
        QSettings().sync();
        QProcess writer;
        writer.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--write-style"), QSettings().fileName()});
        QVERIFY(writer.waitForFinished(10000));
        QCOMPARE(writer.exitCode(), 0);
        QTRY_COMPARE(m_card->controller()->triggerStyleName(), QStringLiteral("wide"));
        QTRY_COMPARE(panel()->size(), QSize(188, 68));
    }

    void theStatusLineFollowsTheKey()
    {
        openCard();
        QVERIFY(shows(QStringLiteral("200 条本地词典 · 无需 API")));
        m_card->apiKey = QStringLiteral("sk-test");
        ApiSettingsNotifier::instance().post();
        QTRY_VERIFY(shows(QStringLiteral("本地词典 + 在线 API")));
    }
};

// Run as `--write-style FILE`, the test is the other program: it stores the
// wide style in the settings file the way the terminal companion does.
int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--write-style") == 0) {
        QCoreApplication app(argc, argv);
        QSettings settings(QString::fromLocal8Bit(argv[2]), QSettings::NativeFormat);
        settings.setValue(QStringLiteral("floatingTriggerStyle"), QStringLiteral("wide"));
        settings.sync();
        return settings.status() == QSettings::NoError ? 0 : 1;
    }
    // The application class QTEST_MAIN would pick: Qt Test's mouse events
    // expect a QApplication where the widgets module is linked.
    QApplication app(argc, argv);
    CardPanelTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_cardpanel.moc"
