import QtQuick
import Wordlumen.Paint
import Wordlumen.Card

// A face's title group (accent dot and title), backed by the drag strip that
// moves the panel.
Item {
    id: title

    required property string text
    property FloatingCardWindowController windowController: null
    property font font: Theme.mono(10.5, Font.DemiBold, 1.4)

    implicitWidth: row.implicitWidth
    implicitHeight: Math.max(row.implicitHeight, 24)

    FloatingDragHandle {
        anchors.fill: parent
        controller: title.windowController
    }
    Row {
        id: row
        anchors.verticalCenter: parent.verticalCenter
        spacing: 10
        AccentDot {
            anchors.verticalCenter: parent.verticalCenter
            width: 7
            height: 7
            diameter: 7
            flat: true
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: title.text
            font: title.font
            color: Theme.controlInk
        }
    }
}
