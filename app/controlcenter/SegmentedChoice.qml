pragma ComponentBehavior: Bound
import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls

// Segments side by side in a rounded container, one of them chosen; the
// chosen one is filled with the accent colour. Left and Right move the choice.
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
    activeFocusOnTab: true

    Accessible.role: Accessible.PageTabList
    Accessible.name: accessibleName
    Keys.onLeftPressed: if (currentIndex > 0) chosen(currentIndex - 1)
    Keys.onRightPressed: if (currentIndex < titles.length - 1) chosen(currentIndex + 1)

    Row {
        id: segments
        anchors.fill: parent
        anchors.margins: 3
        spacing: 3

        Repeater {
            model: choice.titles
            Rectangle {
                id: segment
                required property int index
                required property string modelData
                readonly property bool isCurrent: index === choice.currentIndex

                width: (segments.width - (choice.titles.length - 1) * segments.spacing)
                       / choice.titles.length
                height: segments.height
                radius: 7
                color: isCurrent ? Theme.accent
                                 : Theme.alpha(Theme.ink, segmentMouse.containsMouse ? 0.05 : 0)
                Behavior on color { ColorAnimation { duration: 120; easing.type: Easing.OutQuad } }

                Accessible.role: Accessible.PageTab
                Accessible.name: modelData
                Accessible.selected: isCurrent
                Accessible.onPressAction: choice.chosen(index)

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
                CardToolTip {
                    host: segment
                    text: choice.tooltips.length > segment.index ? choice.tooltips[segment.index]
                                                                 : ""
                    active: segmentMouse.containsMouse
                }
            }
        }
    }
    FocusRing { target: choice; radius_: 9 }
}
