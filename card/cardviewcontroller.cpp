#include "cardviewcontroller.h"

#include "cardmodel/cardviewmodel.h"
#include "floatingcardwindowcontroller.h"

namespace wordlumen {

CardViewController::CardViewController(QObject *parent)
    : QObject(parent)
{
    // The view model itself follows the API-settings notification, so the
    // status line changes as soon as a key is saved or cleared anywhere.
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
    emit presentationChanged();
    emit cardHeightChanged();
    updateTargetSize();
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
        emit presentationChanged();
        updateTargetSize();
        if (!isOpen() && m_windowController) {
            // The control center may have changed the style while the card was open.
            m_windowController->reloadTriggerStyle();
        }
    });
    connect(m_viewModel, &CardViewModel::expandedHeightChanged, this, [this] {
        emit cardHeightChanged();
        updateTargetSize();
    });
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
}

QSizeF CardViewController::targetWindowSize() const
{
    return m_targetSize;
}

bool CardViewController::isOpen() const
{
    return m_viewModel && m_viewModel->presentation() != CardPresentation::Collapsed;
}

bool CardViewController::showsBack() const
{
    return m_viewModel && m_viewModel->presentation() == CardPresentation::Back;
}

bool CardViewController::showsSettings() const
{
    return m_viewModel && m_viewModel->presentation() == CardPresentation::Settings;
}

QString CardViewController::triggerStyle() const
{
    return m_windowController ? m_windowController->triggerStyleName()
                              : toString(FloatingTriggerStyle::Compact);
}

double CardViewController::cardHeight() const
{
    return m_viewModel ? m_viewModel->expandedHeight() : CardViewModel::kDefaultHeight;
}

QSizeF CardViewController::collapsedSize() const
{
    return m_windowController ? m_windowController->collapsedSize()
                              : collapsedPanelSize(FloatingTriggerStyle::Compact);
}

void CardViewController::updateTargetSize()
{
    const QSizeF size =
        isOpen() ? QSizeF(kCardWidth + 2 * kShadowMargin, cardHeight() + 2 * kShadowMargin)
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

void CardViewController::cancel()
{
    if (isOpen()) {
        m_viewModel->collapse();
    }
}

void CardViewController::panelActiveChanged(bool active)
{
    // Clicking anywhere outside the open card folds it back into the trigger.
    if (!active && isOpen()) {
        m_viewModel->collapse();
    }
}

} // namespace wordlumen
