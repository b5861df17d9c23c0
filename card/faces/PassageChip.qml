import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls
import Wordlumen.Card

// A chip of the row of the passage's other terms: choosing it explains the
// term, or, for the row's last chip, opens the passage view.
Item {
    id: chip

    required property string label
    /// "RAG · 检索增强生成": what a screen reader says.
    property string accessibleName: label
    /// The row's last chip, which opens the whole list.
    property bool opensList: false
    signal clicked()

    implicitWidth: Math.min(text.implicitWidth + CardMetrics.chipPadding,
                            CardMetrics.chipMaximumWidth)
    implicitHeight: CardMetrics.passageRow
    activeFocusOnTab: true
    scale: mouse.pressed ? 0.97 : 1

    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.onPressAction: chip.clicked()
    Keys.onReturnPressed: chip.clicked()
    Keys.onEnterPressed: chip.clicked()
    Keys.onSpacePressed: chip.clicked()

    Rectangle {
        anchors.fill: parent
        radius: 6
        color: chip.opensList ? "transparent"
                              : Theme.alpha(Theme.controlFill, mouse.pressed || hover.hovered
                                                               ? 0.95 : 0.72)
        border.width: 1
        border.color: chip.opensList ? Theme.alpha(Theme.accent, hover.hovered ? 0.6 : 0.35)
                                     : Theme.alpha(Theme.ink, 0.08)
    }
    Text {
        id: text
        anchors.verticalCenter: parent.verticalCenter
        x: CardMetrics.chipPadding / 2
        width: parent.width - CardMetrics.chipPadding
        text: chip.label
        font: Theme.font(10.5, Font.DemiBold)
        color: chip.opensList || hover.hovered || chip.activeFocus ? Theme.accentInk
                                                                   : Theme.controlInk
        elide: Text.ElideRight
        horizontalAlignment: Text.AlignHCenter
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
        text: chip.accessibleName !== chip.label ? chip.accessibleName : ""
        active: hover.hovered
    }
}
