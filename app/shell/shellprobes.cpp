#include "shellprobes.h"

#include "app/controlcenter/controlcenterwindow.h"
#include "card/panel/floatingcardwindowcontroller.h"
#include "cardmodel/cardviewmodel.h"
#include "firstframe.h"
#include "statedump.h"

#include <QQuickView>

#include <cstdio>

namespace wordlumen {

namespace {

void report(const char *line)
{
    std::puts(line);
    std::fflush(stdout);
}

} // namespace

ShellProbes::ShellProbes(FloatingCardWindowController *controller, QObject *parent)
    : QObject(parent)
    , m_controller(controller)
    , m_reportFirstFrames(qEnvironmentVariableIsSet("WORDLUMEN_REPORT_FIRST_FRAME"))
    , m_reportAnswerFrames(qEnvironmentVariableIsSet("WORDLUMEN_REPORT_ANSWER_FRAME"))
{
    if (const QString path = qEnvironmentVariable("WORDLUMEN_STATE_FILE"); !path.isEmpty()) {
        m_stateDump = new StateDump(path, controller, this);
    }
}

ShellProbes::~ShellProbes() = default;

void ShellProbes::panelCreated(QQuickWindow *panel)
{
    if (m_reportFirstFrames) {
        afterFirstFrame(panel, this, [] { report("first-frame"); });
    }
}

void ShellProbes::panelShown()
{
    if (m_stateDump) {
        m_stateDump->watchPanel();
    }
}

void ShellProbes::libraryLoaded(CustomGlossaryStore *library)
{
    if (m_stateDump) {
        m_stateDump->setLibrary(library);
    }
}

void ShellProbes::viewModelCreated(CardViewModel *viewModel)
{
    if (m_stateDump) {
        m_stateDump->setViewModel(viewModel);
    }
    if (!m_reportAnswerFrames) {
        return;
    }
    connect(viewModel, &CardViewModel::resultChanged, this, [this, viewModel] {
        if (viewModel->resultExplanation().isEmpty() || !m_controller || !m_controller->panel()) {
            return;
        }
        afterFirstFrame(m_controller->panel(), this, [] { report("answer-frame"); });
    });
    // A new passage on the passage view, or the view turned to.
    const auto passageShown = [this, viewModel] {
        if (viewModel->answerMode() != CardViewModel::AnswerMode::Passage || !m_controller ||
            !m_controller->panel()) {
            return;
        }
        afterFirstFrame(m_controller->panel(), this, [] { report("passage-frame"); });
    };
    connect(viewModel->passage(), &PassageSession::passageChanged, this, passageShown);
    connect(viewModel, &CardViewModel::answerModeChanged, this, passageShown);
}

void ShellProbes::controlCenterCreated(ControlCenterWindow *controlCenter)
{
    if (m_stateDump) {
        m_stateDump->setControlCenter(controlCenter);
    }
    if (m_reportFirstFrames) {
        connect(controlCenter, &ControlCenterWindow::created, this, [this](QQuickView *window) {
            afterFirstFrame(window, this, [] { report("control-center-first-frame"); });
        });
    }
}

} // namespace wordlumen
