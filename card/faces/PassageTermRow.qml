import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls
import Wordlumen.Card

// One term of the passage view: its heading and short explanation; choosing
// it explains the term fully.
Item {
    id: row

    required property string heading
    required property string explanation
    required property string rowName
    signal clicked()

    implicitHeight: column.implicitHeight + 18
    activeFocusOnTab: true

    Accessible.role: Accessible.Button
    Accessible.name: rowName
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
            text: row.heading
            font: Theme.font(12.5, Font.DemiBold)
            lineHeightMode: Text.FixedHeight
            lineHeight: 17
            height: 17
            color: Theme.ink
            maximumLineCount: 1
            elide: Text.ElideRight
        }
        Text {
            width: parent.width
            text: row.explanation
            font: Theme.font(10.5)
            lineHeightMode: Text.FixedHeight
            lineHeight: CardMetrics.passageTermLine
            color: Theme.controlInk
            wrapMode: Text.Wrap
            maximumLineCount: CardMetrics.passageTermLines
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
