import QtQuick
import Wordlumen.Card

// The keyboard focus ring of the control center's controls: an accent outline
// just outside the control's shape, shown only while it has the focus.
Rectangle {
    required property Item target
    property real radius_: 8

    anchors.fill: target
    anchors.margins: -3
    radius: radius_ + 3
    color: "transparent"
    border.width: 2
    border.color: Theme.alpha(Theme.accent, 0.75)
    visible: target.activeFocus
}
