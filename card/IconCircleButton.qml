import QtQuick
import Wordlumen.Card

// A 36-point round-cornered icon button; its label is the tooltip and the
// accessible name.
Item {
    id: button

    required property string icon
    required property string label
    signal clicked()

    implicitWidth: 36
    implicitHeight: 36
    activeFocusOnTab: true

    Accessible.role: Accessible.Button
    Accessible.name: label
    Accessible.onPressAction: button.clicked()
    Keys.onReturnPressed: button.clicked()
    Keys.onEnterPressed: button.clicked()
    Keys.onSpacePressed: button.clicked()

    Rectangle {
        anchors.fill: parent
        radius: 10
        color: Theme.controlFill
        opacity: mouse.containsMouse || button.activeFocus ? 0.72 : 0
        Behavior on opacity { NumberAnimation { duration: 140; easing.type: Easing.OutQuad } }
    }
    Rectangle {
        anchors.fill: parent
        radius: 10
        color: "transparent"
        border.width: 1
        border.color: Theme.alpha(Theme.accent, 0.6)
        visible: button.activeFocus
    }
    SymbolIcon {
        anchors.centerIn: parent
        width: 15
        height: 15
        symbol: button.icon
        color: Theme.controlInk
        strokeWidth: 2.1
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.ArrowCursor
        onClicked: button.clicked()
    }
    CardToolTip {
        host: button
        text: button.label
        active: mouse.containsMouse
    }
}
