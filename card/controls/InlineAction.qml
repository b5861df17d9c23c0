import QtQuick
import Wordlumen.Paint

// A text button with an optional symbol before or after the title.
Item {
    id: action

    required property string title
    property string systemImage: ""
    property bool iconTrailing: true
    signal clicked()

    readonly property color tint: hover.hovered || activeFocus ? Theme.accentInk
                                                                : Theme.controlInk

    implicitWidth: row.implicitWidth
    implicitHeight: Math.max(34, row.implicitHeight)
    activeFocusOnTab: true

    Accessible.role: Accessible.Button
    Accessible.name: title
    Accessible.onPressAction: action.clicked()
    Keys.onReturnPressed: action.clicked()
    Keys.onEnterPressed: action.clicked()
    Keys.onSpacePressed: action.clicked()

    Row {
        id: row
        anchors.verticalCenter: parent.verticalCenter
        spacing: 5
        layoutDirection: action.iconTrailing ? Qt.LeftToRight : Qt.RightToLeft

        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: action.title
            font: Theme.font(11.5, Font.DemiBold)
            color: action.tint
            Behavior on color { ColorAnimation { duration: 150; easing.type: Easing.OutQuad } }
        }
        SymbolIcon {
            anchors.verticalCenter: parent.verticalCenter
            visible: action.systemImage.length > 0
            width: 13.5
            height: 13.5
            symbol: action.systemImage
            color: action.tint
            strokeWidth: 2.1
        }
    }
    // Hover from a handler: a MouseArea keeps believing it is hovered when its
    // face was hidden or turned away under the pointer.
    HoverHandler { id: hover }
    MouseArea {
        anchors.fill: parent
        onClicked: action.clicked()
    }
    FocusRing { target: action; radius_: 6; outset: 2 }
}
