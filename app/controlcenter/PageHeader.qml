import QtQuick
import Wordlumen.Paint

// A page's title and subtitle, with its status badge at the trailing end.
Item {
    id: header

    required property string title
    required property string subtitle
    required property string badgeTitle
    required property bool badgeHealthy

    implicitHeight: Math.max(texts.implicitHeight, badge.implicitHeight)

    Column {
        id: texts
        anchors.left: parent.left
        anchors.right: badge.left
        anchors.rightMargin: 12
        spacing: 5
        Text {
            width: parent.width
            text: header.title
            font: Theme.serif(20, Font.DemiBold)
            color: Theme.ink
            elide: Text.ElideRight
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        Text {
            width: parent.width
            text: header.subtitle
            font: Theme.font(11)
            color: Theme.controlInk
            wrapMode: Text.Wrap
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }
    StatusBadge {
        id: badge
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.topMargin: 3
        title: header.badgeTitle
        isHealthy: header.badgeHealthy
    }
}
