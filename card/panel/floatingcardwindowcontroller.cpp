#include "floatingcardwindowcontroller.h"

#include "core/settingsschema.h"
#include "desktop/panelhints.h"
#include "desktopspace.h"
#include "panelscreens.h"
#include "panelsurface.h"
#include "triggerstylesetting.h"

#include <QEasingCurve>
#include <QEvent>
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

std::optional<double> storedNumber(const QSettings &settings, const SettingSpec &spec)
{
    const QVariant value = settings.value(spec.key);
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!value.isValid() || !ok) {
        return std::nullopt;
    }
    return number;
}

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
    m_triggerStyle = new TriggerStyleSetting(this);
    connect(m_triggerStyle, &TriggerStyleSetting::styleChanged, this,
            &FloatingCardWindowController::triggerStyleChanged);
    m_currentSize = collapsedPanelSize(m_triggerStyle->style());

    // A screen unplugged, shrunk, or given a taskbar can leave the panel
    // outside what is visible.
    m_screens = new PanelScreens(this);
    connect(m_screens, &PanelScreens::changed, this, &FloatingCardWindowController::keepOnScreen);
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

FloatingTriggerStyle FloatingCardWindowController::triggerStyle() const
{
    return m_triggerStyle->style();
}

void FloatingCardWindowController::setTriggerStyle(FloatingTriggerStyle style)
{
    m_triggerStyle->setStyle(style);
}

void FloatingCardWindowController::setTriggerStyleName(const QString &name)
{
    setTriggerStyle(floatingTriggerStyleFromString(name));
}

void FloatingCardWindowController::reloadTriggerStyle()
{
    m_triggerStyle->reload();
}

QQuickWindow *FloatingCardWindowController::panel() const
{
    return m_panel;
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
    return PanelScreens::screenFor(m_panel, panelFrame());
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
    // Kept out of window lists; the title is what a screen reader calls it.
    view->setTitle(QStringLiteral("Wordlumen 浮动卡"));
    view->setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    view->setColor(Qt::transparent);
    view->setResizeMode(QQuickView::SizeRootObjectToView);
    // Appearing at launch must not take the focus from the application in front.
    view->setProperty("_q_showWithoutActivating", true);

    QScreen *screen = PanelScreens::mainScreen();
    const DesktopSpace space = DesktopSpace::current();
    const DesktopRect visible = screen ? space.fromQt(screen).visibleFrame : DesktopRect{};
    const QSettings settings;
    const QPointF origin = Placement::initialOrigin(
        m_currentSize, visible, storedNumber(settings, SettingsSchema::floatingCardOriginX()),
        storedNumber(settings, SettingsSchema::floatingCardOriginY()));
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
    settings.remove(SettingsSchema::floatingCardOriginX().key);
    settings.remove(SettingsSchema::floatingCardOriginY().key);
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
    const QList<DesktopScreen> all = PanelScreens::screens();
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
    settings.setValue(SettingsSchema::floatingCardOriginX().key, frame.x);
    settings.setValue(SettingsSchema::floatingCardOriginY().key, frame.y);
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
