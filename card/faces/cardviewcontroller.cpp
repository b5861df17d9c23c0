#include "cardviewcontroller.h"

#include "card/paint/shadowlayer.h"
#include "card/panel/floatingcardwindowcontroller.h"
#include "cardmodel/cardviewmodel.h"

#include <QList>

namespace wordlumen {

namespace {

// How long the card waits for the window system to confirm a bigger panel
// before it shows its change anyway.
constexpr int kResizeWaitMilliseconds = 100;

} // namespace

CardViewController::CardViewController(QObject *parent)
    : QObject(parent)
    , m_publishLater(new QTimer(this))
{
    // The view model itself follows the API-settings notification, so the
    // status line changes as soon as a key is saved or cleared anywhere.
    m_publishLater->setSingleShot(true);
    m_publishLater->setInterval(kResizeWaitMilliseconds);
    connect(m_publishLater, &QTimer::timeout, this, &CardViewController::publish);
}

CardViewController::~CardViewController() = default;

void CardViewController::setViewModel(CardViewModel *viewModel)
{
    if (m_viewModel == viewModel) {
        return;
    }
    if (m_viewModel) {
        disconnect(m_viewModel, nullptr, this, nullptr);
    }
    m_viewModel = viewModel;
    connectViewModel();
    emit viewModelChanged();
    modelChanged();
}

void CardViewController::setWindowController(FloatingCardWindowController *controller)
{
    if (m_windowController == controller) {
        return;
    }
    if (m_windowController) {
        disconnect(m_windowController, nullptr, this, nullptr);
    }
    m_windowController = controller;
    connectWindowController();
    emit windowControllerChanged();
    emit triggerStyleChanged();
    updateTargetSize();
}

void CardViewController::connectViewModel()
{
    if (!m_viewModel) {
        return;
    }
    connect(m_viewModel, &CardViewModel::presentationChanged, this, [this] {
        if (modelPresentation() == CardPresentation::Collapsed && m_windowController) {
            // The control center may have changed the style while the card was open.
            m_windowController->reloadTriggerStyle();
        }
        modelChanged();
    });
    connect(m_viewModel, &CardViewModel::expandedHeightChanged, this,
            &CardViewController::modelChanged);
}

void CardViewController::connectWindowController()
{
    if (!m_windowController) {
        return;
    }
    connect(m_windowController, &FloatingCardWindowController::triggerStyleChanged, this, [this] {
        emit triggerStyleChanged();
        updateTargetSize();
    });
    connect(m_windowController, &FloatingCardWindowController::panelActiveChanged, this,
            &CardViewController::panelActiveChanged);
    connect(m_windowController, &FloatingCardWindowController::closeRequested, this,
            &CardViewController::cancel);
    connect(m_windowController, &FloatingCardWindowController::windowSizeDelivered, this, [this] {
        if (m_publishLater->isActive()) {
            m_publishLater->stop();
            publish();
        }
    });
}

QSizeF CardViewController::targetWindowSize() const
{
    return m_targetSize;
}

bool CardViewController::isOpen() const
{
    return m_presentation != CardPresentation::Collapsed;
}

bool CardViewController::showsBack() const
{
    return m_openFace == CardPresentation::Back;
}

bool CardViewController::showsSettings() const
{
    return m_openFace == CardPresentation::Settings;
}

CardPresentation CardViewController::modelPresentation() const
{
    return m_viewModel ? m_viewModel->presentation() : CardPresentation::Collapsed;
}

double CardViewController::modelHeight() const
{
    return m_viewModel ? m_viewModel->expandedHeight() : CardMetrics::kDefaultHeight;
}

void CardViewController::modelChanged()
{
    updateTargetSize();
    // A panel that grows is given its new size first; what is drawn before
    // the scene knows that size would land displaced in the bigger window.
    if (m_windowController && m_windowController->isResizePending()) {
        m_publishLater->start();
    } else {
        m_publishLater->stop();
        publish();
    }
}

void CardViewController::publish()
{
    const CardPresentation presentation = modelPresentation();
    const CardPresentation face =
        presentation == CardPresentation::Collapsed ? m_openFace : presentation;
    if (presentation != m_presentation || face != m_openFace) {
        m_presentation = presentation;
        m_openFace = face;
        emit presentationChanged();
    }
    if (!qFuzzyCompare(m_height, modelHeight())) {
        m_height = modelHeight();
        emit cardHeightChanged();
    }
}

QString CardViewController::triggerStyle() const
{
    return m_windowController ? m_windowController->triggerStyleName()
                              : toString(FloatingTriggerStyle::Compact);
}

double CardViewController::cardHeight() const
{
    return m_height;
}

QSizeF CardViewController::collapsedSize() const
{
    return m_windowController ? m_windowController->collapsedSize()
                              : collapsedPanelSize(FloatingTriggerStyle::Compact);
}

QMarginsF CardViewController::shadowMargins()
{
    // Either scheme's shadows: a change of scheme never resizes the panel.
    static const QMarginsF margins = [] {
        QList<ShadowLayer> layers;
        for (const bool dark : {false, true}) {
            const auto scheme = cardShadowLayers(dark);
            layers.append(QList<ShadowLayer>(scheme.begin(), scheme.end()));
        }
        return shadowRoom(layers, kLeastShadowMargin);
    }();
    return margins;
}

void CardViewController::updateTargetSize()
{
    const QSizeF size = modelPresentation() != CardPresentation::Collapsed
                            ? QSizeF(kCardWidth, modelHeight()).grownBy(shadowMargins())
                            : collapsedSize();
    if (size == m_targetSize) {
        return;
    }
    m_targetSize = size;
    emit targetWindowSizeChanged();
    if (m_complete && m_windowController) {
        // The first size is applied at once; every later change animates.
        m_windowController->resize(size, m_sizedOnce);
        m_sizedOnce = true;
    }
}

void CardViewController::componentComplete()
{
    m_complete = true;
    if (m_windowController && !m_targetSize.isEmpty()) {
        m_windowController->resize(m_targetSize, false);
        m_sizedOnce = true;
    }
}

void CardViewController::activateAndExpand()
{
    if (!m_viewModel) {
        emit viewModelRequested();
    }
    if (m_windowController) {
        m_windowController->activatePanel();
    }
    if (m_viewModel && m_viewModel->presentation() == CardPresentation::Collapsed) {
        m_viewModel->expand();
    }
}

void CardViewController::escapePressed()
{
    // The passage view opened from an answer is a step away from it: Escape
    // goes back there. Everywhere else it folds the card.
    if (modelPresentation() == CardPresentation::Back &&
        m_viewModel->answerMode() == CardAnswerMode::Passage && m_viewModel->hasResult()) {
        m_viewModel->leavePassage();
        return;
    }
    cancel();
}

void CardViewController::cancel()
{
    if (modelPresentation() != CardPresentation::Collapsed) {
        m_viewModel->collapse();
    }
}

void CardViewController::panelActiveChanged(bool active)
{
    // Clicking anywhere outside the open card folds it back into the trigger.
    if (!active && modelPresentation() != CardPresentation::Collapsed) {
        m_viewModel->collapse();
    }
}

} // namespace wordlumen
