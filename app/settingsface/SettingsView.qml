import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls
import Wordlumen.Card
import Wordlumen.App

// The card's settings face: the API key, endpoint and model, saved with the
// same logic as the control center's API page.
FocusScope {
    id: face

    required property CardViewModel viewModel
    property FloatingCardWindowController windowController: null

    SettingsFaceModel { id: model }

    // Once the face is in place: a focus given while it loads is lost.
    Timer {
        running: true
        interval: 0
        onTriggered: keyField.focusInput()
    }

    Item {
        anchors.fill: parent
        anchors.leftMargin: 22
        anchors.rightMargin: 22
        anchors.topMargin: 14
        anchors.bottomMargin: 12

        Item {
            id: header
            width: parent.width
            height: 36
            FaceTitle {
                anchors.verticalCenter: parent.verticalCenter
                text: "接上 API"
                font: Theme.font(10.5, Font.DemiBold, 1.4)
                windowController: face.windowController
            }
            IconCircleButton {
                anchors.right: parent.right
                anchors.rightMargin: -8
                anchors.verticalCenter: parent.verticalCenter
                icon: "xmark"
                label: "关闭设置"
                onClicked: face.viewModel.closeSettings()
            }
        }

        Column {
            anchors.top: header.bottom
            anchors.topMargin: 6
            width: parent.width
            spacing: 0

            Text {
                width: parent.width
                text: model.description
                wrapMode: Text.Wrap
                font: Theme.font(11.5)
                lineHeight: 1.12
                color: Theme.controlInk
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }

            Item { width: 1; height: 14 }

            Column {
                width: parent.width
                spacing: 13
                UnderlineField {
                    id: keyField
                    width: parent.width
                    title: "API KEY"
                    accessibleName: "API Key"
                    placeholder: "sk-…"
                    hidden: true
                    text: model.settings.apiKey
                    onEdited: (text) => model.settings.apiKey = text
                }
                UnderlineField {
                    width: parent.width
                    title: "接口地址"
                    placeholder: model.defaultEndpoint
                    text: model.settings.endpoint
                    onEdited: (text) => model.settings.endpoint = text
                }
                UnderlineField {
                    width: parent.width
                    title: "模型"
                    placeholder: model.defaultModel
                    text: model.settings.model
                    onEdited: (text) => model.settings.model = text
                }
            }

            Item { width: 1; height: 10; visible: status.visible }

            Row {
                id: status
                visible: model.settings.hasStatusMessage
                spacing: 7
                width: parent.width
                SymbolIcon {
                    anchors.verticalCenter: parent.verticalCenter
                    width: 12
                    height: 12
                    symbol: model.settings.didSave ? "checkmark.circle.fill"
                                                  : "exclamationmark.circle.fill"
                    color: model.settings.didSave ? Theme.controlInk : Theme.accentInk
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    width: parent.width - 19
                    text: model.settings.statusMessage
                    wrapMode: Text.Wrap
                    font: Theme.font(10.5, Font.Medium)
                    color: model.settings.didSave ? Theme.controlInk : Theme.accentInk
                    Accessible.role: Accessible.StatusBar
                    Accessible.name: text
                }
            }
        }

        Column {
            anchors.bottom: parent.bottom
            width: parent.width
            spacing: 6
            Rectangle {
                width: parent.width
                height: 1
                color: Theme.alpha(Theme.ink, 0.07)
            }
            Item {
                width: parent.width
                height: 34
                InlineAction {
                    anchors.verticalCenter: parent.verticalCenter
                    title: "清除 KEY"
                    onClicked: model.settings.clear()
                }
                SettingsSaveButton {
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    title: "保存设置"
                    // Spoken while the button keeps the keyboard after the press.
                    Accessible.description: model.settings.hasStatusMessage
                                            ? model.settings.statusMessage : ""
                    onClicked: model.settings.save()
                }
            }
        }
    }
}
