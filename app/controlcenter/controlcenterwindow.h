#pragma once

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickView>
#include <QSize>

namespace wordlumen {

class ControlCenterModel;

/**
 * The control center's window: 640 × 502, not resizable, titled "Wordlumen",
 * drawn without the window manager's frame (its own close and minimise
 * controls in the paper style, moved by dragging its background). Made on
 * first show and kept: closing only hides it, so its pages keep their state.
 */
class ControlCenterWindow final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ControlCenterWindow)

public:
    static constexpr QSize kSize{640, 502};
    /// After showing, nothing in the window is focused this much later.
    static constexpr int kFocusResetMilliseconds = 150;

    ControlCenterWindow(QQmlEngine *engine, ControlCenterModel *model, QObject *parent = nullptr);
    ~ControlCenterWindow() override;

    /// Shows the window in front with the keyboard focus; `centred` on the screen.
    void show(bool centred);
    [[nodiscard]] bool isVisible() const;
    /// The window, once it was shown.
    [[nodiscard]] QQuickView *window() const { return m_view; }

signals:
    /// The window was made (its QML is loaded).
    void created(QQuickView *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QQuickView *makeWindow();

    QPointer<QQmlEngine> m_engine;
    QPointer<ControlCenterModel> m_model;
    QPointer<QQuickView> m_view;
};

} // namespace wordlumen
