import QtQuick
import Wordlumen.Controls

// A page of the control center: its sections in a column that scrolls when
// they are taller than the window, keeping the focused control in view. The
// strip along the top stays free for the window's own controls; content
// scrolls away under its edge, never beneath the controls.
Item {
    id: page

    default property alias content: column.data

    readonly property real topStrip: 40

    function reveal(item: Item) {
        for (let up = item; up; up = up.parent) {
            if (up === column) {
                const top = item.mapToItem(column, 0, 0).y + column.y
                if (top < flick.contentY)
                    flick.contentY = Math.max(0, top - 12)
                else if (top + item.height > flick.contentY + flick.height)
                    flick.contentY = Math.min(flick.contentHeight - flick.height,
                                              top + item.height - flick.height + 12)
                return
            }
        }
    }

    Connections {
        target: page.Window.window
        function onActiveFocusItemChanged() {
            const item = page.Window.activeFocusItem
            if (item)
                page.reveal(item)
        }
    }

    Flickable {
        id: flick
        anchors.fill: parent
        anchors.topMargin: page.topStrip
        clip: true
        contentWidth: width
        contentHeight: column.implicitHeight + column.y + 24
        boundsBehavior: Flickable.StopAtBounds
        interactive: Scrolling.scrolls(contentHeight, height)

        Column {
            id: column
            x: 24
            y: 4
            width: flick.width - 48
            spacing: 14
        }
    }
    ScrollIndicator { flickable: flick }
}
