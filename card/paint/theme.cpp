#include "theme.h"

#include "desktop/appearance.h"
#include "desktop/compositorstatus.h"
#include "desktop/desktopservices.h"
#include "desktop/platformfonts.h"

#include <QEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QJSEngine>
#include <QKeyEvent>
#include <QQmlEngine>
#include <QScreen>

namespace wordlumen {

namespace {

QColor rgb(double r, double g, double b, double a = 1)
{
    return QColor::fromRgbF(float(r), float(g), float(b), float(a));
}

// Sizes are given in points of a 72-dpi design; Qt fonts are sized in the
// screen's logical points, so convert through its logical dpi.
double designToPointSize(double size)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return size * 72.0 / dpi;
}

QFont makeFont(const QStringList &families, double size, int weight, double letterSpacing)
{
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(designToPointSize(size));
    font.setWeight(QFont::Weight(weight));
    if (letterSpacing != 0) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    }
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace

Theme::Theme(std::unique_ptr<Appearance> appearance, std::unique_ptr<CompositorStatus> compositor,
             QObject *parent)
    : QObject(parent)
    , m_appearance(appearance.release())
    , m_compositor(compositor.release())
{
    m_appearance->setParent(this);
    m_compositor->setParent(this);
    connect(m_appearance, &Appearance::changed, this, &Theme::changed);
    connect(m_compositor, &CompositorStatus::compositingChanged, this, [this] {
        if (!m_translucentWindows) {
            emit changed();
        }
    });
    connect(m_compositor, &CompositorStatus::blurBehindChanged, this, [this] {
        if (!m_blurBehind) {
            emit changed();
        }
    });
    if (qApp) {
        qApp->installEventFilter(this);
    }
}

Theme::~Theme() = default;

Theme *Theme::instance()
{
    // The edge of the process: the desktop's services are picked here, once.
    static auto *theme =
        new Theme(DesktopServices::makeAppearance(), DesktopServices::makeCompositorStatus(), qApp);
    return theme;
}

Theme *Theme::create(QQmlEngine *, QJSEngine *)
{
    Theme *theme = instance();
    QJSEngine::setObjectOwnership(theme, QJSEngine::CppOwnership);
    return theme;
}

bool Theme::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
        case Qt::Key_Escape:
            setKeyboardNavigation(true);
            break;
        default:
            break;
        }
        break;
    case QEvent::MouseButtonPress:
        setKeyboardNavigation(false);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void Theme::setKeyboardNavigation(bool keyboard)
{
    if (m_keyboardNavigation == keyboard) {
        return;
    }
    m_keyboardNavigation = keyboard;
    emit keyboardNavigationChanged();
}

void Theme::setScheme(Scheme scheme)
{
    if (m_scheme == scheme) {
        return;
    }
    m_scheme = scheme;
    emit changed();
}

bool Theme::isDark() const
{
    switch (m_scheme) {
    case Scheme::Light:
        return false;
    case Scheme::Dark:
        return true;
    case Scheme::System:
        break;
    }
    return m_appearance->prefersDark();
}

bool Theme::reduceMotion() const
{
    return m_reduceMotion.value_or(m_appearance->reducesMotion());
}

void Theme::setReduceMotion(bool reduce)
{
    if (m_reduceMotion == reduce) {
        return;
    }
    m_reduceMotion = reduce;
    emit changed();
}

bool Theme::reduceTransparency() const
{
    return m_reduceTransparency.value_or(m_appearance->reducesTransparency());
}

void Theme::setReduceTransparency(bool reduce)
{
    if (m_reduceTransparency == reduce) {
        return;
    }
    m_reduceTransparency = reduce;
    emit changed();
}

bool Theme::translucentWindows() const
{
    return m_translucentWindows.value_or(m_compositor->isCompositing());
}

bool Theme::blurBehind() const
{
    return translucentWindows() && m_blurBehind.value_or(m_compositor->offersBlurBehind());
}

void Theme::setBlurBehind(bool blur)
{
    if (m_blurBehind == blur) {
        return;
    }
    m_blurBehind = blur;
    emit changed();
}

void Theme::setTranslucentWindows(bool translucent)
{
    if (m_translucentWindows == translucent) {
        return;
    }
    m_translucentWindows = translucent;
    emit changed();
}

QColor Theme::ink() const
{
    return isDark() ? rgb(0.96, 0.97, 0.99) : rgb(0.067, 0.094, 0.153);
}

QColor Theme::secondaryInk() const
{
    return isDark() ? rgb(0.42, 0.45, 0.50) : rgb(0.53, 0.55, 0.58);
}

QColor Theme::accent() const
{
    return isDark() ? rgb(0.878, 0.416, 0.247) : rgb(0.835, 0.315, 0.105);
}

QColor Theme::accentInk() const
{
    return isDark() ? rgb(0.941, 0.533, 0.365) : rgb(0.67, 0.225, 0.055);
}

QColor Theme::controlInk() const
{
    return isDark() ? rgb(0.63, 0.63, 0.67) : rgb(0.29, 0.33, 0.39);
}

QColor Theme::controlFill() const
{
    return isDark() ? rgb(1, 1, 1, 0.055) : rgb(0.969, 0.963, 0.949);
}

QColor Theme::edge() const
{
    return alpha(ink(), isDark() ? 0.16 : 0.085);
}

QColor Theme::paper() const
{
    return isDark() ? rgb(0.047, 0.054, 0.067) : rgb(0.996, 0.993, 0.985);
}

QColor Theme::paperUnderside() const
{
    return isDark() ? rgb(0.106, 0.133, 0.2) : rgb(0.978, 0.973, 0.96);
}

QColor Theme::triggerFill() const
{
    // Mostly opaque paper: without a compositor that blurs what lies behind,
    // a see-through capsule would only make the text hard to read.
    if (!translucentWindows()) {
        return paper();
    }
    // Frosted where the compositor blurs the desktop behind the capsule.
    if (blurBehind()) {
        return alpha(paper(), isDark() ? 0.72 : 0.7);
    }
    return alpha(paper(), isDark() ? 0.9 : 0.88);
}

QColor Theme::controlCenterSidebar() const
{
    return isDark() ? rgb(0.05, 0.056, 0.068) : rgb(0.967, 0.961, 0.946);
}

QColor Theme::controlCenterPage() const
{
    return isDark() ? rgb(0.025, 0.03, 0.04) : rgb(0.986, 0.983, 0.974);
}

QString Theme::sansFamily() const
{
    return PlatformFonts::sansFamily();
}

QString Theme::serifFamily() const
{
    return PlatformFonts::serifFamily();
}

QString Theme::monoFamily() const
{
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

QVariantList Theme::cardCurve() const
{
    return {0.16, 1.0, 0.3, 1.0, 1.0, 1.0};
}

QColor Theme::alpha(const QColor &color, double opacity)
{
    QColor result = color;
    result.setAlphaF(float(color.alphaF() * opacity));
    return result;
}

QFont Theme::font(double size, int weight, double letterSpacing, bool cjk) const
{
    const QString ui = QGuiApplication::font().family();
    return makeFont(cjk ? QStringList{ui, sansFamily()} : QStringList{ui}, size, weight,
                    letterSpacing);
}

QFont Theme::mono(double size, int weight, double letterSpacing, bool cjk) const
{
    return makeFont(cjk ? QStringList{monoFamily(), sansFamily()} : QStringList{monoFamily()}, size,
                    weight, letterSpacing);
}

QFont Theme::serif(double size, int weight) const
{
    return makeFont({serifFamily(), sansFamily()}, size, weight, 0);
}

} // namespace wordlumen
