import QtQuick
import Wordlumen.Paint

// A question inside the window, over a dimmed page: a title, a message and
// two buttons. Escape and "取消" cancel; the cancel button has the focus first,
// so Return alone never confirms a destructive action.
FocusScope {
    id: dialog

    required property bool open
    required property string title
    required property string message
    property string confirmTitle: "删除"
    property string cancelTitle: "取消"
    signal confirmed()
    signal cancelled()

    visible: opacity > 0
    opacity: open ? 1 : 0
    Behavior on opacity { NumberAnimation { duration: 120; easing.type: Easing.OutQuad } }
    z: 100

    onOpenChanged: if (open) cancelButton.forceActiveFocus(Qt.OtherFocusReason)
    Keys.onEscapePressed: dialog.cancelled()

    Accessible.role: Accessible.Dialog
    Accessible.name: title

    // Swallows every click and hover meant for the page behind.
    MouseArea {
        anchors.fill: parent
        hoverEnabled: true
        acceptedButtons: Qt.AllButtons
        onWheel: (wheel) => wheel.accepted = true
    }
    Rectangle {
        anchors.fill: parent
        color: Theme.alpha(Theme.dark ? Qt.rgba(0, 0, 0, 1) : Theme.ink, Theme.dark ? 0.5 : 0.22)
    }
    Item {
        id: sheet
        anchors.centerIn: parent
        width: 320
        height: content.implicitHeight + 40
        scale: dialog.open ? 1 : 0.97
        Behavior on scale { NumberAnimation { duration: 120; easing.type: Easing.OutQuad } }

        SoftShadow {
            shape: SoftShadow.FoldedCard
            cornerRadius: 14
            foldSize: 0
            blur: 18
            x: -spread
            y: -spread + 8
            width: sheet.width + 2 * spread
            height: sheet.height + 2 * spread
            opacity: Theme.dark ? 0.5 : 0.18
        }
        CardPaper {
            anchors.fill: parent
            cornerRadius: 14
            foldSize: 0
        }
        Column {
            id: content
            x: 20
            y: 20
            width: sheet.width - 40
            spacing: 10
            Text {
                width: parent.width
                text: dialog.title
                font: Theme.font(13.5, Font.DemiBold)
                color: Theme.ink
                wrapMode: Text.Wrap
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            Text {
                width: parent.width
                text: dialog.message
                font: Theme.font(11)
                lineHeight: 1.25
                color: Theme.controlInk
                wrapMode: Text.Wrap
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            Item { width: 1; height: 6 }
            Row {
                anchors.right: parent.right
                spacing: 10
                ControlCenterButton {
                    id: cancelButton
                    title: dialog.cancelTitle
                    isSecondary: true
                    onClicked: dialog.cancelled()
                }
                ControlCenterButton {
                    title: dialog.confirmTitle
                    onClicked: dialog.confirmed()
                }
            }
        }
    }
}
