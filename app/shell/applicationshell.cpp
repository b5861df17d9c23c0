#include "applicationshell.h"

#include "app/controlcenter/controlcentermodel.h"
#include "app/controlcenter/controlcenterwindow.h"
#include "app/integration/globalshortcut.h"
#include "app/integration/startatlogin.h"
#include "card/faces/cardviewcontroller.h"
#include "card/paint/logomark.h"
#include "card/panel/floatingcardwindowcontroller.h"
#include "cardmodel/cardviewmodel.h"
#include "core/glossarystore.h"
#include "core/identity.h"
#include "core/selectiontext.h"
#include "core/textmetrics.h"
#include "desktop/desktopservices.h"
#include "desktop/instancechannel.h"
#include "desktop/loginitem.h"
#include "desktop/selectionsource.h"
#include "packs/bundledpacks.h"
#include "packs/customglossarystore.h"
#include "singleinstance.h"
#include "statedump.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
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

namespace wordlumen {

Q_LOGGING_CATEGORY(lcShell, "wordlumen.app")

namespace {

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

/// Runs `action` once, after the window's first frame is on screen.
template<typename Action>
void afterFirstFrame(QQuickWindow *window, QObject *context, Action action)
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection =
        QObject::connect(window, &QQuickWindow::frameSwapped, context, [connection, action] {
            QObject::disconnect(*connection);
            action();
        });
}

} // namespace

ApplicationShell::ApplicationShell(QObject *parent)
    : QObject(parent)
    , m_instance(new SingleInstance(QLatin1StringView(Identity::kReverseDomainName),
                                    DesktopServices::makeInstanceChannel(), this))
{
    QGuiApplication::setDesktopFileName(QLatin1StringView(Identity::kReverseDomainName));
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setWindowIcon(applicationIcon());
    connect(m_instance, &SingleInstance::requestReceived, this, &ApplicationShell::handle);
}

ApplicationShell::~ApplicationShell()
{
    // The tray and its menu go first, then the windows (with the QML they
    // show), the models they bind to, the engine, and the library last.
    delete m_tray;
    m_commandMenu.reset();
    m_controlCenter.reset();
    m_controlCenterModel.reset();
    m_shortcut.reset();
    m_controller.reset();
    m_viewModel.reset();
    m_engine.reset();
    m_library.reset();
}

bool ApplicationShell::claimSingleInstance(const LaunchRequest &request)
{
    return m_instance->claim(request);
}

CustomGlossaryStore &ApplicationShell::library()
{
    if (!m_library) {
        m_library = std::make_unique<CustomGlossaryStore>();
        if (m_stateDump) {
            m_stateDump->setLibrary(m_library.get());
        }
    }
    return *m_library;
}

const std::optional<GlossaryStore> &ApplicationShell::dictionary()
{
    if (!m_dictionaryLoaded) {
        m_dictionaryLoaded = true;
        // The program works without the built-in dictionary; the card and the
        // control center say so where it matters.
        auto loaded = GlossaryStore::loadInstalled();
        if (loaded) {
            m_dictionary = std::move(loaded).value();
        } else {
            qCWarning(lcShell).noquote()
                << "The built-in dictionary did not load:" << loaded.error().message();
        }
    }
    return m_dictionary;
}

void ApplicationShell::showControlCenter(bool centred)
{
    if (!m_controlCenter) {
        const auto &glossary = dictionary();
        m_controlCenterModel = std::make_unique<ControlCenterModel>(
            m_controller.get(), library(),
            glossary ? std::optional(glossary->entries().size()) : std::nullopt);
        m_controlCenterModel->floating()->setDesktopIntegration(m_shortcut.get(),
                                                                m_startAtLogin.get());
        m_controlCenterModel->vocabulary()->setBundledPacks(BundledPacks::load());
        m_controlCenter =
            std::make_unique<ControlCenterWindow>(m_engine.get(), m_controlCenterModel.get());
        if (qEnvironmentVariableIsSet("WORDLUMEN_REPORT_FIRST_FRAME")) {
            connect(m_controlCenter.get(), &ControlCenterWindow::created, this,
                    [this](QQuickView *window) {
                        afterFirstFrame(window, this, [] {
                            std::puts("control-center-first-frame");
                            std::fflush(stdout);
                        });
                    });
        }
        if (m_stateDump) {
            m_stateDump->setControlCenter(m_controlCenter.get());
        }
    }
    m_controlCenter->show(centred);
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

void ApplicationShell::start(const LaunchRequest &request)
{
    using Action = LaunchRequest::Action;
    m_controlCenterAtStart = request.action == Action::Open || request.action == Action::Settings;

    m_engine = std::make_unique<QQmlEngine>();
    m_engine->addImportPath(QStringLiteral("qrc:/qt/qml"));

    m_controller = std::make_unique<FloatingCardWindowController>(DesktopServices::panelHints());
    m_startAtLogin = std::make_unique<StartAtLogin>(DesktopServices::makeLoginItem());
    m_selection = DesktopServices::makeSelectionSource();
    m_shortcut = std::make_unique<GlobalShortcut>(DesktopServices::makeShortcutBackend());
    connect(m_shortcut.get(), &GlobalShortcut::activated, this, &ApplicationShell::lookUpSelection);
    m_controller->setContent(m_engine.get(), cardSource(), cardProperties());
    connect(m_controller.get(), &FloatingCardWindowController::panelCreated, this,
            &ApplicationShell::connectPanel);
    connect(m_controller.get(), &FloatingCardWindowController::commandMenuRequested, this,
            &ApplicationShell::showCommandMenu);
    connect(m_controller.get(), &FloatingCardWindowController::quitRequested, qApp,
            &QCoreApplication::quit);
    connect(m_controller.get(), &FloatingCardWindowController::settingsRequested, this,
            [this] { showControlCenter(false); });

    if (const QString path = qEnvironmentVariable("WORDLUMEN_STATE_FILE"); !path.isEmpty()) {
        m_stateDump = new StateDump(path, m_controller.get(), this);
    }
    // The panel appears on the next turn of the event loop, after start-up work.
    QTimer::singleShot(0, this, [this, request] {
        presentCard();
        if (!m_controlCenterAtStart && request.action != Action::Background) {
            handle(request);
        }
    });
}

void ApplicationShell::connectPanel(QQuickWindow *panel)
{
    auto *view = qobject_cast<QQuickView *>(panel);
    QQuickItem *root = view ? view->rootObject() : nullptr;
    auto *card = root ? root->property("controller").value<CardViewController *>() : nullptr;
    m_card = card;
    if (card) {
        connect(card, &CardViewController::viewModelRequested, this,
                &ApplicationShell::ensureViewModel);
    } else {
        qCWarning(lcShell) << "The card did not load; it cannot be opened";
    }

    // Nothing but the trigger is on the way to its first frame: the tray and
    // the menu come after it.
    afterFirstFrame(panel, this, [this] {
        if (qEnvironmentVariableIsSet("WORDLUMEN_REPORT_FIRST_FRAME")) {
            // For the start-up benchmark: the trigger's first frame is on screen.
            std::puts("first-frame");
            std::fflush(stdout);
        }
        QTimer::singleShot(0, this, [this] {
            m_shortcut->start();
            if (m_controlCenterAtStart) {
                showControlCenter(true);
            }
            buildCommandMenu();
            setUpTrayIcon();
        });
    });
}

void ApplicationShell::ensureViewModel()
{
    if (m_viewModel) {
        return;
    }
    m_viewModel = std::make_unique<CardViewModel>(dictionary(), &library());
    if (auto *view = qobject_cast<QQuickView *>(m_controller->panel());
        view && view->rootObject()) {
        view->rootObject()->setProperty("viewModel", QVariant::fromValue(m_viewModel.get()));
    }
    if (m_stateDump) {
        m_stateDump->setViewModel(m_viewModel.get());
    }
    if (qEnvironmentVariableIsSet("WORDLUMEN_REPORT_ANSWER_FRAME")) {
        // For the entry-point benchmark: an answer has reached the screen.
        connect(m_viewModel.get(), &CardViewModel::resultChanged, this, [this] {
            if (m_viewModel->resultExplanation().isEmpty() || !m_controller->panel()) {
                return;
            }
            afterFirstFrame(m_controller->panel(), this, [] {
                std::puts("answer-frame");
                std::fflush(stdout);
            });
        });
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
    // Launching the program again shows the card, even when the user had
    // hidden it, and the control center where the user left it.
    presentCard();
    showControlCenter(false);
}

void ApplicationShell::handle(const LaunchRequest &request)
{
    qCDebug(lcShell).noquote() << "launch request:" << toString(request.action);
    switch (request.action) {
    case LaunchRequest::Action::Open:
        reopen();
        break;
    case LaunchRequest::Action::Background:
        break; // already running: nothing to start
    case LaunchRequest::Action::Settings:
        // Centred the first time, as at launch; afterwards where the user left it.
        showControlCenter(!m_controlCenter);
        break;
    case LaunchRequest::Action::Toggle:
        toggleCard();
        break;
    case LaunchRequest::Action::Lookup:
        lookUp(request.text);
        break;
    case LaunchRequest::Action::Selection:
        lookUpSelection();
        break;
    }
}

void ApplicationShell::openCard()
{
    presentCard();
    if (m_card) {
        m_card->activateAndExpand();
    }
}

void ApplicationShell::toggleCard()
{
    if (m_controller->isVisible() && m_viewModel &&
        m_viewModel->presentation() != CardViewModel::Presentation::Collapsed) {
        m_viewModel->collapse();
        return;
    }
    openCard();
}

void ApplicationShell::openCardForInput()
{
    openCard();
    if (!m_viewModel) {
        return;
    }
    if (m_viewModel->presentation() == CardViewModel::Presentation::Settings) {
        m_viewModel->closeSettings();
    } else if (m_viewModel->presentation() == CardViewModel::Presentation::Back) {
        m_viewModel->flipToFront();
    }
}

void ApplicationShell::lookUp(const QString &text)
{
    if (TextMetrics::trimmed(text).isEmpty()) {
        openCardForInput();
        return;
    }
    openCard();
    if (!m_viewModel) {
        return; // the card did not load; the log says why
    }
    if (m_viewModel->presentation() == CardViewModel::Presentation::Settings) {
        m_viewModel->closeSettings();
    }
    // The card's own lookup: packs, the dictionary, then the online service.
    m_viewModel->setQuery(text);
    m_viewModel->explain();
}

void ApplicationShell::lookUpSelection()
{
    lookUp(SelectionText::normalised(m_selection->selectedText()));
}

void ApplicationShell::buildCommandMenu()
{
    if (m_commandMenu) {
        return;
    }
    m_commandMenu = std::make_unique<QMenu>();
    QAction *settings = m_commandMenu->addAction(QStringLiteral("Wordlumen 设置…"));
    settings->setShortcut(QKeySequence(QStringLiteral("Ctrl+,")));
    connect(settings, &QAction::triggered, this, [this] { showControlCenter(false); });
    m_toggleAction = m_commandMenu->addAction(QString());
    auto updateToggle = [this] {
        m_toggleAction->setText(m_controller->isVisible() ? QStringLiteral("隐藏浮卡")
                                                          : QStringLiteral("显示浮卡"));
    };
    updateToggle();
    connect(m_controller.get(), &FloatingCardWindowController::isVisibleChanged, this,
            updateToggle);
    connect(m_toggleAction, &QAction::triggered, m_controller.get(),
            &FloatingCardWindowController::toggleVisibility);
    m_commandMenu->addSeparator();
    QAction *quit = m_commandMenu->addAction(QStringLiteral("退出 Wordlumen"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, qApp, &QCoreApplication::quit);
}

void ApplicationShell::showCommandMenu(QPoint globalPosition)
{
    buildCommandMenu();
    m_commandMenu->popup(globalPosition);
}

void ApplicationShell::setUpTrayIcon()
{
    // Made whether or not a tray runs now: the icon docks when one starts
    // later. Without a tray the same commands stay on the trigger's right
    // click (and Ctrl+Q on the open card), so the program can always be quit.
    if (m_tray) {
        return;
    }
    m_tray = new QSystemTrayIcon(QGuiApplication::windowIcon(), this);
    m_tray->setToolTip(QLatin1StringView(Identity::kApplicationName));
    m_tray->setContextMenu(m_commandMenu.get());
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Trigger) {
            presentCard();
        }
    });
    m_tray->show();
}

} // namespace wordlumen
