import QtQuick
import Wordlumen.Controls

// The window's own minimise and close controls, in the paper style (the
// window is drawn without the window manager's frame).
Row {
    id: controls

    spacing: 2

    IconCircleButton {
        icon: "minus"
        label: "最小化"
        onClicked: controls.Window.window.showMinimized()
    }
    IconCircleButton {
        icon: "xmark"
        label: "关闭"
        // Closing only hides the control center; the card stays on the desktop.
        onClicked: controls.Window.window.close()
    }
}
