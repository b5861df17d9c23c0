import QtQuick
import Wordlumen.Paint
import Wordlumen.App

// The control center: a sidebar of four sections and the chosen section's
// page, on paper like the card. The window has no frame of its own: its
// background moves it, and its own controls close and minimise it.
FocusScope {
    id: root

    required property ControlCenterModel model

    width: 640
    height: 502

    Accessible.role: Accessible.Pane
    Accessible.name: "Wordlumen 设置"

    Shortcut {
        sequence: "Ctrl+,"
        onActivated: {
            root.Window.window.raise()
            root.Window.window.requestActivate()
        }
    }

    // Below everything: a press on empty paper drags the window.
    MouseArea {
        anchors.fill: parent
        onPressed: root.Window.window.startSystemMove()
    }

    readonly property bool asking: deleteDialog.open || historyDialog.open

    Rectangle {
        id: sidebarBackground
        width: 205
        height: parent.height
        color: Theme.controlCenterSidebar
    }
    Rectangle {
        x: sidebarBackground.width - 1
        width: 1
        height: parent.height
        color: Theme.edge
    }
    Rectangle {
        id: pageArea
        x: sidebarBackground.width
        width: parent.width - x
        height: parent.height
        color: Theme.controlCenterPage
        PaperGrain {
            anchors.fill: parent
            cornerRadius: 0
            foldSize: 0
        }
    }

    Column {
        id: sidebar
        enabled: !root.asking
        x: 22
        y: 22
        width: sidebarBackground.width - 44
        spacing: 6

        Row {
            spacing: 10
            WordlumenLogoMark {
                anchors.verticalCenter: parent.verticalCenter
                width: 30
                height: 30
            }
            Column {
                anchors.verticalCenter: parent.verticalCenter
                spacing: 2
                Text {
                    text: "Wordlumen"
                    font: Theme.font(14, Font.DemiBold, 0, false)
                    color: Theme.ink
                }
                Text {
                    text: "Zintaro"
                    font: Theme.font(9, Font.Medium, 1.5, false)
                    color: Theme.secondaryInk
                }
            }
        }
        Item { width: 1; height: 16 }
        // The pages are tabs of one list, so a reader says 「1/4」 and so on.
        Column {
            width: parent.width
            spacing: 6
            Accessible.role: Accessible.PageTabList
            Accessible.name: "设置分区"
            SidebarRow {
                width: parent.width
                icon: "rectangle.on.rectangle"
                title: "浮动卡"
                detail: root.model.floating.sidebarDetail
                isActive: root.model.selection === ControlCenterModel.Floating
                onClicked: root.model.selection = ControlCenterModel.Floating
            }
            SidebarRow {
                width: parent.width
                icon: "text.book.closed"
                title: "本地词库"
                detail: root.model.vocabulary.sidebarDetail
                isActive: root.model.selection === ControlCenterModel.Scripts
                onClicked: root.model.selection = ControlCenterModel.Scripts
            }
            SidebarRow {
                width: parent.width
                icon: "bolt.horizontal.circle"
                title: "API 与口吻"
                detail: root.model.api.sidebarDetail
                isActive: root.model.selection === ControlCenterModel.Api
                onClicked: root.model.selection = ControlCenterModel.Api
            }
            SidebarRow {
                width: parent.width
                icon: "clock.arrow.circlepath"
                title: "历史与收藏"
                detail: root.model.history.sidebarDetail
                isActive: root.model.selection === ControlCenterModel.History
                onClicked: root.model.selection = ControlCenterModel.History
            }
        }
    }
    Column {
        x: 22
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 22
        width: sidebar.width
        spacing: 5
        Text {
            text: "当前解释口吻"
            font: Theme.mono(9, Font.DemiBold, 1.2)
            color: Theme.secondaryInk
        }
        Text {
            width: parent.width
            text: root.model.api.styleLine
            font: Theme.font(11.5, Font.DemiBold)
            color: Theme.ink
            elide: Text.ElideRight
        }
    }

    // The pages, cross-fading as the selection changes.
    Item {
        id: pages
        enabled: !root.asking
        x: pageArea.x
        width: pageArea.width
        height: parent.height

        FloatingPage {
            anchors.fill: parent
            page: root.model.floating
            opacity: root.model.selection === ControlCenterModel.Floating ? 1 : 0
            visible: enabled || opacity > 0
            enabled: root.model.selection === ControlCenterModel.Floating
            Behavior on opacity { NumberAnimation { duration: 140; easing.type: Easing.OutQuad } }
        }
        DropArea {
            id: packDrop
            anchors.fill: parent
            enabled: root.model.selection === ControlCenterModel.Scripts
            keys: ["text/uri-list"]
            onEntered: (drag) => drag.accepted = drag.hasUrls
                                 && root.model.vocabulary.acceptsDrop(drag.urls[0])
            onDropped: (drop) => {
                if (drop.hasUrls) {
                    root.model.vocabulary.importFile(drop.urls[0])
                    drop.acceptProposedAction()
                }
            }

            LazyPage {
                anchors.fill: parent
                chosen: root.model.selection === ControlCenterModel.Scripts
                pageSource: "VocabularyPage.qml"
                pageModel: root.model.vocabulary
            }
            Rectangle {
                anchors.fill: parent
                anchors.margins: 10
                radius: 12
                visible: packDrop.containsDrag
                color: Theme.alpha(Theme.accent, 0.06)
                border.width: 2
                border.color: Theme.alpha(Theme.accent, 0.6)
            }
        }
        LazyPage {
            anchors.fill: parent
            chosen: root.model.selection === ControlCenterModel.Api
            pageSource: "ApiPage.qml"
            pageModel: root.model.api
        }
        LazyPage {
            anchors.fill: parent
            chosen: root.model.selection === ControlCenterModel.History
            pageSource: "HistoryPage.qml"
            pageModel: root.model.history
        }
    }

    WindowControls {
        enabled: !root.asking
        anchors.top: parent.top
        anchors.topMargin: 6
        anchors.right: parent.right
        anchors.rightMargin: 8
    }

    ConfirmDialog {
        id: deleteDialog
        anchors.fill: parent
        open: root.model.vocabulary.confirmingDelete
        title: "删除这个补充包？"
        message: root.model.vocabulary.deleteMessage
        onConfirmed: root.model.vocabulary.confirmDelete()
        onCancelled: root.model.vocabulary.cancelDelete()
    }
    ConfirmDialog {
        id: historyDialog
        anchors.fill: parent
        open: root.model.history.confirming
        title: root.model.history.confirmTitle
        message: root.model.history.confirmMessage
        confirmTitle: root.model.history.confirmButton
        onConfirmed: root.model.history.confirm()
        onCancelled: root.model.history.cancelConfirmation()
    }
}
