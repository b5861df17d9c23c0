pragma ComponentBehavior: Bound
import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls
import Wordlumen.Card

// The input face: type a term or describe one, press Return, the card turns over.
FocusScope {
    id: face

    required property CardViewModel viewModel
    property FloatingCardWindowController windowController: null
    /// Asks for the input's focus (the card calls it when this face comes to the front).
    function focusInput() { focusDelay.restart() }

    readonly property var examples: [
        { term: "context", meaning: "上下文", help: "上下文：AI 当前能够记住和参考的内容范围" },
        { term: "RAG", meaning: "检索增强", help: "检索增强：先查可信资料，再根据资料生成回答" },
        { term: "LoRA", meaning: "轻量微调", help: "轻量微调：用较小训练包让模型学会特定风格或角色" }
    ]

    Timer {
        id: focusDelay
        interval: 160
        // Not when the settings face opened meanwhile: the keyboard stays there.
        onTriggered: if (face.visible && face.enabled) input.forceActiveFocus()
    }

    Item {
        id: content
        anchors.fill: parent
        anchors.leftMargin: 22
        anchors.rightMargin: 22
        anchors.topMargin: 18
        anchors.bottomMargin: 18

        Item {
            id: header
            width: parent.width
            height: 36

            FaceTitle {
                anchors.verticalCenter: parent.verticalCenter
                text: "WORDLUMEN · 001"
                windowController: face.windowController
            }
            Row {
                anchors.right: parent.right
                anchors.rightMargin: 24 // the fold corner's room
                anchors.verticalCenter: parent.verticalCenter
                IconCircleButton {
                    icon: "gearshape"
                    label: "API 设置"
                    onClicked: face.viewModel.openSettings()
                }
                IconCircleButton {
                    icon: "chevron.down"
                    label: "收起"
                    onClicked: face.viewModel.collapse()
                }
            }
            // On the face's corner, but the header's last control on screen:
            // declared here, so Tab reaches it in that order.
            FoldCorner {
                x: parent.width + content.anchors.rightMargin - width
                y: -content.anchors.topMargin
                label: "翻成白话"
                onClicked: face.viewModel.explain()
            }
        }

        Column {
            anchors.top: header.bottom
            anchors.topMargin: 18
            width: parent.width
            spacing: 0

            CardSectionLabel { text: "01 · 黑话" }

            Item { width: 1; height: 12 }

            TextInput {
                id: input
                width: parent.width
                text: face.viewModel.query
                onTextEdited: face.viewModel.query = text
                onAccepted: face.viewModel.explain()
                // In the empty input, Up and Down walk the recent queries.
                Keys.onUpPressed: (event) => {
                    event.accepted = face.viewModel.recallOlder()
                    if (event.accepted)
                        cursorPosition = text.length
                }
                Keys.onDownPressed: (event) => {
                    event.accepted = face.viewModel.recallNewer()
                    if (event.accepted)
                        cursorPosition = text.length
                }
                font: Theme.font(18, Font.Medium)
                color: Theme.ink
                selectionColor: Theme.alpha(Theme.accent, 0.3)
                selectedTextColor: Theme.ink
                clip: true
                focus: true
                activeFocusOnTab: true
                Accessible.role: Accessible.EditableText
                Accessible.name: "要解释的词"
                Accessible.description: "输入黑话，或描述你想找的词，回车翻转"

                Text {
                    anchors.fill: parent
                    visible: input.text.length === 0 && input.preeditText.length === 0
                    text: "输入黑话，或描述你想找的词…"
                    font: input.font
                    color: Theme.alpha(Theme.secondaryInk, 0.75)
                    elide: Text.ElideRight
                }
            }

            Item { width: 1; height: 8 }

            Rectangle {
                width: parent.width
                height: 1
                color: input.activeFocus ? Theme.alpha(Theme.accent, 0.72)
                                         : Theme.alpha(Theme.ink, 0.14)
            }

            Item { width: 1; height: 14 }

            Row {
                spacing: 8
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: "↩ 回车翻转 · 支持反查"
                    font: Theme.mono(10, Font.Medium)
                    color: Theme.secondaryInk
                    Accessible.role: Accessible.StaticText
                    Accessible.name: "回车翻转 · 支持反查"
                }
                Repeater {
                    model: face.examples
                    ExampleChip {
                        required property var modelData
                        term: modelData.term
                        meaning: modelData.meaning
                        help: modelData.help
                        onClicked: {
                            face.viewModel.query = term
                            face.viewModel.explain()
                        }
                    }
                }
            }

            Item { width: 1; height: 12; visible: error.visible }

            Text {
                id: error
                width: parent.width
                visible: face.viewModel.errorMessage.length > 0
                text: face.viewModel.errorMessage
                wrapMode: Text.Wrap
                font: Theme.font(11)
                color: Theme.accentInk
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }

        Column {
            id: footer
            anchors.bottom: parent.bottom
            width: parent.width
            spacing: 4

            Rectangle {
                width: parent.width
                height: 1
                color: Theme.alpha(Theme.ink, 0.07)
            }
            Item {
                width: parent.width
                height: 34
                Row {
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: 7
                    Rectangle {
                        anchors.verticalCenter: parent.verticalCenter
                        width: 5
                        height: 5
                        radius: 2.5
                        color: face.viewModel.hasAPIKey ? Theme.accent
                                                        : Theme.alpha(Theme.secondaryInk, 0.45)
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: face.viewModel.sourcesLine
                        font: Theme.mono(9.5, Font.Medium, 0.5)
                        color: Theme.secondaryInk
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                    }
                }
                InlineAction {
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    title: "翻转"
                    systemImage: "arrow.up.right"
                    iconTrailing: true
                    onClicked: face.viewModel.explain()
                }
            }
        }
    }
}
