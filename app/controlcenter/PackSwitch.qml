import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls

// An on/off switch without a visible label; its tooltip says what a press does.
Item {
    id: toggle

    required property bool checked
    required property string tooltip
    property string accessibleName: tooltip
    signal toggled(bool checked)

    implicitWidth: 34
    implicitHeight: 20
    activeFocusOnTab: true
    opacity: enabled ? 1 : 0.45

    Accessible.role: Accessible.CheckBox
    Accessible.name: accessibleName
    Accessible.checkable: true
    Accessible.checked: checked
    Accessible.onPressAction: toggle.toggled(!toggle.checked)
    Accessible.onToggleAction: toggle.toggled(!toggle.checked)
    Keys.onSpacePressed: toggle.toggled(!toggle.checked)
    Keys.onReturnPressed: toggle.toggled(!toggle.checked)
    Keys.onEnterPressed: toggle.toggled(!toggle.checked)

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: toggle.checked ? Theme.accent : Theme.alpha(Theme.ink, 0.16)
        Behavior on color { ColorAnimation { duration: 120 } }
    }
    Rectangle {
        width: 16
        height: 16
        radius: 8
        y: 2
        x: toggle.checked ? toggle.width - width - 2 : 2
        color: Qt.rgba(1, 1, 1, 0.97)
        Behavior on x { NumberAnimation { duration: 120; easing.type: Easing.OutQuad } }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: toggle.toggled(!toggle.checked)
    }
    FocusRing { target: toggle; radius_: 10 }
    CardToolTip {
        host: toggle
        text: toggle.tooltip
        active: mouse.containsMouse
    }
}
