import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls

// One supplement pack: its switch, name, detail line and a delete button.
Item {
    id: row

    required property string name
    required property string detail
    required property bool packEnabled
    required property string toggleTooltip
    signal toggled(bool enabled)
    signal deleteRequested()

    implicitHeight: 48

    PackSwitch {
        id: toggle
        x: 12
        anchors.verticalCenter: parent.verticalCenter
        checked: row.packEnabled
        tooltip: row.toggleTooltip
        accessibleName: row.name
        onToggled: (checked) => row.toggled(checked)
    }
    Column {
        anchors.left: toggle.right
        anchors.leftMargin: 12
        anchors.right: trash.left
        anchors.rightMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        spacing: 3
        opacity: row.packEnabled ? 1 : 0.6
        Text {
            width: parent.width
            text: row.name
            font: Theme.font(11.5, Font.DemiBold)
            color: Theme.ink
            elide: Text.ElideRight
        }
        Text {
            width: parent.width
            text: row.detail
            font: Theme.font(9.5)
            color: Theme.secondaryInk
            elide: Text.ElideMiddle
        }
    }
    IconCircleButton {
        id: trash
        anchors.right: parent.right
        anchors.rightMargin: 4
        anchors.verticalCenter: parent.verticalCenter
        icon: "trash"
        label: "删除补充包"
        onClicked: row.deleteRequested()
    }
}
