import QtQuick
import Wordlumen.Paint

// A small capsule with the state's title; its marker is a filled accent dot
// when all is well and a hollow ring when not.
Rectangle {
    id: badge

    required property string title
    required property bool isHealthy

    implicitWidth: row.implicitWidth + 20
    implicitHeight: 24
    radius: height / 2
    color: Theme.alpha(Theme.controlFill, 0.9)
    border.width: 1
    border.color: Theme.edge


    Row {
        id: row
        anchors.centerIn: parent
        spacing: 6
        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: 7
            height: 7
            radius: 3.5
            color: badge.isHealthy ? Theme.accent : "transparent"
            border.width: badge.isHealthy ? 0 : 1.2
            border.color: Theme.secondaryInk
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: badge.title
            font: Theme.font(10, Font.DemiBold)
            color: badge.isHealthy ? Theme.ink : Theme.secondaryInk
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }
}
