import QtQuick
import Wordlumen.Paint

// One pack that ships with the program: its name, whether it is added, what
// it covers and its size, and the button that adds it (or updates it).
Item {
    id: row

    required property string name
    required property string detail
    required property string addedState
    required property bool added
    required property string actionTitle
    required property string actionAccessibleName
    signal addRequested()

    implicitHeight: 50

    Column {
        anchors.left: parent.left
        anchors.leftMargin: 12
        anchors.right: action.left
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        spacing: 3
        Row {
            width: parent.width
            spacing: 8
            Text {
                id: title
                width: Math.min(implicitWidth, parent.width - (badge.visible ? badge.width + 8 : 0))
                text: row.name
                font: Theme.font(11.5, Font.DemiBold)
                color: Theme.ink
                elide: Text.ElideRight
            }
            Rectangle {
                id: badge
                visible: row.added
                anchors.verticalCenter: title.verticalCenter
                width: stateLabel.implicitWidth + 12
                height: 16
                radius: 8
                color: Theme.alpha(Theme.accent, 0.12)
                Text {
                    id: stateLabel
                    anchors.centerIn: parent
                    text: row.addedState
                    font: Theme.font(8.5, Font.DemiBold)
                    color: Theme.accentInk
                }
            }
        }
        Text {
            width: parent.width
            text: row.detail
            font: Theme.font(9.5)
            color: Theme.secondaryInk
            elide: Text.ElideRight
        }
    }
    ControlCenterButton {
        id: action
        anchors.right: parent.right
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        title: row.actionTitle
        accessibleName: row.actionAccessibleName
        isSecondary: row.added
        onClicked: row.addRequested()
    }
}
