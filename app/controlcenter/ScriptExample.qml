import QtQuick
import Wordlumen.Paint

// One example query in a chip.
Rectangle {
    id: chip

    required property string text

    implicitWidth: label.implicitWidth + 14
    implicitHeight: 24
    radius: 6
    color: Theme.alpha(Theme.controlFill, 0.68)
    border.width: 1
    border.color: Theme.alpha(Theme.ink, 0.07)

    Accessible.role: Accessible.StaticText
    Accessible.name: text

    Text {
        id: label
        anchors.centerIn: parent
        text: chip.text
        font: Theme.font(9.5, Font.DemiBold)
        color: Theme.controlInk
    }
}
