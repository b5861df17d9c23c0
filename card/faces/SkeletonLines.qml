pragma ComponentBehavior: Bound
import QtQuick
import Wordlumen.Paint

// The pulsing placeholder while an online answer is on its way: its lines
// swing between 0.06 and 0.13 ink, ease-in-out 0.85 s, back and forth.
Column {
    id: skeleton

    property bool isPulsing: false
    property real pulse
    readonly property var fractions: [1.0, 0.92, 0.78, 0.96, 0.66]

    spacing: 12
    Accessible.role: Accessible.Animation
    Accessible.name: "正在生成解释"

    Component.onCompleted: isPulsing = true

    Repeater {
        model: skeleton.fractions
        Rectangle {
            required property real modelData
            width: Math.min(modelData * 250, skeleton.width)
            height: 10
            radius: 5
            color: Theme.alpha(Theme.ink, 0.06 + 0.07 * skeleton.pulse)
        }
    }

    SequentialAnimation on pulse {
        running: skeleton.isPulsing && skeleton.visible
        loops: Animation.Infinite
        NumberAnimation { from: 0; to: 1; duration: 850; easing.type: Easing.InOutQuad }
        NumberAnimation { from: 1; to: 0; duration: 850; easing.type: Easing.InOutQuad }
    }
}
