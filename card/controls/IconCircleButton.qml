import QtQuick
import Wordlumen.Paint

// A 36-point round-cornered icon button; its label is the tooltip and the
// accessible name. A checkable one (a star) tells screen readers its state.
Item {
    id: button

    required property string icon
    required property string label
    property bool checkable: false
    property bool checked: false
    property color tint: Theme.controlInk
    signal clicked()

    implicitWidth: 36
    implicitHeight: 36
    activeFocusOnTab: true

    Accessible.role: Accessible.Button
    Accessible.name: label
    Accessible.checkable: checkable
    Accessible.checked: checked
    Accessible.onPressAction: button.clicked()
    Accessible.onToggleAction: button.clicked()
    Keys.onReturnPressed: button.clicked()
    Keys.onEnterPressed: button.clicked()
    Keys.onSpacePressed: button.clicked()

    Rectangle {
        anchors.fill: parent
        radius: 10
        color: Theme.controlFill
        opacity: hover.hovered || button.activeFocus ? 0.72 : 0
        Behavior on opacity { NumberAnimation { duration: 140; easing.type: Easing.OutQuad } }
    }
    FocusRing { target: button; radius_: 10; outset: 1 }
    SymbolIcon {
        anchors.centerIn: parent
        width: 15
        height: 15
        symbol: button.icon
        color: button.tint
        strokeWidth: 2.1
    }
    // Hover from a handler: a MouseArea keeps believing it is hovered when its
    // face was hidden or turned away under the pointer.
    HoverHandler { id: hover }
    MouseArea {
        anchors.fill: parent
        cursorShape: Qt.ArrowCursor
        onClicked: button.clicked()
    }
    CardToolTip {
        host: button
        text: button.label
        active: hover.hovered
    }
}
