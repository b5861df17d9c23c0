import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls

// The keyboard focus ring of the card's and the control center's controls: an
// accent outline just outside the control's shape, shown while it has the
// focus and the keyboard is in use (not after a click).
Rectangle {
    id: ring

    required property Item target
    property real radius_: 8
    /// How far outside the control the ring lies; negative draws it inside.
    property real outset: 3

    anchors.fill: target
    anchors.margins: -outset
    radius: radius_ + outset
    color: "transparent"
    border.width: 2
    border.color: Theme.alpha(Theme.accent, 0.75)
    visible: target.activeFocus && Theme.keyboardNavigation

    // Part of the window's shape where windows cannot be see-through.
    ShapeMask {
        anchors.fill: parent
        shape: ShapeMask.RoundedRect
        cornerRadius: ring.radius
    }
}
