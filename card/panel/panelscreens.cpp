#include "panelscreens.h"

#include "desktopspace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace wordlumen {

namespace {

constexpr int kScreensSettleMilliseconds = 50;

} // namespace

PanelScreens::PanelScreens(QObject *parent)
    : QObject(parent)
    , m_settle(new QTimer(this))
{
    m_settle->setSingleShot(true);
    m_settle->setInterval(kScreensSettleMilliseconds);
    connect(m_settle, &QTimer::timeout, this, &PanelScreens::changed);
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        const auto start = qOverload<>(&QTimer::start);
        connect(app, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
            watch(screen);
            m_settle->start();
        });
        connect(app, &QGuiApplication::screenRemoved, m_settle, start);
        connect(app, &QGuiApplication::primaryScreenChanged, m_settle, start);
        for (QScreen *screen : QGuiApplication::screens()) {
            watch(screen);
        }
    }
}

PanelScreens::~PanelScreens() = default;

void PanelScreens::watch(QScreen *screen)
{
    const auto start = qOverload<>(&QTimer::start);
    connect(screen, &QScreen::geometryChanged, m_settle, start);
    connect(screen, &QScreen::availableGeometryChanged, m_settle, start);
}

QScreen *PanelScreens::mainScreen()
{
    if (const QWindow *focus = QGuiApplication::focusWindow(); focus && focus->screen()) {
        return focus->screen();
    }
    if (QScreen *primary = QGuiApplication::primaryScreen()) {
        return primary;
    }
    const auto all = QGuiApplication::screens();
    return all.isEmpty() ? nullptr : all.first();
}

QList<DesktopScreen> PanelScreens::screens()
{
    const DesktopSpace space = DesktopSpace::current();
    QList<DesktopScreen> result;
    for (const QScreen *screen : QGuiApplication::screens()) {
        result.append(space.fromQt(screen));
    }
    return result;
}

DesktopScreen PanelScreens::screenFor(const QWindow *window, const DesktopRect &frame)
{
    const QList<QScreen *> qtScreens = QGuiApplication::screens();
    std::optional<qsizetype> reported;
    if (window && window->screen()) {
        reported = qtScreens.indexOf(window->screen());
    }
    std::optional<qsizetype> main;
    if (QScreen *screen = mainScreen()) {
        main = qtScreens.indexOf(screen);
    }
    const QList<DesktopScreen> all = screens();
    const qsizetype index =
        FloatingWindowPlacement::screenIndexForWindow(reported, frame, all, main);
    return index < 0 ? DesktopScreen{} : all[index];
}

} // namespace wordlumen
