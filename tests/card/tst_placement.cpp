// The floating panel's placement rules, in desktop coordinates (origin at the
// bottom left, y upward), with the numbers of the product's placement cases,
// and the pure parts of the trigger gesture and the card's drawings.

#include "card/controls/scrolling.h"
#include "card/faces/cardflip.h"
#include "card/faces/cardformat.h"
#include "card/paint/cardshapes.h"
#include "card/panel/desktopspace.h"
#include "card/panel/floatingtriggerstyle.h"
#include "card/panel/floatingwindowplacement.h"
#include "card/trigger/paneldragtracker.h"
#include "core/settingsschema.h"

#include <QTest>

using namespace wordlumen;
namespace Placement = wordlumen::FloatingWindowPlacement;

Q_DECLARE_METATYPE(wordlumen::DesktopRect)

namespace wordlumen {
// Failure messages print desktop rectangles as x, y, width × height.
char *toString(const DesktopRect &r)
{
    return qstrdup(QStringLiteral("(%1, %2, %3 × %4)")
                       .arg(r.x)
                       .arg(r.y)
                       .arg(r.width)
                       .arg(r.height)
                       .toUtf8()
                       .constData());
}
} // namespace wordlumen

namespace {

// A 1440 × 900 screen whose usable area leaves 25 points for the menu bar.
const DesktopRect kVisible{0, 0, 1440, 875};
const QSizeF kCompact = collapsedPanelSize(FloatingTriggerStyle::Compact);
const QSizeF kWide = collapsedPanelSize(FloatingTriggerStyle::Wide);
const QSizeF kOpen(380, 424);

} // namespace

class PlacementTest : public QObject
{
    Q_OBJECT

private slots:
    void triggerStyles()
    {
        QCOMPARE(collapsedPanelSize(FloatingTriggerStyle::Compact), QSizeF(140, 60));
        QCOMPARE(collapsedPanelSize(FloatingTriggerStyle::Wide), QSizeF(188, 68));
        QCOMPARE(triggerCapsuleSize(FloatingTriggerStyle::Wide), QSizeF(164, 44));
        QVERIFY(floatingTriggerStyleFromString(u"wide") == FloatingTriggerStyle::Wide);
        QVERIFY(floatingTriggerStyleFromString(u"Wide") == FloatingTriggerStyle::Compact);
        QVERIFY(floatingTriggerStyleFromString(u"") == FloatingTriggerStyle::Compact);
        QCOMPARE(toString(FloatingTriggerStyle::Wide), QStringLiteral("wide"));
    }

    void initialOrigin_data()
    {
        QTest::addColumn<QSizeF>("size");
        QTest::addColumn<QVariant>("savedX");
        QTest::addColumn<QVariant>("savedY");
        QTest::addColumn<QPointF>("expected");

        QTest::addRow("first launch, compact: bottom-right corner")
            << kCompact << QVariant() << QVariant() << QPointF(1292, 8);
        QTest::addRow("saved far off-screen, wide: pulled into the inset frame")
            << kWide << QVariant(-500.0) << QVariant(5000.0) << QPointF(8, 799);
        QTest::addRow("only x saved: default corner")
            << kCompact << QVariant(300.0) << QVariant() << QPointF(1292, 8);
        QTest::addRow("only y saved: default corner")
            << kCompact << QVariant() << QVariant(300.0) << QPointF(1292, 8);
        QTest::addRow("saved inside: kept")
            << kCompact << QVariant(400.0) << QVariant(300.0) << QPointF(400, 300);
        QTest::addRow("saved on the right edge: clamped 8 in")
            << kCompact << QVariant(1400.0) << QVariant(2.0) << QPointF(1292, 8);
    }

    void initialOrigin()
    {
        QFETCH(QSizeF, size);
        QFETCH(QVariant, savedX);
        QFETCH(QVariant, savedY);
        QFETCH(QPointF, expected);
        auto optional = [](const QVariant &v) {
            return v.isValid() ? std::optional<double>(v.toDouble()) : std::nullopt;
        };
        QCOMPARE(Placement::initialOrigin(size, kVisible, optional(savedX), optional(savedY)),
                 expected);
    }

    void oversizedPanelAlignsWithTheRightAndTopEdges()
    {
        const DesktopRect small{0, 0, 300, 200};
        QCOMPARE(Placement::clampedOrigin({-50, -50}, QSizeF(400, 300), small),
                 QPointF(292 - 400, 192 - 300));
    }

    void resizedFrame_data()
    {
        QTest::addColumn<DesktopRect>("current");
        QTest::addColumn<QSizeF>("target");
        QTest::addColumn<DesktopRect>("expected");

        QTest::addRow("bottom right: right and bottom edges stay")
            << DesktopRect{1292, 8, 140, 60} << kOpen << DesktopRect{1052, 8, 380, 424};
        QTest::addRow("top left: left and top edges stay")
            << DesktopRect{8, 807, 140, 60} << kOpen << DesktopRect{8, 443, 380, 424};
        // The inset top is 867; a top at 831 is exactly 36 below it.
        QTest::addRow("top exactly 36 below the inset top keeps the top edge")
            << DesktopRect{8, 771, 140, 60} << kOpen << DesktopRect{8, 831 - 424, 380, 424};
        QTest::addRow("exactly at the middle counts as the right half")
            << DesktopRect{650, 300, 140, 60} << kOpen << DesktopRect{410, 300, 380, 424};
        QTest::addRow("just left of the middle keeps the left edge")
            << DesktopRect{649, 300, 140, 60} << kOpen << DesktopRect{649, 300, 380, 424};
        QTest::addRow("growing past the top is clamped 8 below it")
            << DesktopRect{600, 700, 140, 60} << kOpen << DesktopRect{600, 867 - 424, 380, 424};
        QTest::addRow("collapsing at the bottom right goes back to the corner")
            << DesktopRect{1052, 8, 380, 424} << kCompact << DesktopRect{1292, 8, 140, 60};
    }

    void resizedFrame()
    {
        QFETCH(DesktopRect, current);
        QFETCH(QSizeF, target);
        QFETCH(DesktopRect, expected);
        QCOMPARE(Placement::resizedFrame(current, target, kVisible), expected);
    }

    void topAnchorThreshold()
    {
        // The inset top is 867: a top 36 below it holds, 36.5 below lets the bottom hold.
        QVERIFY(Placement::resizeAnchor({8, 771, 140, 60}, kVisible).top);
        QVERIFY(!Placement::resizeAnchor({8, 770.5, 140, 60}, kVisible).top);
        // With the bottom holding, a short growth stays where it is.
        QCOMPARE(Placement::resizedFrame({8, 770.5, 140, 60}, QSizeF(140, 90), kVisible),
                 (DesktopRect{8, 770.5, 140, 90}));
    }

    void movingAcrossTwoDisplays()
    {
        // A second 1920 × 1080 display to the right; its usable area has a 40-point dock.
        const QList<DesktopScreen> screens{
            {{0, 0, 1440, 900}, kVisible},
            {{1440, 0, 1920, 1080}, {1440, 40, 1920, 1040}},
        };
        QCOMPARE(Placement::screenIndexForFrame({1400, 100, 140, 60}, screens), 1);
        QCOMPARE(Placement::screenIndexForFrame({1330, 100, 140, 60}, screens), 0);
        // An equal split goes to the earlier screen.
        QCOMPARE(Placement::screenIndexForFrame({1370, 100, 140, 60}, screens), 0);
        // Off every screen: the first one.
        QCOMPARE(Placement::screenIndexForFrame({-900, -900, 140, 60}, screens), 0);
        QCOMPARE(Placement::screenIndexForFrame({0, 0, 1, 1}, {}), -1);
        // Clamped into the chosen display's usable area, 8 in: above its dock.
        QCOMPARE(Placement::clampedOrigin({1400, 0}, kCompact, screens[1].visibleFrame),
                 QPointF(1448, 48));
    }

    void panelScreenFallbacks()
    {
        const QList<DesktopScreen> screens{
            {{0, 0, 1440, 900}, kVisible},
            {{1440, 0, 1920, 1080}, {1440, 40, 1920, 1040}},
        };
        const DesktopRect onSecond{2000, 500, 140, 60};
        const DesktopRect nowhere{-5000, -5000, 140, 60};
        QCOMPARE(Placement::screenIndexForWindow(0, onSecond, screens, 1), 0);
        QCOMPARE(Placement::screenIndexForWindow(std::nullopt, onSecond, screens, 0), 1);
        QCOMPARE(Placement::screenIndexForWindow(std::nullopt, nowhere, screens, 1), 1);
        QCOMPARE(Placement::screenIndexForWindow(std::nullopt, nowhere, screens, std::nullopt), 0);
    }

    void resetGoesToTheCornerUnclamped()
    {
        QCOMPARE(Placement::resetOrigin(kOpen, kVisible), QPointF(1052, 8));
        QCOMPARE(Placement::resetOrigin(QSizeF(2000, 100), kVisible), QPointF(-568, 8));
    }

    void desktopSpaceFlipsAboutThePrimaryBottom()
    {
        const DesktopSpace space(900);
        QCOMPARE(space.fromQt(QRectF(1292, 832, 140, 60)), (DesktopRect{1292, 8, 140, 60}));
        QCOMPARE(space.toQt(DesktopRect{8, 443, 380, 424}), QRectF(8, 33, 380, 424));
        // A display above the primary one has negative Qt y and desktop y beyond 900.
        QCOMPARE(space.fromQt(QRectF(0, -1080, 1920, 1080)), (DesktopRect{0, 900, 1920, 1080}));
        const QRectF rect(17, -40, 300, 200);
        QCOMPARE(space.toQt(space.fromQt(rect)), rect);
    }

    void clickOrDrag_data()
    {
        QTest::addColumn<QList<QPointF>>("moves");
        QTest::addColumn<bool>("didDrag");
        QTest::addColumn<QPointF>("lastOrigin");

        QTest::addRow("2 points: a click, though the panel followed")
            << QList<QPointF>{{102, 200}} << false << QPointF(502, 300);
        QTest::addRow("exactly 3 points: still a click")
            << QList<QPointF>{{100, 203}} << false << QPointF(500, 303);
        QTest::addRow("4 points: a drag")
            << QList<QPointF>{{104, 200}} << true << QPointF(504, 300);
        QTest::addRow("diagonal 2.2 × 2.2 (3.1 points): a drag")
            << QList<QPointF>{{102.2, 202.2}} << true << QPointF(502.2, 302.2);
        QTest::addRow("out and back: stays a drag")
            << QList<QPointF>{{110, 200}, {100, 200}} << true << QPointF(500, 300);
    }

    void clickOrDrag()
    {
        QFETCH(QList<QPointF>, moves);
        QFETCH(bool, didDrag);
        QFETCH(QPointF, lastOrigin);
        PanelDragTracker tracker;
        tracker.begin({100, 200}, QPointF(500, 300));
        std::optional<QPointF> origin;
        for (const QPointF &pointer : moves) {
            origin = tracker.moved(pointer);
        }
        QVERIFY(origin);
        QCOMPARE(*origin, lastOrigin);
        QCOMPARE(tracker.didDrag(), didDrag);
        tracker.end();
        QVERIFY(!tracker.isActive());
        QCOMPARE(tracker.didDrag(), didDrag);
        tracker.begin({0, 0}, QPointF(0, 0));
        QVERIFY(!tracker.didDrag());
    }

    void dragsWithoutStartValuesAreIgnored()
    {
        PanelDragTracker tracker;
        QVERIFY(!tracker.moved({10, 10}));
        tracker.begin({0, 0}, std::nullopt); // no window at mouse-down
        QVERIFY(!tracker.moved({50, 50}));
    }

    void grainPattern()
    {
        const QList<GrainDot> dots = CardShapes::grainDots(QSizeF(356, 420));
        // Cell (0, 0): seed 0, r 0 → a 0.7-point dot at the cell's corner.
        QCOMPARE(dots.first(), (GrainDot{{0, 0}, 0.7}));
        auto hasDotInCell = [&dots](int i, int j) {
            return std::any_of(dots.begin(), dots.end(), [i, j](const GrainDot &d) {
                return int(d.topLeft.x() / 11) == i && int(d.topLeft.y() / 11) == j;
            });
        };
        QVERIFY(!hasDotInCell(1, 0)); // seed 149, r 48
        QVERIFY(!hasDotInCell(0, 1)); // seed 71, r 71
        // Cell (2, 1): seed 71 + 298 + 6 = 375, r 72 → none; cell (3, 0): r 43 → none;
        // cell (0, 3): seed 213, r 11 → a 0.45 dot at (11·(77 mod 9)/9, 33 + 11·(121 mod 7)/7).
        QVERIFY(dots.contains(GrainDot{{11.0 * 5 / 9, 33 + 11.0 * 2 / 7}, 0.45}));
        // 33 × 39 cells at the largest card, about a quarter of them dotted, same every time.
        QVERIFY(dots.size() > 33 * 39 / 5 && dots.size() < 33 * 39 / 3);
        QCOMPARE(CardShapes::grainDots(QSizeF(356, 420)), dots);
    }

    void foldedOutline()
    {
        const auto metrics = CardShapes::foldMetrics(QSizeF(20, 100), 16, 36);
        QCOMPARE(metrics.radius, 10.0);
        QCOMPARE(metrics.fold, 10.0);

        const QRectF card(0, 0, 356, 312);
        const QPainterPath folded = CardShapes::foldedCardPath(card, 16, 36);
        // The fold cuts the top-right corner along the diagonal.
        QVERIFY(!folded.contains(QPointF(350, 6)));
        QVERIFY(folded.contains(QPointF(330, 30)));
        QVERIFY(folded.contains(QPointF(178, 2)));
        const QPainterPath plain = CardShapes::foldedCardPath(card, 16, 0);
        QVERIFY(plain.contains(QPointF(340, 12)));
        QVERIFY(!plain.contains(QPointF(1, 1))); // rounded corners
    }

    void flipTurnsAboutTheVerticalAxis()
    {
        const QSizeF size(356, 312);
        QCOMPARE(cardFlipTransform(0, size).map(QPointF(10, 20)), QPointF(10, 20));
        // Half a turn mirrors the face left to right about its centre.
        const QPointF mirrored = cardFlipTransform(M_PI, size).map(QPointF(0, 156));
        QVERIFY(qAbs(mirrored.x() - 356) < 0.01 && qAbs(mirrored.y() - 156) < 0.01);
        // A quarter turn leaves the face edge-on, at the centre line.
        QVERIFY(qAbs(cardFlipTransform(M_PI / 2, size).map(QPointF(0, 156)).x() - 178) < 0.01);
        // In perspective the edge that turns towards the viewer grows.
        const QMatrix4x4 turning = cardFlipTransform(M_PI / 4, size);
        const double left = turning.map(QPointF(0, 312)).y() - turning.map(QPointF(0, 0)).y();
        const double right = turning.map(QPointF(356, 312)).y() - turning.map(QPointF(356, 0)).y();
        QVERIFY(qAbs(left - right) > 5);
    }

    void answerTextKeepsItsCharacters()
    {
        const QString html = CardFormat::answerHtml(QStringLiteral("a < b & \"c\"\n第二行"));
        QVERIFY(html.contains(QStringLiteral("a &lt; b &amp; &quot;c&quot;<br>第二行")));
    }

    // A pixel or two of overflow (rounding, the spacing under the last line)
    // shows no scroll bar; a hidden line does.
    void onlyHiddenTextScrolls()
    {
        QVERIFY(!Scrolling::scrolls(300, 300));
        QVERIFY(!Scrolling::scrolls(301.5, 300));
        QVERIFY(Scrolling::scrolls(300 + 24, 300));
    }

    void theSchemaOffersTheTriggerStyles()
    {
        const QStringList styles{toString(FloatingTriggerStyle::Compact),
                                 toString(FloatingTriggerStyle::Wide)};
        QCOMPARE(SettingsSchema::floatingTriggerStyle().choices, styles);
        for (const QString &style : styles)
            QCOMPARE(toString(floatingTriggerStyleFromString(style)), style);
        QVERIFY(floatingTriggerStyleFromString(
                    SettingsSchema::floatingTriggerStyle().defaultValue.toString()) ==
                FloatingTriggerStyle::Compact);
    }
};

QTEST_GUILESS_MAIN(PlacementTest)
#include "tst_placement.moc"
