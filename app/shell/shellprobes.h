#pragma once

#include <QObject>
#include <QPointer>

class QQuickView;
class QQuickWindow;

namespace wordlumen {

class CardViewModel;
class ControlCenterWindow;
class CustomGlossaryStore;
class FloatingCardWindowController;
class StateDump;

/**
 * What benchmarks and end-to-end tests observe of the running program from
 * outside, each asked for by an environment variable and silent otherwise:
 *
 * - WORDLUMEN_REPORT_FIRST_FRAME prints "first-frame" when the trigger's
 *   first frame is on screen and "control-center-first-frame" for the
 *   control center's;
 * - WORDLUMEN_REPORT_ANSWER_FRAME prints "answer-frame" when a frame shows
 *   an answer, and "passage-frame" when one shows a passage on the passage view;
 * - WORDLUMEN_STATE_FILE names a file the card's state is written to (StateDump).
 *
 * The shell tells it of each part as the part is made.
 */
class ShellProbes final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShellProbes)

public:
    explicit ShellProbes(FloatingCardWindowController *controller, QObject *parent = nullptr);
    ~ShellProbes() override;

    void panelCreated(QQuickWindow *panel);
    void panelShown();
    void libraryLoaded(CustomGlossaryStore *library);
    void viewModelCreated(CardViewModel *viewModel);
    void controlCenterCreated(ControlCenterWindow *controlCenter);

private:
    QPointer<FloatingCardWindowController> m_controller;
    StateDump *m_stateDump = nullptr;
    bool m_reportFirstFrames = false;
    bool m_reportAnswerFrames = false;
};

} // namespace wordlumen
