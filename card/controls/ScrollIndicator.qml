import QtQuick
import Wordlumen.Paint

// A thin scroll indicator for a Flickable, shown only while it can scroll
// (see Scrolling.scrolls), brighter while it moves.
Rectangle {
    id: indicator

    required property Flickable flickable

    objectName: "scrollBar"
    anchors.right: flickable.right
    width: 3
    radius: 1.5
    color: Theme.alpha(Theme.ink, 0.22)
    visible: flickable.interactive
    y: flickable.y + flickable.visibleArea.yPosition * flickable.height
    height: Math.max(12, flickable.visibleArea.heightRatio * flickable.height)
    opacity: flickable.moving ? 1 : 0.6
}
