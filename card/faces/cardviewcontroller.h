#pragma once

#include "card/panel/floatingcardwindowcontroller.h"
#include "cardmodel/cardviewmodel.h"

#include <QMarginsF>
#include <QObject>
#include <QPointer>
#include <QQmlParserStatus>
#include <QSizeF>
#include <QTimer>
#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * The card view's own rules, beside the view model: the panel size each face
 * needs (kept in step with the window controller), opening the collapsed card,
 * folding it on Escape and when the panel loses the keyboard focus, and
 * refreshing whether a key is stored when the API settings change.
 */
class CardViewController : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CardViewController)
    Q_INTERFACES(QQmlParserStatus)
    QML_ELEMENT

    Q_PROPERTY(wordlumen::CardViewModel *viewModel READ viewModel WRITE setViewModel NOTIFY
                   viewModelChanged)
    Q_PROPERTY(wordlumen::FloatingCardWindowController *windowController READ windowController WRITE
                   setWindowController NOTIFY windowControllerChanged)
    /// The panel size for the current face: the trigger's, or the open card plus its margin.
    Q_PROPERTY(QSizeF targetWindowSize READ targetWindowSize NOTIFY targetWindowSizeChanged)
    /**
     * What the card shows, following the view model once the panel has room
     * for it. While the card folds, the face it folds from stays: the fold
     * fades and shrinks the card as it is, it does not turn it.
     */
    Q_PROPERTY(bool isOpen READ isOpen NOTIFY presentationChanged)
    Q_PROPERTY(bool showsBack READ showsBack NOTIFY presentationChanged)
    Q_PROPERTY(bool showsSettings READ showsSettings NOTIFY presentationChanged)
    /// The trigger style's raw value ("compact" or "wide").
    Q_PROPERTY(QString triggerStyle READ triggerStyle NOTIFY triggerStyleChanged)
    /// The open card's size and the room around it that holds its shadows.
    Q_PROPERTY(double cardWidth READ cardWidth CONSTANT)
    Q_PROPERTY(double cardHeight READ cardHeight NOTIFY cardHeightChanged)
    Q_PROPERTY(double shadowLeft READ shadowLeft CONSTANT)
    Q_PROPERTY(double shadowTop READ shadowTop CONSTANT)
    Q_PROPERTY(double shadowRight READ shadowRight CONSTANT)
    Q_PROPERTY(double shadowBottom READ shadowBottom CONSTANT)
    /// The collapsed panel's size for the trigger style.
    Q_PROPERTY(QSizeF collapsedSize READ collapsedSize NOTIFY triggerStyleChanged)

public:
    /// The open card is this wide.
    static constexpr double kCardWidth = 356;
    /// The least room the panel keeps around the card on every side.
    static constexpr double kLeastShadowMargin = 12;

    explicit CardViewController(QObject *parent = nullptr);
    ~CardViewController() override;

    [[nodiscard]] CardViewModel *viewModel() const { return m_viewModel; }
    void setViewModel(CardViewModel *viewModel);
    [[nodiscard]] FloatingCardWindowController *windowController() const
    {
        return m_windowController;
    }
    void setWindowController(FloatingCardWindowController *controller);

    [[nodiscard]] QSizeF targetWindowSize() const;
    [[nodiscard]] bool isOpen() const;
    [[nodiscard]] bool showsBack() const;
    [[nodiscard]] bool showsSettings() const;
    [[nodiscard]] QString triggerStyle() const;
    [[nodiscard]] static double cardWidth() { return kCardWidth; }
    [[nodiscard]] double cardHeight() const;
    /**
     * The room around the open card inside the panel: enough for every
     * visible pixel of its shadows in either scheme (they reach further down
     * than up), so no scheme change resizes the panel.
     */
    [[nodiscard]] static QMarginsF shadowMargins();
    [[nodiscard]] static double shadowLeft() { return shadowMargins().left(); }
    [[nodiscard]] static double shadowTop() { return shadowMargins().top(); }
    [[nodiscard]] static double shadowRight() { return shadowMargins().right(); }
    [[nodiscard]] static double shadowBottom() { return shadowMargins().bottom(); }
    [[nodiscard]] QSizeF collapsedSize() const;

    /// The trigger's click: the panel takes the focus and the card opens on the face it was left
    /// on.
    Q_INVOKABLE void activateAndExpand();
    /// Escape while the panel has the focus: back to the answer from the passage
    /// view opened from one, else cancel().
    Q_INVOKABLE void escapePressed();
    /// The window manager's close request: folds the card.
    Q_INVOKABLE void cancel();

    void classBegin() override {}
    void componentComplete() override;

signals:
    void viewModelChanged();
    void windowControllerChanged();
    void targetWindowSizeChanged();
    void cardHeightChanged();
    void presentationChanged();
    void triggerStyleChanged();
    /**
     * The trigger was clicked before the card has a view model. The
     * application builds it on first use (loading the dictionary and asking the
     * keyring take a moment that the trigger's first frame should not wait for)
     * and sets it before this signal returns.
     */
    void viewModelRequested();

private:
    void connectViewModel();
    void connectWindowController();
    void updateTargetSize();
    void panelActiveChanged(bool active);
    [[nodiscard]] CardPresentation modelPresentation() const;
    [[nodiscard]] double modelHeight() const;
    /// Follows the view model: at once, or when a growing panel has its new size.
    void modelChanged();
    void publish();

    QPointer<CardViewModel> m_viewModel;
    QPointer<FloatingCardWindowController> m_windowController;
    QSizeF m_targetSize;
    // What the faces show, published from the view model.
    CardPresentation m_presentation = CardPresentation::Collapsed;
    CardPresentation m_openFace = CardPresentation::Front;
    double m_height = CardMetrics::kDefaultHeight;
    QTimer *m_publishLater = nullptr;
    bool m_complete = false;
    bool m_sizedOnce = false;
};

} // namespace wordlumen
