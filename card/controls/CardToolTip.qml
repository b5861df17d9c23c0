import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls

// A small tooltip for the card's controls. It lives on the window's content
// item so that no sibling can cover it, and appears after a short hover.
Item {
    id: tip

    required property Item host
    property string text
    /// True while the pointer rests on the host.
    property bool active: false
    property bool shown: false

    parent: host.Window.contentItem
    z: 1000
    visible: opacity > 0
    opacity: shown && active && text.length > 0 ? 1 : 0
    width: label.implicitWidth + 14
    height: label.implicitHeight + 8

    onActiveChanged: {
        shown = false
        if (active)
            delay.restart()
    }

    Behavior on opacity { NumberAnimation { duration: 120 } }

    // Below the control, kept inside the window.
    x: {
        if (!parent || !visible)
            return 0
        const p = host.mapToItem(parent, host.width / 2, host.height)
        return Math.max(4, Math.min(parent.width - width - 4, p.x - width / 2))
    }
    y: {
        if (!parent || !visible)
            return 0
        const p = host.mapToItem(parent, 0, host.height)
        return Math.min(parent.height - height - 4, p.y + 4)
    }

    Timer {
        id: delay
        interval: 600
        onTriggered: tip.shown = true
    }

    ShapeMask {
        anchors.fill: parent
        shape: ShapeMask.RoundedRect
        cornerRadius: 6
    }
    Rectangle {
        anchors.fill: parent
        radius: 6
        color: Theme.dark ? Qt.rgba(0.2, 0.22, 0.27, 0.97) : Qt.rgba(0.13, 0.15, 0.2, 0.94)
    }
    Text {
        id: label
        anchors.centerIn: parent
        text: tip.text
        color: "white"
        font: Theme.font(10.5, Font.Medium)
    }
}
