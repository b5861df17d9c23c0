import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls

// The control center's button: filled in the accent colour (primary) or a
// quieter paper button (secondary). Space, Return and a click press it.
Item {
    id: button

    required property string title
    property bool isSecondary: false
    property bool destructive: false
    // What a screen reader says when the title alone is ambiguous, as with a
    // row of 「添加」 buttons.
    property string accessibleName: title
    signal clicked()

    implicitWidth: label.implicitWidth + 28
    implicitHeight: 30
    activeFocusOnTab: true
    scale: mouse.pressed ? 0.97 : 1
    Behavior on scale { NumberAnimation { duration: 80; easing.type: Easing.OutQuad } }

    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.onPressAction: button.clicked()
    Keys.onReturnPressed: button.clicked()
    Keys.onEnterPressed: button.clicked()
    Keys.onSpacePressed: button.clicked()

    Rectangle {
        anchors.fill: parent
        radius: 7
        color: button.isSecondary
               ? Theme.alpha(Theme.controlFill, mouse.containsMouse ? 1 : 0.8)
               : Theme.alpha(Theme.accent, mouse.pressed ? 0.78 : (mouse.containsMouse ? 1 : 0.92))
        border.width: button.isSecondary ? 1 : 0
        border.color: Theme.edge
    }
    Text {
        id: label
        anchors.centerIn: parent
        text: button.title
        font: Theme.font(10.5, Font.DemiBold)
        color: button.isSecondary ? (button.destructive ? Theme.accentInk : Theme.controlInk)
                                  : Qt.rgba(1, 1, 1, 0.96)
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.clicked()
    }
    FocusRing { target: button; radius_: 7 }
}
