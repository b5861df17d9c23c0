import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls
import Wordlumen.Card

// The collapsed card: a capsule in the middle of the panel. The whole panel
// is the hit area; a click opens the card and a drag moves the panel. From the
// keyboard it is one button: Return, Enter or Space opens the card.
Item {
    id: trigger

    property FloatingCardWindowController windowController: null
    readonly property string style: windowController ? windowController.triggerStyle : "compact"
    signal activated()

    readonly property bool wide: style === "wide"
    readonly property bool hovered: area.hovered
    readonly property bool pressed: area.pressed
    readonly property size capsuleSize: windowController ? windowController.capsuleSize
                                                         : (wide ? Qt.size(164, 44) : Qt.size(116, 36))

    // Shadow of the capsule by style: opacity light/dark, blur resting/hovering, drop.
    readonly property real shadowOpacity: wide ? (Theme.dark ? 0.34 : 0.15)
                                               : (Theme.dark ? 0.26 : 0.10)
    readonly property real restBlur: wide ? 9 : 7
    readonly property real hoverBlur: wide ? 13 : 10
    readonly property real shadowDrop: wide ? 5 : 3

    // 0 at rest, 1 while hovering (0.12 s ease-out); the press look eases in 0.08 s.
    property real hoverAmount: hovered && !pressed ? 1 : 0
    Behavior on hoverAmount { NumberAnimation { duration: 120; easing.type: Easing.OutQuad } }

    activeFocusOnTab: true
    Keys.onReturnPressed: trigger.activated()
    Keys.onEnterPressed: trigger.activated()
    Keys.onSpacePressed: trigger.activated()
    Accessible.role: Accessible.Button
    Accessible.name: "展开 Wordlumen；可拖动摆放"
    Accessible.focusable: true
    Accessible.onPressAction: trigger.activated()

    TriggerInteractionArea {
        id: area
        anchors.fill: parent
        controller: trigger.windowController
        onActivated: trigger.activated()
    }

    Item {
        id: capsule
        width: trigger.capsuleSize.width
        height: trigger.capsuleSize.height
        anchors.centerIn: parent
        anchors.verticalCenterOffset: -trigger.hoverAmount
        scale: trigger.pressed ? 0.985 : 1
        Behavior on scale { NumberAnimation { duration: 80; easing.type: Easing.OutQuad } }

        SoftShadow {
            id: restShadow
            shape: SoftShadow.Capsule
            blur: trigger.restBlur
            x: -spread
            y: -spread + trigger.shadowDrop
            width: capsule.width + 2 * spread
            height: capsule.height + 2 * spread
            opacity: trigger.shadowOpacity * (1 - trigger.hoverAmount)
        }
        SoftShadow {
            shape: SoftShadow.Capsule
            blur: trigger.hoverBlur
            x: -spread
            y: -spread + trigger.shadowDrop
            width: capsule.width + 2 * spread
            height: capsule.height + 2 * spread
            opacity: trigger.shadowOpacity * trigger.hoverAmount
        }
        // The whole collapsed panel is the trigger's to click.
        ShapeMask {
            anchors.fill: parent
            shape: ShapeMask.Capsule
            inputCoversWindow: true
            blursBehind: true
        }
        FocusRing {
            target: capsule
            radius_: capsule.height / 2
            visible: trigger.activeFocus && Theme.keyboardNavigation
        }
        Rectangle {
            anchors.fill: parent
            radius: height / 2
            color: Theme.triggerFill
            border.width: 1
            border.color: Theme.edge
        }

        Row {
            visible: !trigger.wide
            anchors.centerIn: parent
            spacing: 8
            Item {
                anchors.verticalCenter: parent.verticalCenter
                width: 7
                height: 7
                // Room for the hover glow around the 7-point dot.
                AccentDot {
                    anchors.centerIn: parent
                    width: 23
                    height: 23
                    diameter: 7
                    glow: trigger.hoverAmount
                }
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

        Item {
            visible: trigger.wide
            anchors.fill: parent
            anchors.leftMargin: 9
            anchors.rightMargin: 12
            WordlumenLogoMark {
                id: logo
                anchors.verticalCenter: parent.verticalCenter
                width: 27
                height: 27
            }
            Text {
                anchors.left: logo.right
                anchors.leftMargin: 8
                anchors.verticalCenter: parent.verticalCenter
                text: "Wordlumen"
                font: Theme.font(11.5, Font.DemiBold, 0, false)
                color: Theme.ink
            }
            SymbolIcon {
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                width: 10
                height: 10
                symbol: "chevron.left"
                color: Theme.secondaryInk
                strokeWidth: 3
            }
        }
    }
}
