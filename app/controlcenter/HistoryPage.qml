pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Dialogs
import Wordlumen.Paint
import Wordlumen.Controls
import Wordlumen.App

// What was looked up: the entries newest first with a search and a starred
// filter, each opened on the card, starred or deleted; whether lookups are
// recorded and how many are kept; clearing; and the exports.
ControlCenterPage {
    id: historyPage

    required property HistoryPageModel page

    function chooseExportFile() {
        saver.selectedFile = historyPage.page.exportSuggestion
        saver.open()
    }

    FileDialog {
        id: saver
        title: "导出查询历史"
        fileMode: FileDialog.SaveFile
        // Found only once the page is in its window, so named explicitly.
        parentWindow: historyPage.Window.window
        currentFolder: historyPage.page.exportFolder
        nameFilters: historyPage.page.exportNameFilters
        onAccepted: historyPage.page.exportTo(selectedFile)
    }

    PageHeader {
        width: parent.width
        title: "历史与收藏"
        subtitle: "查过的词都记在这里：搜一搜，收藏常用的，或导出成补充包和 Anki 卡片。"
        badgeTitle: historyPage.page.badgeTitle
        badgeHealthy: historyPage.page.badgeHealthy
    }

    ControlCenterPanel {
        width: parent.width
        title: "查询记录"
        icon: "clock.arrow.circlepath"

        Row {
            width: parent.width
            spacing: 8
            Rectangle {
                id: searchBox
                width: parent.width - starredChip.width - parent.spacing
                height: 30
                radius: 7
                color: Theme.alpha(Theme.controlFill, 0.7)
                border.width: 1
                border.color: search.activeFocus ? Theme.alpha(Theme.accent, 0.75) : Theme.edge
                SymbolIcon {
                    id: magnifier
                    x: 9
                    anchors.verticalCenter: parent.verticalCenter
                    width: 13
                    height: 13
                    symbol: "magnifyingglass"
                    color: Theme.secondaryInk
                    strokeWidth: 2.1
                }
                TextInput {
                    id: search
                    objectName: "historySearch"
                    anchors.fill: parent
                    anchors.leftMargin: magnifier.x + magnifier.width + 7
                    anchors.rightMargin: 9
                    verticalAlignment: TextInput.AlignVCenter
                    text: historyPage.page.searchText
                    font: Theme.font(11)
                    color: Theme.ink
                    selectByMouse: true
                    selectionColor: Theme.alpha(Theme.accent, 0.3)
                    selectedTextColor: Theme.ink
                    clip: true
                    activeFocusOnTab: true
                    onTextEdited: historyPage.page.searchText = text
                    Keys.onEscapePressed: (event) => {
                        event.accepted = text.length > 0
                        historyPage.page.searchText = ""
                    }
                    Keys.onDownPressed: list.forceActiveFocus(Qt.TabFocusReason)
                    Accessible.role: Accessible.EditableText
                    Accessible.name: "搜索查询记录"
                    Accessible.description: "术语或解释里的任意中文或英文"

                    Text {
                        anchors.fill: parent
                        verticalAlignment: Text.AlignVCenter
                        visible: search.text.length === 0 && search.preeditText.length === 0
                        text: "搜索术语或解释…"
                        font: search.font
                        color: Theme.alpha(Theme.secondaryInk, 0.8)
                        elide: Text.ElideRight
                    }
                }
            }
            FilterChip {
                id: starredChip
                title: "只看收藏"
                icon: "star"
                checked: historyPage.page.starredOnly
                onToggled: (checked) => historyPage.page.starredOnly = checked
            }
        }

        Rectangle {
            width: parent.width
            height: 5 * 58 + 6
            radius: 8
            color: Theme.alpha(Theme.ink, 0.025)

            ListView {
                id: list
                objectName: "historyList"
                anchors.fill: parent
                anchors.topMargin: 3
                anchors.bottomMargin: 3
                clip: true
                model: historyPage.page.entries
                boundsBehavior: Flickable.StopAtBounds
                activeFocusOnTab: true
                keyNavigationEnabled: true
                highlightMoveDuration: 0
                // The newest row is the current one once rows arrive, so the
                // first Down goes to the second.
                onCountChanged: {
                    if (currentIndex < 0 && count > 0)
                        currentIndex = 0
                }
                interactive: Scrolling.scrolls(contentHeight, height)

                Accessible.role: Accessible.List
                Accessible.name: "查询记录"
                Accessible.description: "上下键选择，回车在浮动卡上打开，Delete 删除，Ctrl+D 收藏或取消收藏"

                Keys.onReturnPressed: historyPage.page.open(currentIndex)
                Keys.onEnterPressed: historyPage.page.open(currentIndex)
                Keys.onSpacePressed: historyPage.page.open(currentIndex)
                Keys.onDeletePressed: historyPage.page.remove(currentIndex)
                Keys.onPressed: (event) => {
                    if (event.key === Qt.Key_D && (event.modifiers & Qt.ControlModifier)) {
                        historyPage.page.toggleStar(list.currentIndex)
                        event.accepted = true
                    }
                }

                delegate: HistoryRow {
                    required property int index
                    width: list.width
                    isCurrent: ListView.isCurrentItem
                    // The current row holds the keyboard inside the list, so a
                    // screen reader speaks each row the arrows reach (Qt 6.4
                    // reports no change of the selected row). The list's keys
                    // still act: the row leaves them to it.
                    focus: ListView.isCurrentItem
                    showsFocus: list.activeFocus
                    onOpened: {
                        list.currentIndex = index
                        historyPage.page.open(index)
                    }
                    onStarToggled: historyPage.page.toggleStar(index)
                    onRemoved: historyPage.page.remove(index)
                }
            }
            ScrollIndicator { flickable: list }
            FocusRing { target: list; radius_: 8; outset: 0 }

            Text {
                objectName: "historyEmpty"
                anchors.centerIn: parent
                width: parent.width - 48
                visible: historyPage.page.isEmpty
                text: historyPage.page.emptyText
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                font: Theme.font(10.5)
                lineHeight: 1.2
                color: Theme.secondaryInk
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
        Text {
            visible: text.length > 0
            width: parent.width
            text: historyPage.page.statusLine
            font: Theme.font(10, Font.Medium)
            lineHeight: 1.2
            color: Theme.accentInk
            wrapMode: Text.Wrap
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }

    ControlCenterPanel {
        width: parent.width
        title: "记录设置"
        icon: "switch.2"

        Row {
            spacing: 10
            PackSwitch {
                anchors.verticalCenter: parent.verticalCenter
                checked: historyPage.page.recordingEnabled
                tooltip: historyPage.page.recordingEnabled ? "暂停记录" : "开始记录"
                accessibleName: "记录查询历史"
                onToggled: (checked) => historyPage.page.recordingEnabled = checked
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: "记录查询历史"
                font: Theme.font(11.5, Font.DemiBold)
                color: Theme.ink
            }
        }
        Text {
            width: parent.width
            text: historyPage.page.recordingNote
            font: Theme.font(10.5)
            lineHeight: 1.2
            color: historyPage.page.recordingEnabled ? Theme.controlInk : Theme.accentInk
            wrapMode: Text.Wrap
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
        Text {
            text: "最多保留"
            font: Theme.font(8.5, Font.DemiBold, 1.0)
            color: Theme.secondaryInk
        }
        SegmentedChoice {
            width: parent.width
            titles: historyPage.page.limitTitles
            currentIndex: historyPage.page.limitIndex
            accessibleName: "最多保留的记录数"
            onChosen: (index) => historyPage.page.chooseLimit(index)
        }
        Text {
            width: parent.width
            text: "超出上限时，先移除最久没查过的记录；收藏的词永远保留。"
            font: Theme.font(10)
            lineHeight: 1.2
            color: Theme.secondaryInk
            wrapMode: Text.Wrap
        }
        ControlCenterButton {
            title: "清空历史…"
            isSecondary: true
            destructive: true
            onClicked: historyPage.page.requestClear()
        }
    }

    ControlCenterPanel {
        width: parent.width
        title: "导出"
        icon: "square.and.arrow.up"

        SegmentedChoice {
            width: parent.width
            titles: historyPage.page.exportFormatTitles
            currentIndex: historyPage.page.exportFormatIndex
            accessibleName: "导出格式"
            onChosen: (index) => historyPage.page.exportFormatIndex = index
        }
        SegmentedChoice {
            width: parent.width
            titles: ["只导出收藏", "全部记录"]
            currentIndex: historyPage.page.exportStarredOnly ? 0 : 1
            accessibleName: "导出范围"
            onChosen: (index) => historyPage.page.exportStarredOnly = index === 0
        }
        Text {
            width: parent.width
            text: historyPage.page.exportNote
            font: Theme.font(10)
            lineHeight: 1.2
            color: Theme.secondaryInk
            wrapMode: Text.Wrap
        }
        ControlCenterButton {
            title: "导出…"
            onClicked: historyPage.chooseExportFile()
        }
        Text {
            visible: text.length > 0
            width: parent.width
            text: historyPage.page.exportStatus
            font: Theme.font(10, Font.Medium)
            lineHeight: 1.2
            color: Theme.accentInk
            wrapMode: Text.Wrap
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }
}
