pragma ComponentBehavior: Bound
import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls

// Segments side by side in a rounded container, one of them chosen; the
// chosen one is filled with the accent colour. For the keyboard and a screen
// reader it is a group of radio buttons: Tab reaches the chosen one, the
// arrow keys choose the one beside it and take the keyboard along, so the
// reader speaks the option that is now checked.
Rectangle {
    id: choice

    /// The segments' titles (a list of strings).
    required property var titles
    /// Tooltips of the segments, by index (may be empty).
    property var tooltips: []
    required property int currentIndex
    property string accessibleName
    signal chosen(int index)
    signal hovered(int index)
    signal unhovered(int index)

    implicitHeight: 32
    radius: 9
    color: Theme.alpha(Theme.controlFill, 0.8)
    border.width: 1
    border.color: Theme.edge

    Accessible.role: Accessible.Grouping
    Accessible.name: accessibleName

    function choose(index) {
        if (index < 0 || index >= titles.length)
            return
        // The keyboard first: the option it leaves stops taking Tab once
        // it is no longer the chosen one.
        segmentRepeater.itemAt(index).forceActiveFocus()
        chosen(index)
    }

    Row {
        id: segments
        anchors.fill: parent
        anchors.margins: 3
        spacing: 3

        Repeater {
            id: segmentRepeater
            model: choice.titles
            Rectangle {
                id: segment
                required property int index
                required property string modelData
                readonly property bool isCurrent: index === choice.currentIndex
                readonly property string title: modelData

                width: (segments.width - (choice.titles.length - 1) * segments.spacing)
                       / choice.titles.length
                height: segments.height
                radius: 7
                color: isCurrent ? Theme.accent
                                 : Theme.alpha(Theme.ink, segmentMouse.containsMouse ? 0.05 : 0)
                Behavior on color { ColorAnimation { duration: 120; easing.type: Easing.OutQuad } }

                activeFocusOnTab: isCurrent
                Accessible.role: Accessible.RadioButton
                Accessible.name: modelData
                Accessible.description: choice.tooltips.length > index ? choice.tooltips[index] : ""
                Accessible.checkable: true
                Accessible.checked: isCurrent
                Accessible.onPressAction: choice.choose(index)
                Keys.onLeftPressed: choice.choose(index - 1)
                Keys.onUpPressed: choice.choose(index - 1)
                Keys.onRightPressed: choice.choose(index + 1)
                Keys.onDownPressed: choice.choose(index + 1)
                Keys.onSpacePressed: choice.choose(index)

                Text {
                    anchors.centerIn: parent
                    text: segment.modelData
                    font: Theme.font(11, segment.isCurrent ? Font.DemiBold : Font.Medium)
                    color: segment.isCurrent ? Qt.rgba(1, 1, 1, 0.96) : Theme.controlInk
                }
                MouseArea {
                    id: segmentMouse
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: choice.chosen(segment.index)
                    onContainsMouseChanged: containsMouse ? choice.hovered(segment.index)
                                                          : choice.unhovered(segment.index)
                }
                // Inside the container's edge, which is 3 points away.
                FocusRing { target: segment; radius_: 7; outset: 2 }
                CardToolTip {
                    host: segment
                    text: choice.tooltips.length > segment.index ? choice.tooltips[segment.index]
                                                                 : ""
                    active: segmentMouse.containsMouse
                }
            }
        }
    }

}
