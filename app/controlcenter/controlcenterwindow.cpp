#include "controlcenterwindow.h"

#include "controlcentermodel.h"
#include "core/identity.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QQuickItem>
#include <QQuickView>
#include <QScreen>
#include <QTimer>

namespace wordlumen {

Q_LOGGING_CATEGORY(lcControlCenter, "wordlumen.app.controlcenter")

ControlCenterWindow::ControlCenterWindow(QQmlEngine *engine, ControlCenterModel *model,
                                         QObject *parent)
    : QObject(parent)
    , m_engine(engine)
    , m_model(model)
{}

ControlCenterWindow::~ControlCenterWindow()
{
    delete m_view.data();
}

QQuickView *ControlCenterWindow::makeWindow()
{
    if (m_view) {
        return m_view;
    }
    auto *view = new QQuickView(m_engine, nullptr);
    view->setObjectName(QStringLiteral("WordlumenControlCenter"));
    // The title is what window lists and screen readers call the window.
    view->setTitle(QStringLiteral("Wordlumen 设置"));
    view->setFlags(Qt::Window | Qt::FramelessWindowHint);
    view->setMinimumSize(kSize);
    view->setMaximumSize(kSize);
    view->resize(kSize);
    view->setResizeMode(QQuickView::SizeRootObjectToView);
    view->setInitialProperties({{QStringLiteral("model"), QVariant::fromValue(m_model.data())}});
    view->setSource(QUrl(QStringLiteral("qrc:/qt/qml/Wordlumen/App/ControlCenterView.qml")));
    for (const QQmlError &error : view->errors()) {
        qCWarning(lcControlCenter).noquote() << error.toString();
    }
    view->installEventFilter(this);
    m_view = view;
    emit created(view);
    return view;
}

void ControlCenterWindow::show(bool centred)
{
    QQuickView *view = makeWindow();
    if (centred) {
        QScreen *screen = QGuiApplication::primaryScreen();
        if (const QWindow *focus = QGuiApplication::focusWindow(); focus && focus->screen()) {
            screen = focus->screen();
        }
        if (screen) {
            QRect frame(QPoint(), kSize);
            frame.moveCenter(screen->availableGeometry().center());
            view->setPosition(frame.topLeft());
        }
    }
    if (view->windowStates() & Qt::WindowMinimized) {
        view->setWindowStates(view->windowStates() & ~Qt::WindowMinimized);
    }
    view->show();
    view->raise();
    view->requestActivate();
    // Nothing is focused when the window comes up: the first Tab starts at
    // its first control instead of an input taking the keyboard unasked.
    QTimer::singleShot(kFocusResetMilliseconds, view, [view] {
        if (QQuickItem *root = view->rootObject()) {
            root->forceActiveFocus(Qt::OtherFocusReason);
        }
    });
}

bool ControlCenterWindow::isVisible() const
{
    return m_view && m_view->isVisible();
}

bool ControlCenterWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Closing (our close control, the window manager, Alt+F4) only hides the
    // window; the program and the floating card go on. The event type comes
    // first: the view's own destructor sends events here, and comparing with
    // m_view then would cast a half-destroyed window to QQuickView.
    if (event->type() == QEvent::Close && watched == m_view) {
        event->ignore();
        m_view->hide();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace wordlumen
