#include "floatingcardwindowcontroller.h"

#include "desktop/panelhints.h"
#include "desktopspace.h"
#include "panelsurface.h"

#include <QDir>
#include <QEasingCurve>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QResizeEvent>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QVariantAnimation>

namespace wordlumen {

Q_LOGGING_CATEGORY(lcPanel, "wordlumen.card.panel")

namespace {

namespace Placement = FloatingWindowPlacement;

// The panel's frame animation: a fast start and a long, gentle settle.
QEasingCurve frameCurve()
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.16, 1.0), QPointF(0.3, 1.0), QPointF(1.0, 1.0));
    return curve;
}

std::optional<double> storedNumber(const QSettings &settings, const char *key)
{
    const QVariant value = settings.value(QLatin1StringView(key));
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!value.isValid() || !ok) {
        return std::nullopt;
    }
    return number;
}

// Screens report their changes one by one, and writers of the settings file
// replace it in a few steps; the panel reacts once things have settled.
constexpr int kScreensSettleMilliseconds = 50;
constexpr int kSettingsSettleMilliseconds = 100;

// Rounds edges rather than origin and size, so the anchored edge never wobbles by a pixel.
QRect snapped(const QRectF &rect)
{
    const int left = qRound(rect.left());
    const int top = qRound(rect.top());
    return {left, top, qRound(rect.right()) - left, qRound(rect.bottom()) - top};
}

} // namespace

FloatingCardWindowController::FloatingCardWindowController(PanelHints &hints, QObject *parent)
    : QObject(parent)
    , m_hints(hints)
    , m_settle(new QTimer(this))
{
    m_settle->setSingleShot(true);
    m_settle->setInterval(kResizeMilliseconds);
    connect(m_settle, &QTimer::timeout, this, [this] {
        if (m_panel) {
            applyGeometry(m_settleGeometry);
        }
        updateContentRect();
    });
    const QSettings settings;
    m_triggerStyle = floatingTriggerStyleFromString(
        settings.value(QLatin1StringView(kTriggerStyleKey)).toString());
    m_currentSize = collapsedPanelSize(m_triggerStyle);

    // A screen unplugged, shrunk, or given a taskbar can leave the panel
    // outside what is visible.
    m_screensChanged = new QTimer(this);
    m_screensChanged->setSingleShot(true);
    m_screensChanged->setInterval(kScreensSettleMilliseconds);
    connect(m_screensChanged, &QTimer::timeout, this, &FloatingCardWindowController::keepOnScreen);
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        const auto changed = qOverload<>(&QTimer::start);
        connect(app, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
            watchScreen(screen);
            m_screensChanged->start();
        });
        connect(app, &QGuiApplication::screenRemoved, m_screensChanged, changed);
        connect(app, &QGuiApplication::primaryScreenChanged, m_screensChanged, changed);
        for (QScreen *screen : QGuiApplication::screens()) {
            watchScreen(screen);
        }
    }

    // The terminal companion writes the same settings file: a style it
    // stores shows at once.
    m_settingsChanged = new QTimer(this);
    m_settingsChanged->setSingleShot(true);
    m_settingsChanged->setInterval(kSettingsSettleMilliseconds);
    connect(m_settingsChanged, &QTimer::timeout, this, [this] {
        watchSettingsFile();
        reloadTriggerStyle();
    });
    if (QCoreApplication::instance()) {
        m_settingsWatch = new QFileSystemWatcher(this);
        connect(m_settingsWatch, &QFileSystemWatcher::fileChanged, m_settingsChanged,
                qOverload<>(&QTimer::start));
        connect(m_settingsWatch, &QFileSystemWatcher::directoryChanged, m_settingsChanged,
                qOverload<>(&QTimer::start));
        watchSettingsFile();
    }
}

void FloatingCardWindowController::watchScreen(QScreen *screen)
{
    const auto changed = qOverload<>(&QTimer::start);
    connect(screen, &QScreen::geometryChanged, m_screensChanged, changed);
    connect(screen, &QScreen::availableGeometryChanged, m_screensChanged, changed);
}

void FloatingCardWindowController::watchSettingsFile()
{
    // Writers replace the file by renaming, which ends the watch on it; the
    // folder's watch notices the new one.
    const QFileInfo file(QSettings().fileName());
    const QString folder = file.absolutePath();
    // The folder is made now if need be: the first writer may be another program.
    if (QDir().mkpath(folder) && !m_settingsWatch->directories().contains(folder)) {
        m_settingsWatch->addPath(folder);
    }
    if (file.exists() && !m_settingsWatch->files().contains(file.absoluteFilePath())) {
        m_settingsWatch->addPath(file.absoluteFilePath());
    }
}

void FloatingCardWindowController::keepOnScreen()
{
    if (!m_panel) {
        return;
    }
    const DesktopRect frame = panelFrame();
    const DesktopRect visible = screenForWindow().visibleFrame;
    const QPointF origin = Placement::clampedOrigin(frame.origin(), frame.size(), visible);
    if (origin == frame.origin()) {
        return;
    }
    // Not saved: the place the user chose is kept for when the screen returns.
    if (m_animation) {
        m_animation->stop();
    }
    const QRect geometry =
        snapped(DesktopSpace::current().toQt({origin.x(), origin.y(), frame.width, frame.height}));
    if (m_settle->isActive()) {
        const QPoint shift = geometry.topLeft() - m_settleGeometry.topLeft();
        m_settleGeometry = geometry;
        m_panel->setPosition(m_panel->position() + shift);
    } else {
        m_panel->setPosition(geometry.topLeft());
    }
}

FloatingCardWindowController::~FloatingCardWindowController()
{
    delete m_panel.data();
}

void FloatingCardWindowController::setContent(QQmlEngine *engine, const QUrl &source,
                                              const QVariantMap &initialProperties)
{
    m_engine = engine;
    m_source = source;
    m_initialProperties = initialProperties;
}

void FloatingCardWindowController::setTriggerStyle(FloatingTriggerStyle style)
{
    QSettings().setValue(QLatin1StringView(kTriggerStyleKey), toString(style));
    if (style == m_triggerStyle) {
        return;
    }
    m_triggerStyle = style;
    emit triggerStyleChanged();
}

void FloatingCardWindowController::setTriggerStyleName(const QString &name)
{
    setTriggerStyle(floatingTriggerStyleFromString(name));
}

void FloatingCardWindowController::reloadTriggerStyle()
{
    const FloatingTriggerStyle stored = floatingTriggerStyleFromString(
        QSettings().value(QLatin1StringView(kTriggerStyleKey)).toString());
    if (stored != m_triggerStyle) {
        m_triggerStyle = stored;
        emit triggerStyleChanged();
    }
}

QQuickWindow *FloatingCardWindowController::panel() const
{
    return m_panel;
}

QScreen *FloatingCardWindowController::mainScreen() const
{
    // The screen with the keyboard focus; the primary one when nothing has it.
    if (const QWindow *focus = QGuiApplication::focusWindow(); focus && focus->screen()) {
        return focus->screen();
    }
    if (QScreen *primary = QGuiApplication::primaryScreen()) {
        return primary;
    }
    const auto all = QGuiApplication::screens();
    return all.isEmpty() ? nullptr : all.first();
}

QList<DesktopScreen> FloatingCardWindowController::screens() const
{
    const DesktopSpace space = DesktopSpace::current();
    QList<DesktopScreen> result;
    for (const QScreen *screen : QGuiApplication::screens()) {
        result.append(space.fromQt(screen));
    }
    return result;
}

QRect FloatingCardWindowController::frameGeometry() const
{
    if (!m_panel) {
        return {};
    }
    return m_settle->isActive() ? m_settleGeometry : m_panel->geometry();
}

DesktopRect FloatingCardWindowController::panelFrame() const
{
    if (!m_panel) {
        return {};
    }
    return DesktopSpace::current().fromQt(QRectF(frameGeometry()));
}

DesktopScreen FloatingCardWindowController::screenForWindow() const
{
    const QList<QScreen *> qtScreens = QGuiApplication::screens();
    std::optional<qsizetype> reported;
    if (m_panel && m_panel->screen()) {
        reported = qtScreens.indexOf(m_panel->screen());
    }
    std::optional<qsizetype> main;
    if (QScreen *screen = mainScreen()) {
        main = qtScreens.indexOf(screen);
    }
    const QList<DesktopScreen> all = screens();
    const qsizetype index = Placement::screenIndexForWindow(reported, panelFrame(), all, main);
    return index < 0 ? DesktopScreen{} : all[index];
}

QQuickWindow *FloatingCardWindowController::makePanelIfNeeded()
{
    if (m_panel) {
        return m_panel;
    }
    // Transparent corners need an alpha channel in every renderer's surface.
    QQuickWindow::setDefaultAlphaBuffer(true);
    auto *view = m_engine ? new QQuickView(m_engine, nullptr) : new QQuickView();
    view->setObjectName(QLatin1StringView(kPanelName));
    view->setTitle(QStringLiteral("Wordlumen"));
    view->setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    view->setColor(Qt::transparent);
    view->setResizeMode(QQuickView::SizeRootObjectToView);
    // Appearing at launch must not take the focus from the application in front.
    view->setProperty("_q_showWithoutActivating", true);

    QScreen *screen = mainScreen();
    const DesktopSpace space = DesktopSpace::current();
    const DesktopRect visible = screen ? space.fromQt(screen).visibleFrame : DesktopRect{};
    const QSettings settings;
    const QPointF origin =
        Placement::initialOrigin(m_currentSize, visible, storedNumber(settings, kSavedXKey),
                                 storedNumber(settings, kSavedYKey));
    const QRectF frame =
        space.toQt({origin.x(), origin.y(), m_currentSize.width(), m_currentSize.height()});
    view->setGeometry(snapped(frame));
    view->installEventFilter(this);
    // Before the content: its outlines find the surface as they enter the window.
    new PanelSurface(view, m_hints);
    m_deliveredSize = view->size();

    m_panel = view;
    updateContentRect();
    connect(view, &QWindow::activeChanged, this,
            [this, view] { emit panelActiveChanged(view->isActive()); });
    connect(view, &QWindow::xChanged, this, &FloatingCardWindowController::panelFrameChanged);
    connect(view, &QWindow::yChanged, this, &FloatingCardWindowController::panelFrameChanged);
    connect(view, &QWindow::widthChanged, this, &FloatingCardWindowController::panelFrameChanged);
    connect(view, &QWindow::heightChanged, this, &FloatingCardWindowController::panelFrameChanged);

    if (!m_source.isEmpty()) {
        QVariantMap properties = m_initialProperties;
        properties.insert(QStringLiteral("windowController"), QVariant::fromValue(this));
        view->setInitialProperties(properties);
        view->setSource(m_source);
        for (const QQmlError &error : view->errors()) {
            qCWarning(lcPanel).noquote() << error.toString();
        }
    }
    emit panelCreated(view);
    return view;
}

bool FloatingCardWindowController::eventFilter(QObject *watched, QEvent *event)
{
    // The event type comes first: the panel's own destructor sends events
    // here, and comparing with m_panel then would cast a half-destroyed window.
    const QEvent::Type type = event->type();
    const bool watchedType =
        type == QEvent::Show || type == QEvent::Resize || type == QEvent::Close;
    if (watchedType && watched == m_panel) {
        switch (type) {
        case QEvent::Show:
            // Sent before the window is mapped, also when its platform window
            // was made anew: the window manager reads the hints at the map.
            m_hints.prepareForMap(m_panel);
            break;
        case QEvent::Resize:
            m_deliveredSize = static_cast<QResizeEvent *>(event)->size();
            if (m_deliveredSize == m_panel->size()) {
                emit windowSizeDelivered();
            }
            break;
        case QEvent::Close:
            // The window manager's close request folds the card; the panel
            // lives as long as the program. Closes of our own (the toolkit's
            // quit) go through.
            if (event->spontaneous()) {
                event->ignore();
                emit closeRequested();
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void FloatingCardWindowController::setVisible(bool visible)
{
    if (m_isVisible == visible) {
        return;
    }
    m_isVisible = visible;
    emit isVisibleChanged();
}

void FloatingCardWindowController::setAnchor(Placement::ResizeAnchor anchor)
{
    if (m_anchor == anchor) {
        return;
    }
    m_anchor = anchor;
    emit anchorChanged();
}

void FloatingCardWindowController::showPanel()
{
    QQuickWindow *window = makePanelIfNeeded();
    window->show();
    window->raise();
    setVisible(true);
}

void FloatingCardWindowController::activatePanel()
{
    QQuickWindow *window = makePanelIfNeeded();
    window->show();
    window->raise();
    window->requestActivate();
    setVisible(true);
}

void FloatingCardWindowController::toggleVisibility()
{
    if (m_isVisible) {
        if (m_panel) {
            m_panel->hide();
        }
        setVisible(false);
    } else {
        showPanel();
    }
}

void FloatingCardWindowController::resetPosition()
{
    makePanelIfNeeded();
    finishSettling();
    const DesktopRect current = panelFrame();
    const QPointF origin = Placement::resetOrigin(current.size(), screenForWindow().visibleFrame);
    QSettings settings;
    settings.remove(QLatin1StringView(kSavedXKey));
    settings.remove(QLatin1StringView(kSavedYKey));
    animateTo({origin.x(), origin.y(), current.width, current.height}, kResetMilliseconds);
    showPanel();
}

void FloatingCardWindowController::moveWindow(QPointF topLeft)
{
    if (!m_panel) {
        return;
    }
    finishSettling();
    const DesktopSpace space = DesktopSpace::current();
    const QSizeF size = m_panel->size();
    const DesktopRect candidate = space.fromQt(QRectF(topLeft, size));
    const QList<DesktopScreen> all = screens();
    qsizetype index = Placement::screenIndexForFrame(candidate, all);
    const DesktopScreen screen = index < 0 ? screenForWindow() : all[index];
    const QPointF origin = Placement::clampedOrigin(candidate.origin(), size, screen.visibleFrame);
    if (m_animation) {
        m_animation->stop();
    }
    m_panel->setPosition(
        space.toQt({origin.x(), origin.y(), size.width(), size.height()}).topLeft().toPoint());
}

std::optional<QPointF> FloatingCardWindowController::panelTopLeft() const
{
    if (!m_panel) {
        return std::nullopt;
    }
    return QPointF(m_panel->position());
}

void FloatingCardWindowController::saveCurrentPosition()
{
    if (!m_panel) {
        return;
    }
    const DesktopRect frame = panelFrame();
    QSettings settings;
    settings.setValue(QLatin1StringView(kSavedXKey), frame.x);
    settings.setValue(QLatin1StringView(kSavedYKey), frame.y);
}

void FloatingCardWindowController::resize(QSizeF size, bool animated)
{
    if (size == m_currentSize) {
        return;
    }
    makePanelIfNeeded();
    const DesktopRect current = panelFrame();
    const DesktopRect visible = screenForWindow().visibleFrame;
    setAnchor(Placement::resizeAnchor(current, visible));
    const DesktopRect target = Placement::resizedFrame(current, size, visible);
    m_currentSize = size;
    emit currentSizeChanged();
    if (m_animation) {
        m_animation->stop();
    }
    const QRect geometry = snapped(DesktopSpace::current().toQt(target));
    if (!animated) {
        m_settle->stop();
        applyGeometry(geometry);
        updateContentRect();
        return;
    }
    // The card animates its own change inside a window that holds both
    // frames; the window takes the new frame when that is over.
    m_settleGeometry = geometry;
    m_settle->start();
    applyGeometry(m_panel->geometry().united(geometry));
    updateContentRect();
}

void FloatingCardWindowController::requestCommandMenu(QPoint globalPosition)
{
    emit commandMenuRequested(globalPosition);
}

void FloatingCardWindowController::requestQuit()
{
    emit quitRequested();
}

void FloatingCardWindowController::requestSettings()
{
    emit settingsRequested();
}

bool FloatingCardWindowController::isResizePending() const
{
    return m_panel && m_panel->size() != m_deliveredSize;
}

bool FloatingCardWindowController::isAnimating() const
{
    return m_settle->isActive() ||
           (m_animation && m_animation->state() == QAbstractAnimation::Running);
}

void FloatingCardWindowController::applyGeometry(const QRect &geometry)
{
    if (geometry == m_panel->geometry()) {
        return;
    }
    if (geometry.size() != m_panel->size()) {
        m_hints.setResizeGravity(m_panel, m_anchor.right, m_anchor.top);
    }
    // A window cut to its content keeps the cut where the content stays on
    // screen until the next frame places it anew.
    if (const QRegion shape = m_panel->mask(); !shape.isEmpty()) {
        m_panel->setMask(shape.translated(m_panel->position() - geometry.topLeft()));
    }
    m_panel->setGeometry(geometry);
}

void FloatingCardWindowController::finishSettling()
{
    if (m_settle->isActive()) {
        m_settle->stop();
        applyGeometry(m_settleGeometry);
        updateContentRect();
    }
}

void FloatingCardWindowController::updateContentRect()
{
    const QRectF rect =
        m_panel ? QRectF(frameGeometry().translated(-m_panel->geometry().topLeft())) : QRectF();
    if (rect == m_contentRect) {
        return;
    }
    m_contentRect = rect;
    emit contentRectChanged();
}

void FloatingCardWindowController::animateTo(const DesktopRect &frame, int milliseconds)
{
    if (!m_animation) {
        m_animation = new QVariantAnimation(this);
        m_animation->setEasingCurve(frameCurve());
        connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
            if (m_panel) {
                m_panel->setGeometry(snapped(value.toRectF()));
            }
        });
    }
    // A new request starts from wherever the running animation has got to.
    m_animation->stop();
    m_animation->setDuration(milliseconds);
    m_animation->setStartValue(QRectF(m_panel->geometry()));
    m_animation->setEndValue(DesktopSpace::current().toQt(frame));
    m_animation->start();
}

} // namespace wordlumen
