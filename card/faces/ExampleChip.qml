import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls

// An example term; pressing it puts the term into the input and explains it.
Item {
    id: chip

    required property string term
    /// A few words a screen reader says after the term (「RAG · 检索增强」).
    required property string meaning
    required property string help
    signal clicked()

    implicitWidth: label.implicitWidth + 14
    implicitHeight: 24
    activeFocusOnTab: true
    scale: mouse.pressed ? 0.97 : 1

    Accessible.role: Accessible.Button
    Accessible.name: term + " · " + meaning
    Accessible.description: help
    Accessible.onPressAction: chip.clicked()
    Keys.onReturnPressed: chip.clicked()
    Keys.onEnterPressed: chip.clicked()
    Keys.onSpacePressed: chip.clicked()

    Rectangle {
        anchors.fill: parent
        radius: 6
        color: Theme.alpha(Theme.controlFill, mouse.pressed ? 0.92 : 0.68)
        border.width: 1
        border.color: Theme.alpha(Theme.ink, 0.07)
    }
    Text {
        id: label
        anchors.centerIn: parent
        text: chip.term
        font: Theme.font(9.5, Font.DemiBold)
        color: Theme.controlInk
    }
    FocusRing { target: chip; radius_: 6; outset: 2 }
    HoverHandler { id: hover }
    MouseArea {
        id: mouse
        anchors.fill: parent
        onClicked: chip.clicked()
    }
    CardToolTip {
        host: chip
        text: chip.help
        active: hover.hovered
    }
}
