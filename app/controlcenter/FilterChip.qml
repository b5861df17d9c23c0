import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls

// A chip that is on or off, such as 「只看收藏」: filled with the accent tint
// while on. Space, Return and a click switch it.
Rectangle {
    id: chip

    required property string title
    property string icon: ""
    required property bool checked
    signal toggled(bool checked)

    implicitWidth: row.implicitWidth + 20
    implicitHeight: 30
    radius: 7
    color: checked ? Theme.alpha(Theme.accent, 0.14)
                   : Theme.alpha(Theme.controlFill, mouse.containsMouse ? 1 : 0.8)
    border.width: 1
    border.color: checked ? Theme.alpha(Theme.accent, 0.55) : Theme.edge
    activeFocusOnTab: true

    Accessible.role: Accessible.CheckBox
    Accessible.name: title
    Accessible.checkable: true
    Accessible.checked: checked
    Accessible.onPressAction: chip.toggled(!chip.checked)
    Accessible.onToggleAction: chip.toggled(!chip.checked)
    Keys.onSpacePressed: chip.toggled(!chip.checked)
    Keys.onReturnPressed: chip.toggled(!chip.checked)
    Keys.onEnterPressed: chip.toggled(!chip.checked)

    Row {
        id: row
        anchors.centerIn: parent
        spacing: 5
        SymbolIcon {
            anchors.verticalCenter: parent.verticalCenter
            visible: chip.icon.length > 0
            width: 12
            height: 12
            symbol: chip.checked ? chip.icon + ".fill" : chip.icon
            color: chip.checked ? Theme.accent : Theme.controlInk
            strokeWidth: 2.1
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: chip.title
            font: Theme.font(10.5, Font.DemiBold)
            color: chip.checked ? Theme.accentInk : Theme.controlInk
        }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: chip.toggled(!chip.checked)
    }
    FocusRing { target: chip; radius_: 7 }
}
