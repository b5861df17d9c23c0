import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls
import Wordlumen.App

// The floating page's panel for the desktop: the global shortcut that looks up
// the selected text, changed by pressing a new combination, with the command
// to bind by hand where the desktop registers none; and "登录时启动".
ControlCenterPanel {
    id: panel

    property GlobalShortcut shortcut: null
    property StartAtLogin autostart: null
    readonly property bool recording: shortcut !== null && shortcut.isRecording

    title: "快捷键与启动"
    icon: "keyboard"
    visible: shortcut !== null && autostart !== null

    Row {
        width: parent.width
        height: 30
        spacing: 10
        Text {
            anchors.verticalCenter: parent.verticalCenter
            width: 70
            text: "选中即查"
            font: Theme.font(11.5, Font.Medium)
            color: Theme.ink
        }
        // The combination; while recording it takes the next key press.
        Rectangle {
            id: keysChip
            objectName: "shortcutKeys"
            anchors.verticalCenter: parent.verticalCenter
            width: Math.max(120, keysLabel.implicitWidth + 24)
            height: 28
            radius: 7
            color: panel.recording ? Theme.alpha(Theme.accent, 0.08) : Theme.controlFill
            border.width: 1
            border.color: panel.recording ? Theme.alpha(Theme.accent, 0.6) : Theme.edge
            activeFocusOnTab: panel.shortcut !== null && !panel.shortcut.needsManualSetup
                              && panel.shortcut.state !== GlobalShortcut.Unavailable

            Accessible.role: Accessible.Button
            Accessible.name: panel.recording ? "请按下新的组合键" : "全局快捷键 " + keysLabel.text
            Accessible.onPressAction: panel.shortcut.startRecording()

            Text {
                id: keysLabel
                anchors.centerIn: parent
                text: panel.recording ? "请按下组合键…" : (panel.shortcut ? panel.shortcut.keysText : "")
                font: Theme.mono(11, Font.DemiBold)
                color: panel.recording ? Theme.accentInk : Theme.ink
            }
            MouseArea {
                anchors.fill: parent
                enabled: keysChip.activeFocusOnTab
                onClicked: {
                    keysChip.forceActiveFocus()
                    panel.shortcut.startRecording()
                }
            }
            Keys.onShortcutOverride: (event) => event.accepted = panel.recording
            Keys.onPressed: (event) => {
                if (panel.recording)
                    event.accepted = panel.shortcut.recordKey(event.key, event.modifiers)
                else if (event.key === Qt.Key_Space || event.key === Qt.Key_Return
                         || event.key === Qt.Key_Enter) {
                    panel.shortcut.startRecording()
                    event.accepted = true
                }
            }
            onActiveFocusChanged: if (!activeFocus && panel.recording) panel.shortcut.cancelRecording()
            FocusRing { target: keysChip; radius_: 7 }
        }
        ControlCenterButton {
            anchors.verticalCenter: parent.verticalCenter
            visible: keysChip.activeFocusOnTab
            title: panel.recording ? "取消" : "更改"
            isSecondary: true
            onClicked: {
                if (panel.recording) {
                    panel.shortcut.cancelRecording()
                } else {
                    keysChip.forceActiveFocus()
                    panel.shortcut.startRecording()
                }
            }
        }
    }
    Text {
        width: parent.width
        text: panel.shortcut ? panel.shortcut.statusText : ""
        font: Theme.font(10.5)
        lineHeight: 1.2
        color: panel.shortcut && panel.shortcut.hasProblem ? Theme.accentInk : Theme.controlInk
        wrapMode: Text.Wrap
    }
    // Where no shortcut can be registered: the command to bind in the desktop's settings.
    Row {
        width: parent.width
        spacing: 10
        visible: panel.shortcut !== null && panel.shortcut.needsManualSetup
        Rectangle {
            width: parent.width - copyButton.width - parent.spacing
            height: 30
            radius: 7
            color: Theme.controlFill
            border.width: 1
            border.color: Theme.edge
            TextInput {
                anchors.fill: parent
                anchors.leftMargin: 10
                anchors.rightMargin: 10
                verticalAlignment: TextInput.AlignVCenter
                text: panel.shortcut ? panel.shortcut.manualCommand : ""
                readOnly: true
                autoScroll: false // a long path shows from its start
                selectByMouse: true
                clip: true
                font: Theme.mono(10.5)
                color: Theme.ink
                selectionColor: Theme.alpha(Theme.accent, 0.3)
            }
        }
        ControlCenterButton {
            id: copyButton
            title: "复制命令"
            isSecondary: true
            onClicked: panel.shortcut.copyCommand()
        }
    }
    Text {
        width: parent.width
        visible: panel.shortcut !== null && panel.shortcut.needsManualSetup
        text: panel.shortcut ? panel.shortcut.manualSteps : ""
        font: Theme.font(10)
        lineHeight: 1.2
        color: Theme.secondaryInk
        wrapMode: Text.Wrap
    }

    Rectangle {
        width: parent.width
        height: 1
        color: Theme.edge
    }
    Item {
        width: parent.width
        height: 24
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: "登录时启动"
            font: Theme.font(11.5, Font.Medium)
            color: Theme.ink
        }
        PackSwitch {
            objectName: "launchAtLogin"
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            checked: panel.autostart !== null && panel.autostart.enabled
            enabled: panel.autostart !== null && panel.autostart.available
            tooltip: checked ? "登录时不再自动启动" : "登录时自动启动 Wordlumen"
            accessibleName: "登录时启动"
            onToggled: (on) => panel.autostart.enabled = on
        }
    }
    Text {
        width: parent.width
        text: panel.autostart ? panel.autostart.statusText : ""
        font: Theme.font(10.5)
        lineHeight: 1.2
        color: panel.autostart && panel.autostart.hasProblem ? Theme.accentInk : Theme.controlInk
        wrapMode: Text.Wrap
    }
}
