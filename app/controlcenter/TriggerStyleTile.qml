import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls

// One trigger shape to choose: a miniature of the trigger, its name and a mark
// that shows whether it is the chosen one.
Item {
    id: tile

    /// "compact" or "wide".
    required property string style
    required property bool isSelected
    signal clicked()

    readonly property bool wide: style === "wide"
    readonly property string label: wide ? "完整" : "精简"

    implicitHeight: 104
    activeFocusOnTab: true

    Accessible.role: Accessible.RadioButton
    Accessible.name: "触发器：" + label
    Accessible.checkable: true
    Accessible.checked: isSelected
    Accessible.onPressAction: tile.clicked()
    Keys.onReturnPressed: tile.clicked()
    Keys.onEnterPressed: tile.clicked()
    Keys.onSpacePressed: tile.clicked()

    Rectangle {
        anchors.fill: parent
        radius: 10
        color: Theme.alpha(Theme.controlFill, mouse.containsMouse ? 1 : 0.7)
        border.width: tile.isSelected ? 1.5 : 1
        border.color: tile.isSelected ? Theme.alpha(Theme.accent, 0.8) : Theme.edge
    }

    // The miniature: the capsule at its real size, as the desktop shows it.
    Rectangle {
        id: capsule
        anchors.horizontalCenter: parent.horizontalCenter
        y: 16
        width: tile.wide ? 164 : 116
        height: tile.wide ? 44 : 36
        radius: height / 2
        color: Theme.paper
        border.width: 1
        border.color: Theme.edge
        scale: tile.wide ? Math.min(1, (tile.width - 24) / width) : 1

        Row {
            visible: !tile.wide
            anchors.centerIn: parent
            spacing: 8
            AccentDot {
                anchors.verticalCenter: parent.verticalCenter
                width: 7
                height: 7
                diameter: 7
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: "WORD"
                font: Theme.mono(10, Font.DemiBold, 1.2, false)
                color: Theme.ink
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: "/ 001"
                font: Theme.mono(9.5, Font.Medium, 0.9, false)
                color: Theme.secondaryInk
            }
        }
        Row {
            visible: tile.wide
            anchors.left: parent.left
            anchors.leftMargin: 9
            anchors.verticalCenter: parent.verticalCenter
            spacing: 8
            WordlumenLogoMark {
                anchors.verticalCenter: parent.verticalCenter
                width: 27
                height: 27
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: "Wordlumen"
                font: Theme.font(11.5, Font.DemiBold, 0, false)
                color: Theme.ink
            }
        }
    }
    Row {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 12
        spacing: 6
        SymbolIcon {
            anchors.verticalCenter: parent.verticalCenter
            width: 14
            height: 14
            symbol: tile.isSelected ? "checkmark.circle.fill" : "circle"
            color: tile.isSelected ? Theme.accent : Theme.secondaryInk
            strokeWidth: 2
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: tile.label
            font: Theme.font(10.5, Font.DemiBold)
            color: Theme.ink
        }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: tile.clicked()
    }
    FocusRing { target: tile; radius_: 10 }
}
