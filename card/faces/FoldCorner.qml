import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls

// The folded top-right corner of the card as a button: a 48-point hit area
// with the 36-point fold graphic in its top-right corner.
Item {
    id: corner

    required property string label
    signal clicked()

    width: 48
    height: 48
    activeFocusOnTab: true

    Accessible.role: Accessible.Button
    Accessible.name: label
    Accessible.onPressAction: corner.clicked()
    Keys.onReturnPressed: corner.clicked()
    Keys.onEnterPressed: corner.clicked()
    Keys.onSpacePressed: corner.clicked()

    ShapeMask {
        anchors.top: parent.top
        anchors.right: parent.right
        width: 36
        height: 36
        shape: ShapeMask.FoldTriangle
    }
    FoldCornerGraphic {
        anchors.fill: parent
        hover: hover.hovered || corner.activeFocus ? 1 : 0
        Behavior on hover { NumberAnimation { duration: 150; easing.type: Easing.OutQuad } }
    }
    // Around the fold, inside the card: the corner sits at the card's edge.
    Item {
        id: foldArea
        anchors.top: parent.top
        anchors.right: parent.right
        width: 36
        height: 36
    }
    FocusRing {
        target: foldArea
        radius_: 6
        outset: -3
        visible: corner.activeFocus && Theme.keyboardNavigation
    }
    HoverHandler { id: hover }
    MouseArea {
        anchors.fill: parent
        onClicked: corner.clicked()
    }
    CardToolTip {
        host: corner
        text: corner.label
        active: hover.hovered
    }
}
