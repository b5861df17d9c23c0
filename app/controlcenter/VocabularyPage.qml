pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Dialogs
import Wordlumen.Paint
import Wordlumen.App

// The local vocabulary: the built-in dictionary, the supplement packs (import
// by the picker or by dropping a file here, switch, delete), the packs that
// ship with the program (added with one click, then listed with the others)
// and the order in which answers are looked for.
ControlCenterPage {
    id: vocabularyPage

    required property VocabularyPageModel page

    function chooseFile() { picker.open() }

    FileDialog {
        id: picker
        title: "导入补充包"
        fileMode: FileDialog.OpenFile
        // Found only once the page is in its window, so named explicitly.
        parentWindow: vocabularyPage.Window.window
        currentFolder: vocabularyPage.page.pickerStartFolder
        nameFilters: ["补充包 (*.md *.markdown *.txt)"]
        onAccepted: vocabularyPage.page.importFile(selectedFile)
    }

    PageHeader {
        width: parent.width
        title: "本地词库"
        subtitle: "内置内容开箱即用，也能装入任意行业的离线补充包。"
        badgeTitle: vocabularyPage.page.badgeTitle
        badgeHealthy: vocabularyPage.page.badgeHealthy
    }

    ControlCenterPanel {
        width: parent.width
        title: "内置词典"
        icon: "text.book.closed"

        Row {
            spacing: 10
            Text {
                anchors.bottom: parent.bottom
                text: vocabularyPage.page.builtInCount
                font: Theme.serif(28, Font.DemiBold)
                color: Theme.ink
            }
            Text {
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 5
                text: "条生活化双语解释"
                font: Theme.font(11.5, Font.Medium)
                color: Theme.controlInk
            }
            Rectangle {
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 4
                width: tag.implicitWidth + 12
                height: 18
                radius: 9
                color: Theme.alpha(Theme.accent, 0.12)
                Text {
                    id: tag
                    anchors.centerIn: parent
                    text: "离线可用"
                    font: Theme.font(9, Font.DemiBold)
                    color: Theme.accentInk
                }
            }
        }
        Text {
            width: parent.width
            text: "中文、英文、缩写和中英混写会命中同一条解释；它们不会被自定义编辑误改。"
            font: Theme.font(10.5)
            lineHeight: 1.2
            color: Theme.controlInk
            wrapMode: Text.Wrap
        }
        Flow {
            width: parent.width
            spacing: 8
            ScriptExample { text: "RAG检索增强" }
            ScriptExample { text: "Loop / 闭环" }
            ScriptExample { text: "上下文 / context" }
        }
    }

    ControlCenterPanel {
        width: parent.width
        title: "行业补充包 · 完全本地"
        icon: "shippingbox"

        Text {
            width: parent.width
            text: "用任意 AI 生成 MD/TXT 文件，再装进这里。导入、保存和查询都在本机完成，不需要 API。"
            font: Theme.font(10.5)
            lineHeight: 1.2
            color: Theme.controlInk
            wrapMode: Text.Wrap
        }
        Row {
            spacing: 10
            ControlCenterButton {
                title: "导入补充包"
                onClicked: vocabularyPage.chooseFile()
            }
            ControlCenterButton {
                title: vocabularyPage.page.copyPromptTitle
                isSecondary: true
                onClicked: vocabularyPage.page.copyPackagePrompt()
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: "支持 .md / .txt"
                font: Theme.font(9.5)
                color: Theme.secondaryInk
            }
        }

        Rectangle {
            visible: vocabularyPage.page.hasPacks
            width: parent.width
            height: packList.implicitHeight
            radius: 8
            color: Theme.alpha(Theme.ink, 0.025)
            Column {
                id: packList
                width: parent.width
                Repeater {
                    model: vocabularyPage.page.packs
                    Column {
                        id: packItem
                        required property int index
                        required property string name
                        required property string detail
                        required property bool packEnabled
                        required property string toggleTooltip
                        width: packList.width
                        Rectangle {
                            visible: packItem.index > 0
                            width: parent.width - 24
                            x: 12
                            height: 1
                            color: Theme.alpha(Theme.ink, 0.06)
                        }
                        GlossaryPackRow {
                            width: parent.width
                            name: packItem.name
                            detail: packItem.detail
                            packEnabled: packItem.packEnabled
                            toggleTooltip: packItem.toggleTooltip
                            onToggled: (enabled) => vocabularyPage.page.setPackEnabled(packItem.index,
                                                                                     enabled)
                            onDeleteRequested: vocabularyPage.page.requestDelete(packItem.index)
                        }
                    }
                }
            }
        }
        Row {
            visible: !vocabularyPage.page.hasPacks
            width: parent.width
            spacing: 8
            SymbolIcon {
                width: 14
                height: 14
                symbol: "arrow.down.doc"
                color: Theme.secondaryInk
                strokeWidth: 2
            }
            Text {
                width: parent.width - 22
                text: "提示词会先询问 4 项信息，再优先交付可下载的 TXT；不支持文件时会教你保存。"
                font: Theme.font(10)
                lineHeight: 1.2
                color: Theme.secondaryInk
                wrapMode: Text.Wrap
            }
        }
        Text {
            visible: text.length > 0
            width: parent.width
            text: vocabularyPage.page.statusLine
            font: Theme.font(10, Font.Medium)
            lineHeight: 1.2
            color: Theme.accentInk
            wrapMode: Text.Wrap
            // The page's result line: a reader's "read the status bar" finds it.
            Accessible.role: Accessible.StatusBar
            Accessible.name: text
        }
    }

    ControlCenterPanel {
        visible: vocabularyPage.page.bundledPacks.count > 0
        width: parent.width
        title: "推荐词库"
        icon: "books.vertical"

        Text {
            width: parent.width
            text: "随 Wordlumen 附带的离线词库，按行业整理好了。添加后出现在上面的补充包里，和导入的一样可以停用或删除。"
            font: Theme.font(10.5)
            lineHeight: 1.2
            color: Theme.controlInk
            wrapMode: Text.Wrap
        }
        Rectangle {
            width: parent.width
            height: bundledList.implicitHeight
            radius: 8
            color: Theme.alpha(Theme.ink, 0.025)
            Column {
                id: bundledList
                width: parent.width
                Repeater {
                    model: vocabularyPage.page.bundledPacks
                    Column {
                        id: bundledItem
                        required property int index
                        required property string name
                        required property string detail
                        required property string addedState
                        required property bool added
                        required property string actionTitle
                        required property string actionAccessibleName
                        width: bundledList.width
                        Rectangle {
                            visible: bundledItem.index > 0
                            width: parent.width - 24
                            x: 12
                            height: 1
                            color: Theme.alpha(Theme.ink, 0.06)
                        }
                        BundledPackRow {
                            width: parent.width
                            name: bundledItem.name
                            detail: bundledItem.detail
                            addedState: bundledItem.addedState
                            added: bundledItem.added
                            actionTitle: bundledItem.actionTitle
                            actionAccessibleName: bundledItem.actionAccessibleName
                            onAddRequested: vocabularyPage.page.addBundledPack(bundledItem.index)
                        }
                    }
                }
            }
        }
    }

    ControlCenterPanel {
        width: parent.width
        title: "解释与反查顺序"
        icon: "arrow.triangle.branch"

        Text {
            width: parent.width
            text: "已启用补充包  →  内置 " + vocabularyPage.page.builtInCount + " 条  →  可选 API"
            font: Theme.font(11, Font.Medium)
            color: Theme.ink
            wrapMode: Text.Wrap
            Accessible.role: Accessible.StaticText
            Accessible.name: "先查已启用的补充包，再查内置 " + vocabularyPage.page.builtInCount
                             + " 条词典，最后才用可选的 API"
        }
        Text {
            width: parent.width
            text: "补充包无需 API。只有本地未命中或使用自然语言反查时，才会请求你配置的在线服务。"
            font: Theme.font(10.5)
            lineHeight: 1.2
            color: Theme.controlInk
            wrapMode: Text.Wrap
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }
}
