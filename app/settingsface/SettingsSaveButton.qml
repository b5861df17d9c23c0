import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls

// The filled accent button of the settings face.
Item {
    id: button

    required property string title
    signal clicked()

    implicitWidth: label.implicitWidth + 26
    implicitHeight: 30
    activeFocusOnTab: true
    scale: mouse.pressed ? 0.97 : 1

    Accessible.role: Accessible.Button
    Accessible.name: title
    Accessible.onPressAction: button.clicked()
    Keys.onReturnPressed: button.clicked()
    Keys.onEnterPressed: button.clicked()
    Keys.onSpacePressed: button.clicked()

    Rectangle {
        anchors.fill: parent
        radius: 7
        color: Theme.alpha(Theme.accent, mouse.pressed ? 0.78 : 0.92)
    }
    FocusRing { target: button; radius_: 7 }
    Text {
        id: label
        anchors.centerIn: parent
        text: button.title
        font: Theme.font(10.5, Font.DemiBold)
        color: Qt.rgba(1, 1, 1, 0.96)
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        onClicked: button.clicked()
    }
}
