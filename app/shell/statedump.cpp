#include "statedump.h"

#include "app/controlcenter/controlcenterwindow.h"
#include "card/paint/theme.h"
#include "card/panel/floatingcardwindowcontroller.h"
#include "cardmodel/cardviewmodel.h"
#include "packs/customglossarystore.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaEnum>
#include <QQuickView>
#include <QSaveFile>

namespace wordlumen {

StateDump::StateDump(QString path, FloatingCardWindowController *controller, QObject *parent)
    : QObject(parent)
    , m_path(std::move(path))
    , m_controller(controller)
{
    m_debounce.setSingleShot(true);
    m_debounce.setInterval(30);
    connect(&m_debounce, &QTimer::timeout, this, &StateDump::write);
    connect(controller, &FloatingCardWindowController::isVisibleChanged, this,
            &StateDump::schedule);
    connect(controller, &FloatingCardWindowController::panelFrameChanged, this,
            &StateDump::schedule);
    connect(controller, &FloatingCardWindowController::panelActiveChanged, this,
            &StateDump::schedule);
    connect(Theme::instance(), &Theme::changed, this, &StateDump::schedule);
    schedule();
}

StateDump::~StateDump() = default;

void StateDump::setViewModel(CardViewModel *viewModel)
{
    m_viewModel = viewModel;
    for (auto signal : {&CardViewModel::presentationChanged, &CardViewModel::queryChanged,
                        &CardViewModel::resultChanged, &CardViewModel::isLoadingChanged,
                        &CardViewModel::errorMessageChanged, &CardViewModel::expandedHeightChanged,
                        &CardViewModel::hasAPIKeyChanged}) {
        connect(viewModel, signal, this, &StateDump::schedule);
    }
    schedule();
}

void StateDump::schedule()
{
    m_debounce.start();
}

void StateDump::write()
{
    if (!m_controller) {
        return;
    }
    QJsonObject state;
    // Before the card is first opened there is no view model: the card is collapsed.
    state[QStringLiteral("presentation")] = QStringLiteral("Collapsed");
    if (m_viewModel) {
        const auto presentation = QMetaEnum::fromType<CardViewModel::Presentation>();
        state[QStringLiteral("presentation")] =
            QString::fromLatin1(presentation.valueToKey(int(m_viewModel->presentation())));
        state[QStringLiteral("query")] = m_viewModel->query();
        state[QStringLiteral("isLoading")] = m_viewModel->isLoading();
        state[QStringLiteral("errorMessage")] = m_viewModel->errorMessage();
        state[QStringLiteral("hasAPIKey")] = m_viewModel->hasAPIKey();
        state[QStringLiteral("expandedHeight")] = m_viewModel->expandedHeight();
        if (const auto &result = m_viewModel->result()) {
            state[QStringLiteral("result")] = QJsonObject{
                {QStringLiteral("term"), result->term},
                {QStringLiteral("title"), m_viewModel->resultTitle()},
                {QStringLiteral("explanation"), result->explanation},
                {QStringLiteral("origin"), toString(result->origin)},
            };
        }
    }
    state[QStringLiteral("isVisible")] = m_controller->isVisible();
    state[QStringLiteral("translucentWindows")] = Theme::instance()->translucentWindows();
    state[QStringLiteral("blurBehind")] = Theme::instance()->blurBehind();
    state[QStringLiteral("dark")] = Theme::instance()->isDark();
    state[QStringLiteral("animating")] = m_controller->isAnimating();
    if (const QQuickWindow *panel = m_controller->panel()) {
        const QRect g = panel->geometry();
        state[QStringLiteral("panel")] =
            QJsonObject{{QStringLiteral("x"), g.x()},
                        {QStringLiteral("y"), g.y()},
                        {QStringLiteral("width"), g.width()},
                        {QStringLiteral("height"), g.height()},
                        {QStringLiteral("active"), panel->isActive()},
                        {QStringLiteral("winId"), QString::number(panel->winId())}};
    }
    if (m_controlCenter && m_controlCenter->window()) {
        const QQuickView *window = m_controlCenter->window();
        const QRect g = window->geometry();
        // Keys of their own: the dump is read by the last part of a key.
        state[QStringLiteral("controlCenter")] =
            QJsonObject{{QStringLiteral("ccVisible"), window->isVisible()},
                        {QStringLiteral("ccX"), g.x()},
                        {QStringLiteral("ccY"), g.y()},
                        {QStringLiteral("ccWidth"), g.width()},
                        {QStringLiteral("ccHeight"), g.height()},
                        {QStringLiteral("ccActive"), window->isActive()},
                        {QStringLiteral("ccWinId"), QString::number(window->winId())}};
    }
    if (m_library) {
        state[QStringLiteral("packCount")] = int(m_library->packs().size());
    }
    QSaveFile file(m_path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(state).toJson(QJsonDocument::Indented));
        file.commit();
    }
    // A running frame animation ends without a signal of its own; look again.
    if (m_controller->isAnimating()) {
        schedule();
    }
}

void StateDump::watchPanel()
{
    schedule();
}

void StateDump::setLibrary(CustomGlossaryStore *library)
{
    m_library = library;
    connect(library, &CustomGlossaryStore::packsChanged, this, &StateDump::schedule);
    schedule();
}

void StateDump::setControlCenter(ControlCenterWindow *controlCenter)
{
    m_controlCenter = controlCenter;
    connect(controlCenter, &ControlCenterWindow::created, this, [this](QQuickView *window) {
        connect(window, &QWindow::visibleChanged, this, &StateDump::schedule);
        connect(window, &QWindow::activeChanged, this, &StateDump::schedule);
        connect(window, &QWindow::xChanged, this, &StateDump::schedule);
        connect(window, &QWindow::yChanged, this, &StateDump::schedule);
        schedule();
    });
}

} // namespace wordlumen
