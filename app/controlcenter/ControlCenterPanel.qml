import QtQuick
import Wordlumen.Paint

// A titled sheet of the page with its symbol; `showsFold` folds its top-right
// corner like the card's.
Item {
    id: panel

    required property string title
    required property string icon
    property bool showsFold: false
    default property alias content: body.data

    readonly property real foldSize: showsFold ? 28 : 0

    implicitHeight: body.implicitHeight + heading.height + 16 + 14 + 12

    CardPaper {
        anchors.fill: parent
        cornerRadius: 12
        foldSize: panel.foldSize
    }
    FoldCornerGraphic {
        visible: panel.showsFold
        anchors.top: parent.top
        anchors.right: parent.right
        width: panel.foldSize
        height: panel.foldSize
    }

    Row {
        id: heading
        x: 16
        y: 14
        height: 16
        spacing: 7
        SymbolIcon {
            anchors.verticalCenter: parent.verticalCenter
            width: 14
            height: 14
            symbol: panel.icon
            color: Theme.accent
            strokeWidth: 2.1
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: panel.title
            font: Theme.font(11.5, Font.DemiBold)
            color: Theme.ink
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
    }
    Column {
        id: body
        x: 16
        y: heading.y + heading.height + 12
        width: panel.width - 32
        spacing: 10
    }
}
