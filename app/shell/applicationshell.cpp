#include "applicationshell.h"

#include "app/controlcenter/controlcentermodel.h"
#include "app/controlcenter/controlcenterwindow.h"
#include "app/integration/globalshortcut.h"
#include "app/integration/startatlogin.h"
#include "card/faces/cardviewcontroller.h"
#include "card/paint/logomark.h"
#include "card/panel/floatingcardwindowcontroller.h"
#include "cardmodel/cardviewmodel.h"
#include "commandmenu.h"
#include "core/glossarystore.h"
#include "core/identity.h"
#include "core/textmetrics.h"
#include "desktop/desktopservices.h"
#include "desktop/instancechannel.h"
#include "desktop/loginitem.h"
#include "desktop/selectionsource.h"
#include "firstframe.h"
#include "history/historystore.h"
#include "history/historywriter.h"
#include "packs/bundledpacks.h"
#include "packs/customglossarystore.h"
#include "shellprobes.h"
#include "singleinstance.h"

#include <QApplication>
#include <QIcon>
#include <QLoggingCategory>
#include <QPainter>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTimer>

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
    m_commandMenu.reset();
    m_controlCenter.reset();
    m_controlCenterModel.reset();
    m_shortcut.reset();
    m_controller.reset();
    m_viewModel.reset();
    m_engine.reset();
    // The writer finishes what the card handed it before the program ends.
    m_historyRecorder.reset();
    m_historyWriter.reset();
    m_history.reset();
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
        if (m_probes) {
            m_probes->libraryLoaded(m_library.get());
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

HistoryStore &ApplicationShell::history()
{
    if (!m_history)
        m_history = std::make_unique<HistoryStore>(HistoryStore::defaultFilePath(),
                                                   HistoryStore::optionsFromSettings());
    return *m_history;
}

HistoryRecorder *ApplicationShell::historyRecorder()
{
    if (!m_historyRecorder) {
        m_historyWriter = std::make_unique<HistoryWriter>(&history());
        m_historyRecorder =
            std::make_unique<HistoryRecorder>(&history(), m_historyWriter.get(), &library());
    }
    return m_historyRecorder.get();
}

void ApplicationShell::showControlCenter(bool centred)
{
    if (!m_controlCenter) {
        const auto &glossary = dictionary();
        m_controlCenterModel = std::make_unique<ControlCenterModel>(
            m_controller.get(), library(),
            glossary ? std::optional(glossary->entries().size()) : std::nullopt, nullptr,
            &history());
        connect(m_controlCenterModel->history(), &HistoryPageModel::openRequested, this,
                &ApplicationShell::openSaved);
        m_controlCenterModel->floating()->setDesktopIntegration(m_shortcut.get(),
                                                                m_startAtLogin.get());
        m_controlCenterModel->vocabulary()->setBundledPackLoader(
            [] { return BundledPacks::load(); });
        m_controlCenter =
            std::make_unique<ControlCenterWindow>(m_engine.get(), m_controlCenterModel.get());
        m_probes->controlCenterCreated(m_controlCenter.get());
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
    m_commandMenu = std::make_unique<CommandMenu>(m_controller.get());
    connect(m_commandMenu.get(), &CommandMenu::settingsRequested, this,
            [this] { showControlCenter(false); });
    connect(m_commandMenu.get(), &CommandMenu::cardRequested, this, &ApplicationShell::presentCard);
    connect(m_controller.get(), &FloatingCardWindowController::commandMenuRequested,
            m_commandMenu.get(), &CommandMenu::popup);
    connect(m_controller.get(), &FloatingCardWindowController::quitRequested, qApp,
            &QCoreApplication::quit);
    connect(m_controller.get(), &FloatingCardWindowController::settingsRequested, this,
            [this] { showControlCenter(false); });

    m_probes = new ShellProbes(m_controller.get(), this);
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
    m_probes->panelCreated(panel);
    afterFirstFrame(panel, this, [this] {
        QTimer::singleShot(0, this, [this] {
            m_shortcut->start();
            if (m_controlCenterAtStart) {
                showControlCenter(true);
            }
            m_commandMenu->setUp();
        });
    });
}

void ApplicationShell::ensureViewModel()
{
    if (m_viewModel) {
        return;
    }
    m_viewModel = std::make_unique<CardViewModel>(dictionary(), &library());
    m_viewModel->setHistory(historyRecorder());
    if (auto *view = qobject_cast<QQuickView *>(m_controller->panel());
        view && view->rootObject()) {
        view->rootObject()->setProperty("viewModel", QVariant::fromValue(m_viewModel.get()));
    }
    m_probes->viewModelCreated(m_viewModel.get());
}

void ApplicationShell::presentCard()
{
    m_controller->showPanel();
    m_probes->panelShown();
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
    if (!openCardFor(text)) {
        return;
    }
    // The card's own lookup: packs, the dictionary, then the online service.
    m_viewModel->setQuery(text);
    m_viewModel->explain();
}

void ApplicationShell::openSaved(const HistoryEntry &entry)
{
    if (openCardFor(entry.term)) {
        m_viewModel->openSaved(entry);
    }
}

bool ApplicationShell::openCardFor(const QString &text)
{
    if (TextMetrics::trimmed(text).isEmpty()) {
        openCardForInput();
        return false;
    }
    openCard();
    if (!m_viewModel) {
        return false; // the card did not load; the log says why
    }
    if (m_viewModel->presentation() == CardViewModel::Presentation::Settings) {
        m_viewModel->closeSettings();
    }
    return true;
}

void ApplicationShell::lookUpSelection()
{
    // A passage opens the passage view; a term or a description is looked up.
    const QString selected = m_selection->selectedText();
    if (openCardFor(selected)) {
        m_viewModel->lookUpSelection(selected);
    }
}

} // namespace wordlumen
