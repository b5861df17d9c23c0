import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls

// One reverse-lookup candidate; choosing it explains that term.
Item {
    id: row

    required property int index
    required property string displayTerm
    required property string reason
    required property string accessibleName
    signal clicked()

    implicitHeight: column.implicitHeight + 18
    activeFocusOnTab: true

    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.onPressAction: row.clicked()
    Keys.onReturnPressed: row.clicked()
    Keys.onEnterPressed: row.clicked()
    Keys.onSpacePressed: row.clicked()

    Rectangle {
        anchors.fill: parent
        radius: 9
        color: Theme.alpha(Theme.controlFill, hover.hovered ? 0.9 : 0.66)
        border.width: 1
        border.color: Theme.alpha(Theme.ink, 0.07)
    }
    Column {
        id: column
        anchors.left: parent.left
        anchors.leftMargin: 11
        anchors.right: arrow.left
        anchors.rightMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        spacing: 4
        Text {
            width: parent.width
            text: row.displayTerm
            font: Theme.font(12.5, Font.DemiBold)
            color: Theme.ink
            maximumLineCount: 1
            elide: Text.ElideRight
        }
        Text {
            width: parent.width
            text: row.reason
            font: Theme.font(10.5)
            color: Theme.controlInk
            wrapMode: Text.Wrap
            maximumLineCount: 2
            elide: Text.ElideRight
        }
    }
    SymbolIcon {
        id: arrow
        anchors.right: parent.right
        anchors.rightMargin: 11
        anchors.verticalCenter: parent.verticalCenter
        width: 10
        height: 10
        symbol: "arrow.up.right"
        color: Theme.accent
        strokeWidth: 2.6
    }
    FocusRing { target: row; radius_: 9; outset: 2 }
    HoverHandler { id: hover }
    MouseArea {
        anchors.fill: parent
        onClicked: row.clicked()
    }
}
