#pragma once

#include "floatingtriggerstyle.h"
#include "floatingwindowplacement.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QQuickWindow>
#include <QSizeF>
#include <QtQml/qqmlregistration.h>
#include <QUrl>
#include <QVariantMap>

class QQmlEngine;
class QQuickView;
class QScreen;
class QTimer;
class QVariantAnimation;

namespace wordlumen {

class PanelHints;
class PanelScreens;
class TriggerStyleSetting;

/**
 * Owns the floating panel: a frameless, transparent, always-on-top tool window
 * that only this controller moves. It creates the panel lazily, shows and hides
 * it, places it where the user left it, moves it during drags, resizes it about
 * the corner nearest the screen edge, and resets it to the bottom-right corner.
 *
 * The stored trigger style (TriggerStyleSetting) and the screens with their
 * changes (PanelScreens) are parts of their own; the placement rules are pure
 * functions (FloatingWindowPlacement).
 *
 * One shared instance serves the application; tests may create their own.
 * Positions cross this class's interface in Qt's coordinates; the placement
 * rules run in desktop coordinates (see DesktopSpace).
 */
class FloatingCardWindowController : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FloatingCardWindowController)
    QML_ELEMENT
    QML_UNCREATABLE("The floating card has one window controller, made by the application.")

    Q_PROPERTY(bool isVisible READ isVisible NOTIFY isVisibleChanged)
    Q_PROPERTY(QSizeF currentSize READ currentSize NOTIFY currentSizeChanged)
    Q_PROPERTY(QString triggerStyle READ triggerStyleName WRITE setTriggerStyleName NOTIFY
                   triggerStyleChanged)
    Q_PROPERTY(QSizeF collapsedSize READ collapsedSize NOTIFY triggerStyleChanged)
    /// The visible capsule inside the collapsed panel.
    Q_PROPERTY(QSizeF capsuleSize READ capsuleSize NOTIFY triggerStyleChanged)
    /// Which edges held still during the last resize; the card aligns its content with them.
    Q_PROPERTY(bool anchoredRight READ anchoredRight NOTIFY anchorChanged)
    Q_PROPERTY(bool anchoredTop READ anchoredTop NOTIFY anchorChanged)
    /**
     * Where the panel's frame lies inside its window, in the window's
     * coordinates. The same as the window's bounds, except while an animated
     * resize settles: then the window already holds both the old and the new
     * frame, and the content keeps to the new one.
     */
    Q_PROPERTY(QRectF contentRect READ contentRect NOTIFY contentRectChanged)

public:
    static constexpr auto kPanelName = "WordlumenFloatingPanel";
    static constexpr int kResizeMilliseconds = 280;
    static constexpr int kResetMilliseconds = 320;

    /// `hints` tell the window system what the panel is (see PanelHints).
    explicit FloatingCardWindowController(PanelHints &hints, QObject *parent = nullptr);
    ~FloatingCardWindowController() override;

    /**
     * What the panel shows: a QML file whose root item fills the panel, created
     * with `initialProperties` (plus `windowController`, this object) in `engine`.
     * Must be set before the panel is made.
     */
    void setContent(QQmlEngine *engine, const QUrl &source, const QVariantMap &initialProperties);

    [[nodiscard]] bool isVisible() const { return m_isVisible; }
    [[nodiscard]] QSizeF currentSize() const { return m_currentSize; }
    [[nodiscard]] FloatingTriggerStyle triggerStyle() const;
    [[nodiscard]] QString triggerStyleName() const { return toString(triggerStyle()); }
    [[nodiscard]] QSizeF collapsedSize() const { return collapsedPanelSize(triggerStyle()); }
    [[nodiscard]] QSizeF capsuleSize() const { return triggerCapsuleSize(triggerStyle()); }
    [[nodiscard]] bool anchoredRight() const { return m_anchor.right; }
    [[nodiscard]] bool anchoredTop() const { return m_anchor.top; }
    [[nodiscard]] QRectF contentRect() const { return m_contentRect; }

    /// Stores the style under "floatingTriggerStyle" and tells the card.
    void setTriggerStyle(FloatingTriggerStyle style);
    void setTriggerStyleName(const QString &name);
    /// Re-reads the stored style (another window may have changed it).
    /// Runs by itself when another program writes the settings file.
    Q_INVOKABLE void reloadTriggerStyle();

    [[nodiscard]] QQuickWindow *panel() const;
    /// Creates, configures and places the panel once; does not show it.
    QQuickWindow *makePanelIfNeeded();

    /// Shows the panel in front without taking focus from other applications.
    Q_INVOKABLE void showPanel();
    /// Shows the panel in front and gives it the keyboard focus (the trigger's click).
    Q_INVOKABLE void activatePanel();
    Q_INVOKABLE void toggleVisibility();
    /// Back to the bottom-right corner of the panel's screen; forgets the saved origin.
    Q_INVOKABLE void resetPosition();

    /// Moves the panel's top-left corner to a point in Qt's global coordinates,
    /// clamped into the screen that holds most of it. Nothing is stored.
    Q_INVOKABLE void moveWindow(QPointF topLeft);
    /// The panel's top-left corner in Qt's global coordinates; null without a panel.
    [[nodiscard]] std::optional<QPointF> panelTopLeft() const;
    /// Stores the panel's origin under the two position keys (desktop coordinates).
    Q_INVOKABLE void saveCurrentPosition();

    /// Resizes about the anchored corner; nothing happens for the size already requested.
    Q_INVOKABLE void resize(QSizeF size, bool animated);

    /// Asks the application to show its command menu at a global point (the trigger's right click).
    Q_INVOKABLE void requestCommandMenu(QPoint globalPosition);
    /// Asks the application to quit (Ctrl+Q on the open card).
    Q_INVOKABLE void requestQuit();
    /// Asks the application for its control center (Ctrl+, on the open card).
    Q_INVOKABLE void requestSettings();

    /// Whether a frame animation is running (tests and the state dump wait for it).
    [[nodiscard]] bool isAnimating() const;
    /**
     * Whether the window was given a size that the scene has not been laid out
     * for yet. A frame drawn meanwhile would be placed at the new window's
     * top-left corner at the old size; the card waits with its transitions.
     */
    [[nodiscard]] bool isResizePending() const;

signals:
    void isVisibleChanged();
    void currentSizeChanged();
    void triggerStyleChanged();
    void anchorChanged();
    void contentRectChanged();
    /// The scene has been laid out for the size last given to the window.
    void windowSizeDelivered();
    /// The panel gained or lost the keyboard focus.
    void panelActiveChanged(bool active);
    void panelCreated(QQuickWindow *panel);
    /// The panel's frame changed (moved, resized or animated).
    void panelFrameChanged();
    /**
     * The window manager asked to close the panel (Alt+F4, a close button of
     * a task switcher). The panel is never closed: the card folds instead.
     */
    void closeRequested();
    /// The user asked for the application's commands or to quit; the application acts.
    void commandMenuRequested(QPoint globalPosition);
    void quitRequested();
    void settingsRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setVisible(bool visible);
    void setAnchor(FloatingWindowPlacement::ResizeAnchor anchor);
    void animateTo(const DesktopRect &frame, int milliseconds);
    void applyGeometry(const QRect &geometry);
    void finishSettling();
    void updateContentRect();
    /// Pulls the panel back into its screen after screens or work areas changed.
    void keepOnScreen();
    /// The panel's frame as the placement rules see it: where a settling resize ends.
    [[nodiscard]] QRect frameGeometry() const;
    [[nodiscard]] DesktopRect panelFrame() const;
    [[nodiscard]] DesktopScreen screenForWindow() const;

    PanelHints &m_hints;
    QPointer<QQmlEngine> m_engine;
    QUrl m_source;
    QVariantMap m_initialProperties;
    QPointer<QQuickView> m_panel;
    QVariantAnimation *m_animation = nullptr;
    // An animated resize gives the window the union of the old and the new
    // frame at once and the new frame when the card's own transition is over,
    // so the window changes size at most twice instead of in every frame.
    QTimer *m_settle = nullptr;
    PanelScreens *m_screens = nullptr;
    TriggerStyleSetting *m_triggerStyle = nullptr;
    QRect m_settleGeometry;
    // The window's size as last delivered to the scene, which lays out and
    // draws for that size: the window system applies a new size before Qt
    // hears of it.
    QSize m_deliveredSize;
    QRectF m_contentRect;

    bool m_isVisible = false;
    QSizeF m_currentSize;
    FloatingWindowPlacement::ResizeAnchor m_anchor{true, false};
};

} // namespace wordlumen
