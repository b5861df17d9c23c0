import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls

// One sidebar entry: symbol, title and a one-line detail; the whole row is a
// button, highlighted while its page shows.
Item {
    id: row

    required property string icon
    required property string title
    required property string detail
    required property bool isActive
    signal clicked()

    implicitHeight: 48
    activeFocusOnTab: true

    Accessible.role: Accessible.PageTab
    Accessible.name: title + "，" + detail
    Accessible.selected: isActive
    // Qt 6.4's bridge reports no change of the selected state; a change of
    // the description of the focused row is spoken.
    Accessible.description: isActive ? "当前页面" : ""
    Accessible.onPressAction: row.clicked()
    Keys.onReturnPressed: row.clicked()
    Keys.onEnterPressed: row.clicked()
    Keys.onSpacePressed: row.clicked()

    Rectangle {
        anchors.fill: parent
        radius: 9
        color: row.isActive ? Theme.alpha(Theme.paper, Theme.dark ? 0.9 : 1)
                            : Theme.alpha(Theme.controlFill, mouse.containsMouse ? 0.9 : 0)
        border.width: row.isActive ? 1 : 0
        border.color: Theme.edge
        Behavior on color { ColorAnimation { duration: 120 } }
    }
    Rectangle {
        visible: row.isActive
        x: 0
        anchors.verticalCenter: parent.verticalCenter
        width: 3
        height: 20
        radius: 1.5
        color: Theme.accent
    }
    SymbolIcon {
        id: symbol
        x: 13
        anchors.verticalCenter: parent.verticalCenter
        width: 15
        height: 15
        symbol: row.icon
        color: row.isActive ? Theme.accent : Theme.controlInk
        strokeWidth: 2
    }
    Column {
        anchors.left: symbol.right
        anchors.leftMargin: 10
        anchors.right: parent.right
        anchors.rightMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        spacing: 3
        Text {
            width: parent.width
            text: row.title
            font: Theme.font(12, Font.DemiBold)
            color: Theme.ink
            elide: Text.ElideRight
        }
        Text {
            width: parent.width
            text: row.detail
            font: Theme.font(9.5)
            color: Theme.secondaryInk
            elide: Text.ElideRight
        }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: row.clicked()
    }
    FocusRing { target: row; radius_: 9 }
}
