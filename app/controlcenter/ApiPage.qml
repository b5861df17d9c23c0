import QtQuick
import Wordlumen.Paint
import Wordlumen.App

// The online service and the explanation style: endpoint, model and key
// (saved with "保存 API 设置"), then the audience, the custom perspective and
// the length, each stored as soon as it is chosen.
ControlCenterPage {
    id: apiPage

    required property ApiPageModel page

    PageHeader {
        width: parent.width
        title: "API 与解释方式"
        subtitle: "默认 DeepSeek，也可以换成兼容接口。"
        badgeTitle: apiPage.page.badgeTitle
        badgeHealthy: apiPage.page.connected
    }

    ControlCenterPanel {
        width: parent.width
        title: "API 服务"
        icon: "network"
        showsFold: true

        Text {
            width: parent.width
            text: "默认配置是 DeepSeek。也可填写支持 OpenAI Chat Completions 格式的接口地址、模型和对应 Key；API 同时负责未收录术语的解释与自然语言反查。"
            font: Theme.font(10.5)
            lineHeight: 1.2
            color: Theme.controlInk
            wrapMode: Text.Wrap
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
        Row {
            width: parent.width
            spacing: 10
            ControlCenterField {
                width: (parent.width - parent.spacing) * 0.62
                title: "接口地址"
                placeholder: apiPage.page.defaultEndpoint
                text: apiPage.page.settings.endpoint
                onEdited: (text) => apiPage.page.settings.endpoint = text
            }
            ControlCenterField {
                width: (parent.width - parent.spacing) * 0.38
                title: "模型"
                placeholder: apiPage.page.defaultModel
                text: apiPage.page.settings.model
                onEdited: (text) => apiPage.page.settings.model = text
            }
        }
        ControlCenterField {
            width: parent.width
            title: "API KEY"
            accessibleName: "API Key"
            placeholder: "sk-…"
            secure: true
            text: apiPage.page.settings.apiKey
            onEdited: (text) => apiPage.page.settings.apiKey = text
        }
        Item {
            width: parent.width
            height: Math.max(saveButton.height, status.implicitHeight)
            Row {
                id: status
                anchors.left: parent.left
                anchors.right: saveButton.left
                anchors.rightMargin: 12
                anchors.verticalCenter: parent.verticalCenter
                spacing: 6
                SymbolIcon {
                    visible: apiPage.page.settings.hasStatusMessage
                    anchors.verticalCenter: parent.verticalCenter
                    width: 13
                    height: 13
                    symbol: apiPage.page.settings.didSave ? "checkmark.circle.fill"
                                                          : "exclamationmark.circle.fill"
                    color: apiPage.page.settings.didSave ? Theme.controlInk : Theme.accentInk
                    strokeWidth: 2.1
                }
                Text {
                    width: parent.width - (apiPage.page.settings.hasStatusMessage ? 19 : 0)
                    anchors.verticalCenter: parent.verticalCenter
                    text: apiPage.page.settings.hasStatusMessage ? apiPage.page.settings.statusMessage
                                                                 : apiPage.page.keyNote
                    font: Theme.font(10, apiPage.page.settings.hasStatusMessage ? Font.Medium
                                                                                : Font.Normal)
                    color: apiPage.page.settings.hasStatusMessage && !apiPage.page.settings.didSave
                           ? Theme.accentInk : Theme.secondaryInk
                    wrapMode: Text.Wrap
                    Accessible.role: Accessible.StatusBar
                    Accessible.name: text
                }
            }
            ControlCenterButton {
                id: saveButton
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                title: "保存 API 设置"
                // Spoken while the button keeps the keyboard after the press.
                Accessible.description: apiPage.page.settings.hasStatusMessage
                                        ? apiPage.page.settings.statusMessage + " " + apiPage.page.badgeTitle
                                        : ""
                onClicked: apiPage.page.settings.save()
            }
        }
    }

    ControlCenterPanel {
        width: parent.width
        title: "结构化提示词"
        icon: "text.alignleft"

        Text {
            text: "解释视角"
            font: Theme.font(8.5, Font.DemiBold, 1.0)
            color: Theme.secondaryInk
        }
        SegmentedChoice {
            width: parent.width
            titles: apiPage.page.audienceTitles
            currentIndex: apiPage.page.audienceIndex
            accessibleName: "解释视角"
            onChosen: (index) => apiPage.page.audienceIndex = index
        }
        ControlCenterField {
            visible: apiPage.page.customAudience
            width: parent.width
            title: "自定义视角"
            placeholder: "例如：给完全不懂技术的餐饮店老板解释"
            text: apiPage.page.customPerspective
            onEdited: (text) => apiPage.page.customPerspective = text
        }
        Text {
            text: "回答长度"
            font: Theme.font(8.5, Font.DemiBold, 1.0)
            color: Theme.secondaryInk
        }
        LengthSelector {
            width: parent.width
            page: apiPage.page
        }
        Text {
            width: parent.width
            text: apiPage.page.audienceSummary
            font: Theme.font(11, Font.Medium)
            color: Theme.ink
            wrapMode: Text.Wrap
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
        Text {
            width: parent.width
            text: apiPage.page.lengthSummaryLine
            font: Theme.font(10)
            color: Theme.secondaryInk
            wrapMode: Text.Wrap
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }
}
