import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls

// One entry of the history: its star, the term with the beginning of its
// answer and when and where it came from, and a delete button. The row opens
// the entry on the card. The list is one stop of the Tab key: the arrows pick
// a row and keys act on it, so the row's own buttons are for the pointer.
Item {
    id: row

    required property string term
    required property string answer
    required property string detail
    required property string accessibleName
    required property bool starred
    /// The list's current row, shown while the list has the keyboard.
    property bool isCurrent: false
    property bool showsFocus: false
    signal opened()
    signal starToggled()
    signal removed()

    implicitHeight: 58

    Accessible.role: Accessible.ListItem
    Accessible.name: accessibleName
    Accessible.selected: isCurrent
    Accessible.onPressAction: row.opened()

    Rectangle {
        anchors.fill: parent
        anchors.margins: 3
        radius: 7
        color: Theme.alpha(Theme.ink, row.isCurrent && row.showsFocus ? 0.06
                                      : (hover.hovered ? 0.035 : 0))
        border.width: row.isCurrent && row.showsFocus ? 1.5 : 0
        border.color: Theme.alpha(Theme.accent, 0.7)
    }
    HoverHandler { id: hover }
    MouseArea {
        anchors.fill: parent
        onClicked: row.opened()
    }

    IconCircleButton {
        id: star
        x: 4
        anchors.verticalCenter: parent.verticalCenter
        width: 32
        height: 32
        activeFocusOnTab: false
        icon: row.starred ? "star.fill" : "star"
        tint: row.starred ? Theme.accent : Theme.secondaryInk
        label: row.starred ? "取消收藏" : "收藏"
        checkable: true
        checked: row.starred
        onClicked: row.starToggled()
    }
    Column {
        anchors.left: star.right
        anchors.leftMargin: 6
        anchors.right: trash.left
        anchors.rightMargin: 4
        anchors.verticalCenter: parent.verticalCenter
        spacing: 3
        Text {
            width: parent.width
            text: row.term
            font: Theme.font(11.5, Font.DemiBold)
            color: Theme.ink
            elide: Text.ElideRight
        }
        Text {
            width: parent.width
            text: row.answer
            font: Theme.font(10)
            color: Theme.controlInk
            elide: Text.ElideRight
            maximumLineCount: 1
        }
        Text {
            width: parent.width
            text: row.detail
            font: Theme.font(9)
            color: Theme.secondaryInk
            elide: Text.ElideRight
        }
    }
    IconCircleButton {
        id: trash
        anchors.right: parent.right
        anchors.rightMargin: 4
        anchors.verticalCenter: parent.verticalCenter
        width: 32
        height: 32
        activeFocusOnTab: false
        icon: "trash"
        label: "删除这条记录"
        onClicked: row.removed()
    }
}
