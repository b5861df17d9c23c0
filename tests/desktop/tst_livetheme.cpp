// Light and dark follow the desktop while the program runs: a portal that
// says the scheme, the card and the control center drawn in it, and both
// redrawn when the desktop changes it.

#include "app/controlcenter/controlcentermodel.h"
#include "app/controlcenter/controlcenterwindow.h"
#include "card/paint/theme.h"
#include "fakeappearanceportal.h"
#include "packs/customglossarystore.h"
#include "tests/card/cardfixture.h"
#include "tests/support/fakesecretstore.h"

#include <QDBusConnection>
#include <QQuickView>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace wordlumen;

namespace {

// Lightness of the middle of a window as it is drawn now.
double lightnessAt(QQuickWindow *window, QPoint point)
{
    const QImage image = window->grabWindow();
    return QColor(image.pixel(point * image.devicePixelRatio())).lightnessF();
}

} // namespace

class LiveThemeTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QDBusConnection::sessionBus().isConnected()) {
            QSKIP("needs a session bus (run it in scripts/lib/headless-session)");
        }
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
        QCoreApplication::setOrganizationName(QStringLiteral("Zintaro"));
        QCoreApplication::setApplicationName(QStringLiteral("WordlumenLiveThemeTest"));
    }

    void theCardAndTheControlCenterFollowTheDesktop()
    {
        FakeAppearancePortal portal(FakeAppearancePortal::Scheme::Light);
        QVERIFY(portal.start());
        Theme *theme = Theme::instance();
        theme->setReduceMotion(true);
        QTRY_VERIFY(!theme->isDark());

        CardFixture card;
        QVERIFY(card.show());
        CustomGlossaryStore library(m_settings.filePath(QStringLiteral("MyGlossary.json")));
        testing::FakeSecretStore secrets;
        ControlCenterModel model(card.controller(), library, 200, &secrets);
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        ControlCenterWindow controlCenter(&engine, &model);
        controlCenter.show(true);
        QVERIFY(QTest::qWaitForWindowExposed(controlCenter.window()));
        // Opened after the control center took the focus, so it stays open.
        card.viewModel()->expand();
        card.settle();
        QCOMPARE(card.viewModel()->presentation(), CardPresentation::Front);

        // Somewhere on the paper of each, away from text.
        const QPoint onCard(12 + 300, 12 + 250);
        const QPoint onControlCenter(600, 470);
        QVERIFY(lightnessAt(card.panel(), onCard) > 0.9);
        QVERIFY(lightnessAt(controlCenter.window(), onControlCenter) > 0.9);

        portal.setScheme(FakeAppearancePortal::Scheme::Dark);
        QTRY_VERIFY(theme->isDark());
        QTRY_VERIFY(lightnessAt(card.panel(), onCard) < 0.15);
        QTRY_VERIFY(lightnessAt(controlCenter.window(), onControlCenter) < 0.15);

        QCOMPARE(card.viewModel()->presentation(), CardPresentation::Front);
        portal.setScheme(FakeAppearancePortal::Scheme::Light);
        QTRY_VERIFY(!theme->isDark());
        QTRY_VERIFY(lightnessAt(card.panel(), onCard) > 0.9);
        QTRY_VERIFY(lightnessAt(controlCenter.window(), onControlCenter) > 0.9);
    }

private:
    QTemporaryDir m_settings;
};

QTEST_MAIN(LiveThemeTest)
#include "tst_livetheme.moc"
