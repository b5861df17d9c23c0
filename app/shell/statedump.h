#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

namespace wordlumen {

class CardViewModel;
class ControlCenterWindow;
class CustomGlossaryStore;
class FloatingCardWindowController;

/**
 * For tests that drive the real program from outside: writes the card's state
 * (face, query, answer, panel frame) as JSON to a file whenever it changes.
 * Only active when WORDLUMEN_STATE_FILE names a file.
 */
class StateDump final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StateDump)

public:
    StateDump(QString path, FloatingCardWindowController *controller, QObject *parent = nullptr);
    ~StateDump() override;

    /// The card's view model, once the card has one.
    void setViewModel(CardViewModel *viewModel);
    /// Writes again once the panel exists.
    void watchPanel();
    /// The control center's window, once it is made.
    void setControlCenter(ControlCenterWindow *controlCenter);
    /// The pack library, once it is loaded: the dump counts its packs.
    void setLibrary(CustomGlossaryStore *library);

private:
    void schedule();
    void write();

    QString m_path;
    QPointer<CardViewModel> m_viewModel;
    QPointer<FloatingCardWindowController> m_controller;
    QPointer<ControlCenterWindow> m_controlCenter;
    QPointer<CustomGlossaryStore> m_library;
    QTimer m_debounce;
};

} // namespace wordlumen
