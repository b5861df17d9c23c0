#include "applicationshell.h"

#include "card/floatingcardwindowcontroller.h"
#include "card/logomark.h"
#include "cardmodel/cardviewmodel.h"
#include "core/glossarystore.h"
#include "packs/customglossarystore.h"
#include "singleinstance.h"
#include "statedump.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QLoggingCategory>
#include <QMenu>
#include <QPainter>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace wordlumen {

Q_LOGGING_CATEGORY(lcShell, "wordlumen.app")

namespace {

const QString kIdentifier = QStringLiteral("com.zintaro.Wordlumen");

QIcon applicationIcon()
{
    QIcon icon;
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        WordlumenLogoMark::paintMark(&painter, QRectF(0, 0, side, side));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

ApplicationShell::ApplicationShell(QObject *parent)
    : QObject(parent)
    , m_instance(new SingleInstance(kIdentifier, this))
{
    QGuiApplication::setDesktopFileName(kIdentifier);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setWindowIcon(applicationIcon());
    connect(m_instance, &SingleInstance::reopenRequested, this, &ApplicationShell::reopen);
}

ApplicationShell::~ApplicationShell()
{
    // The panel's QML lives in this shell's engine: the panel goes before the engine.
    if (m_controller) {
        delete m_controller->panel();
    }
}

bool ApplicationShell::claimSingleInstance()
{
    return m_instance->claim();
}

void ApplicationShell::start()
{
    m_engine = std::make_unique<QQmlEngine>();
    m_engine->addImportPath(QStringLiteral("qrc:/qt/qml"));

    m_controller = FloatingCardWindowController::shared();
    m_controller->setContent(m_engine.get(), cardSource(), cardProperties());
    connect(m_controller, &FloatingCardWindowController::panelCreated, this,
            [this](QQuickWindow *panel) {
                auto *view = qobject_cast<QQuickView *>(panel);
                if (QQuickItem *root = view ? view->rootObject() : nullptr) {
                    m_cardRoot = root;
                    connect(root, SIGNAL(viewModelRequested()), this, SLOT(ensureViewModel()));
                }
            });

    if (qEnvironmentVariableIsSet("WORDLUMEN_REPORT_FIRST_FRAME")) {
        // For the start-up benchmark: say when the trigger's first frame is on screen.
        connect(m_controller, &FloatingCardWindowController::panelCreated, this,
                [](QQuickWindow *panel) {
                    auto reported = std::make_shared<bool>(false);
                    connect(
                        panel, &QQuickWindow::frameSwapped, panel,
                        [reported] {
                            if (!*reported) {
                                *reported = true;
                                std::puts("first-frame");
                                std::fflush(stdout);
                            }
                        },
                        Qt::DirectConnection);
                });
    }
    if (const QString path = qEnvironmentVariable("WORDLUMEN_STATE_FILE"); !path.isEmpty()) {
        m_stateDump = new StateDump(path, m_controller, this);
    }
    // The panel appears on the next turn of the event loop, after start-up work.
    QTimer::singleShot(0, this, &ApplicationShell::presentCard);
    setUpTrayIcon();
}

QUrl ApplicationShell::cardSource()
{
    return QUrl(QStringLiteral("qrc:/qt/qml/Wordlumen/Card/CardView.qml"));
}

QVariantMap ApplicationShell::cardProperties()
{
    return {{QStringLiteral("settingsFace"),
             QUrl(QStringLiteral("qrc:/qt/qml/Wordlumen/App/SettingsView.qml"))}};
}

void ApplicationShell::ensureViewModel()
{
    if (m_viewModel) {
        return;
    }
    // The card works without the built-in dictionary; the view model says so on the card.
    auto glossary = GlossaryStore::loadInstalled();
    std::optional<GlossaryStore> dictionary;
    if (glossary) {
        dictionary = std::move(glossary).value();
    } else {
        qCWarning(lcShell) << "The built-in dictionary did not load";
    }
    m_viewModel =
        new CardViewModel(std::move(dictionary), &CustomGlossaryStore::shared(), {}, {}, {}, this);
    if (m_cardRoot) {
        m_cardRoot->setProperty("viewModel", QVariant::fromValue(m_viewModel));
    }
    if (m_stateDump) {
        m_stateDump->setViewModel(m_viewModel);
    }
}

void ApplicationShell::presentCard()
{
    m_controller->showPanel();
    if (m_stateDump) {
        m_stateDump->watchPanel();
    }
}

void ApplicationShell::reopen()
{
    // Launching the program again shows the card, even when the user had hidden it.
    presentCard();
}

void ApplicationShell::setUpTrayIcon()
{
    if (true) {
        return;
    }
    m_trayMenu = std::make_unique<QMenu>();
    QAction *settings = m_trayMenu->addAction(QStringLiteral("Wordlumen 设置…"));
    settings->setShortcut(QKeySequence(QStringLiteral("Ctrl+,")));
    // The control center is not part of this build yet; the command waits for it.
    settings->setEnabled(false);
    m_toggleAction = m_trayMenu->addAction(QString());
    auto updateToggle = [this] {
        m_toggleAction->setText(m_controller->isVisible() ? QStringLiteral("隐藏卡片")
                                                          : QStringLiteral("显示卡片"));
    };
    updateToggle();
    connect(m_controller, &FloatingCardWindowController::isVisibleChanged, this, updateToggle);
    connect(m_toggleAction, &QAction::triggered, m_controller,
            &FloatingCardWindowController::toggleVisibility);
    m_trayMenu->addSeparator();
    connect(m_trayMenu->addAction(QStringLiteral("退出 Wordlumen")), &QAction::triggered, qApp,
            &QCoreApplication::quit);

    m_tray = new QSystemTrayIcon(QGuiApplication::windowIcon(), this);
    m_tray->setToolTip(QStringLiteral("Wordlumen"));
    m_tray->setContextMenu(m_trayMenu.get());
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Trigger) {
            presentCard();
        }
    });
    m_tray->show();
}

} // namespace wordlumen
