#pragma once

#include "shadowlayer.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QtQml/qqmlregistration.h>
#include <QVariantList>

#include <memory>
#include <optional>

class QJSEngine;
class QQmlEngine;

namespace wordlumen {

class Appearance;
class CompositorStatus;

/**
 * The card's palette, type and motion, light and dark, in one place. Faces and
 * painted items read every colour, font and duration from here.
 *
 * The scheme, motion and transparency follow the desktop's appearance, and
 * see-through windows its compositor, unless set explicitly, which the
 * screenshot tool and the tests do.
 */
class Theme : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Theme)
    QML_ELEMENT
    QML_SINGLETON

public:
    enum class Scheme
    {
        System,
        Light,
        Dark
    };
    Q_ENUM(Scheme)

private:
    Q_PROPERTY(Scheme scheme READ scheme WRITE setScheme NOTIFY changed)
    Q_PROPERTY(bool dark READ isDark NOTIFY changed)
    Q_PROPERTY(bool reduceMotion READ reduceMotion WRITE setReduceMotion NOTIFY changed)
    Q_PROPERTY(
        bool reduceTransparency READ reduceTransparency WRITE setReduceTransparency NOTIFY changed)
    /**
     * Whether windows may be see-through: a compositing manager blends them
     * over the desktop. Without one the card is drawn opaque and its window
     * cut to its outline. Follows the desktop unless set.
     */
    Q_PROPERTY(
        bool translucentWindows READ translucentWindows WRITE setTranslucentWindows NOTIFY changed)
    /// The compositor blurs what lies behind the trigger. Follows the desktop unless set.
    Q_PROPERTY(bool blurBehind READ blurBehind WRITE setBlurBehind NOTIFY changed)
    /// Whether the keyboard is in use: focus rings show after a navigation key
    /// and hide again after a click.
    Q_PROPERTY(bool keyboardNavigation READ keyboardNavigation NOTIFY keyboardNavigationChanged)

    Q_PROPERTY(QColor ink READ ink NOTIFY changed)
    Q_PROPERTY(QColor secondaryInk READ secondaryInk NOTIFY changed)
    Q_PROPERTY(QColor accent READ accent NOTIFY changed)
    Q_PROPERTY(QColor accentInk READ accentInk NOTIFY changed)
    Q_PROPERTY(QColor controlInk READ controlInk NOTIFY changed)
    Q_PROPERTY(QColor controlFill READ controlFill NOTIFY changed)
    Q_PROPERTY(QColor edge READ edge NOTIFY changed)
    Q_PROPERTY(QColor paper READ paper NOTIFY changed)
    Q_PROPERTY(QColor paperUnderside READ paperUnderside NOTIFY changed)
    /// The fill of the trigger capsule: translucent (our stand-in for a blurred
    /// material), opaque paper where windows cannot be see-through.
    Q_PROPERTY(QColor triggerFill READ triggerFill NOTIFY changed)
    /// The control center's flat sidebar and its page area.
    Q_PROPERTY(QColor controlCenterSidebar READ controlCenterSidebar NOTIFY changed)
    Q_PROPERTY(QColor controlCenterPage READ controlCenterPage NOTIFY changed)

    /// The open card's two shadows in the current scheme.
    Q_PROPERTY(wordlumen::ShadowLayer cardShadow READ cardShadow NOTIFY changed)
    Q_PROPERTY(wordlumen::ShadowLayer cardContactShadow READ cardContactShadow NOTIFY changed)
    Q_PROPERTY(QString sansFamily READ sansFamily CONSTANT)
    Q_PROPERTY(QString serifFamily READ serifFamily CONSTANT)
    Q_PROPERTY(QString monoFamily READ monoFamily CONSTANT)

    /// The card's timing curve (0.16, 1.0, 0.3, 1.0), as QML's Easing.Bezier list.
    Q_PROPERTY(QVariantList cardCurve READ cardCurve CONSTANT)
    /// Face changes: 260 ms, or 10 ms linear with reduced motion.
    Q_PROPERTY(int presentationDuration READ presentationDuration NOTIFY changed)
    /// Card height changes: 220 ms, or 10 ms linear with reduced motion.
    Q_PROPERTY(int heightDuration READ heightDuration NOTIFY changed)
    /// Whether card content animations use the curve (false: linear, reduced motion).
    Q_PROPERTY(bool curvedMotion READ curvedMotion NOTIFY changed)

public:
    ~Theme() override;

    /// The one theme of the process; QML's `Theme` is this object too.
    static Theme *instance();
    static Theme *create(QQmlEngine *, QJSEngine *);

    [[nodiscard]] Scheme scheme() const { return m_scheme; }
    void setScheme(Scheme scheme);
    [[nodiscard]] bool isDark() const;
    [[nodiscard]] bool reduceMotion() const;
    void setReduceMotion(bool reduce);
    [[nodiscard]] bool reduceTransparency() const;
    void setReduceTransparency(bool reduce);
    [[nodiscard]] bool translucentWindows() const;
    void setTranslucentWindows(bool translucent);
    /// See-through windows whose background the compositor blurs (KWin's blur).
    [[nodiscard]] bool blurBehind() const;
    void setBlurBehind(bool blur);
    [[nodiscard]] bool keyboardNavigation() const { return m_keyboardNavigation; }

    [[nodiscard]] QColor ink() const;
    [[nodiscard]] QColor secondaryInk() const;
    [[nodiscard]] QColor accent() const;
    [[nodiscard]] QColor accentInk() const;
    [[nodiscard]] QColor controlInk() const;
    [[nodiscard]] QColor controlFill() const;
    [[nodiscard]] QColor edge() const;
    [[nodiscard]] QColor paper() const;
    [[nodiscard]] QColor paperUnderside() const;
    [[nodiscard]] QColor triggerFill() const;
    [[nodiscard]] QColor controlCenterSidebar() const;
    [[nodiscard]] QColor controlCenterPage() const;

    [[nodiscard]] ShadowLayer cardShadow() const { return cardShadowLayers(isDark())[0]; }
    [[nodiscard]] ShadowLayer cardContactShadow() const { return cardShadowLayers(isDark())[1]; }

    [[nodiscard]] QString sansFamily() const;
    [[nodiscard]] QString serifFamily() const;
    [[nodiscard]] QString monoFamily() const;

    [[nodiscard]] QVariantList cardCurve() const;
    [[nodiscard]] int presentationDuration() const { return reduceMotion() ? 10 : 260; }
    [[nodiscard]] int heightDuration() const { return reduceMotion() ? 10 : 220; }
    [[nodiscard]] bool curvedMotion() const { return !reduceMotion(); }

    /// `color` at `opacity` times its own alpha.
    Q_INVOKABLE [[nodiscard]] static QColor alpha(const QColor &color, double opacity);
    /**
     * The UI face at `size` points, Chinese in Noto Sans CJK SC. Texts known to
     * be ASCII (the trigger's) pass `cjk` false, so the large CJK faces are not
     * opened just to show the trigger.
     */
    Q_INVOKABLE [[nodiscard]] QFont font(double size, int weight = QFont::Normal,
                                         double letterSpacing = 0, bool cjk = true) const;
    /// The monospaced face, Chinese in Noto Sans CJK SC.
    Q_INVOKABLE [[nodiscard]] QFont mono(double size, int weight = QFont::Normal,
                                         double letterSpacing = 0, bool cjk = true) const;
    /// Titles: Noto Serif CJK SC.
    Q_INVOKABLE [[nodiscard]] QFont serif(double size, int weight = QFont::Normal) const;

signals:
    void changed();
    void keyboardNavigationChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Not default-constructible on purpose: QML would build its own instance
    // per engine instead of asking create() for the shared one.
    Theme(std::unique_ptr<Appearance> appearance, std::unique_ptr<CompositorStatus> compositor,
          QObject *parent);
    void setKeyboardNavigation(bool keyboard);

    Scheme m_scheme = Scheme::System;
    Appearance *m_appearance = nullptr;
    CompositorStatus *m_compositor = nullptr;
    std::optional<bool> m_translucentWindows;
    std::optional<bool> m_blurBehind;
    bool m_keyboardNavigation = false;
    std::optional<bool> m_reduceMotion;
    std::optional<bool> m_reduceTransparency;
};

} // namespace wordlumen
