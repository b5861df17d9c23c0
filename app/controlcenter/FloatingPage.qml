import QtQuick
import Wordlumen.Paint
import Wordlumen.App

// The floating card's page: the trigger's shape, its place and whether it
// shows; then the global shortcut and the start at login.
ControlCenterPage {
    id: floatingPage

    required property FloatingPageModel page

    PageHeader {
        width: parent.width
        title: "浮动卡"
        subtitle: "选择触发器外形，并管理它在桌面上的位置。"
        badgeTitle: floatingPage.page.badgeTitle
        badgeHealthy: floatingPage.page.cardVisible
    }

    ControlCenterPanel {
        width: parent.width
        title: "触发器形态"
        icon: "switch.2"

        Row {
            width: parent.width
            spacing: 12
            TriggerStyleTile {
                width: (parent.width - parent.spacing) / 2
                style: "compact"
                isSelected: floatingPage.page.triggerStyle === style
                onClicked: floatingPage.page.triggerStyle = style
            }
            TriggerStyleTile {
                width: (parent.width - parent.spacing) / 2
                style: "wide"
                isSelected: floatingPage.page.triggerStyle === style
                onClicked: floatingPage.page.triggerStyle = style
            }
        }
        Text {
            width: parent.width
            text: "精简形是更小、更扁的“状态胶囊”；完整形显示 Logo 与“Wordlumen”。切换会立即作用到桌面浮卡。"
            font: Theme.font(10.5)
            lineHeight: 1.25
            color: Theme.controlInk
            wrapMode: Text.Wrap
        }
    }

    ControlCenterPanel {
        width: parent.width
        title: "位置与显示"
        icon: "macwindow"

        Text {
            width: parent.width
            text: "默认右下角。拖动触发器或展开卡片的标题都能移动；位置会自动记住。"
            font: Theme.font(11.5)
            lineHeight: 1.2
            color: Theme.ink
            wrapMode: Text.Wrap
        }
        Text {
            width: parent.width
            text: "遇到不懂的词随时召唤，不用另开 Chat，也不会把干活的主对话越问越长。"
            font: Theme.font(10.5)
            lineHeight: 1.2
            color: Theme.controlInk
            wrapMode: Text.Wrap
        }
        Row {
            spacing: 10
            ControlCenterButton {
                title: floatingPage.page.visibilityActionTitle
                onClicked: floatingPage.page.toggleVisibility()
            }
            ControlCenterButton {
                title: "回到右下角"
                isSecondary: true
                onClicked: floatingPage.page.resetPosition()
            }
        }
    }

    ShortcutPanel {
        width: parent.width
        shortcut: floatingPage.page.shortcut
        autostart: floatingPage.page.autostart
        // The entry may have been changed by the desktop's own settings meanwhile.
        onVisibleChanged: if (visible && autostart) autostart.refresh()
    }
}
