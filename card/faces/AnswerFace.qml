pragma ComponentBehavior: Bound
import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls
import Wordlumen.Card

// The back of the card: the answer with where it came from, or the candidates
// of a reverse lookup; a placeholder pulses while online work runs.
//
// The rows are the ones the view model sizes the card for (CardMetrics).
// The header's buttons and the footer's actions are taller than their rows;
// their hit areas reach into the padding.
Item {
    id: face

    required property CardViewModel viewModel
    property FloatingCardWindowController windowController: null

    readonly property bool reverseMode: viewModel.answerMode === CardViewModel.ReverseLookup
    readonly property string explanation: viewModel.resultExplanation
    readonly property HistoryRecorder history: viewModel.history
    readonly property bool canStar: !reverseMode && history !== null && history.canStar
    readonly property string savedLabel: history !== null && !reverseMode ? history.savedLabel : ""

    CopyFeedback { id: copier }

    // Qt Quick 6.4 cannot ask a screen reader to speak a message (that came
    // with Accessible.announce in Qt 6.8). What a reader always speaks is the
    // object that takes the keyboard: its name, then its description. So when
    // the face shows an answer, a candidate list or an error, the keyboard
    // moves there; a streamed answer's end changes the description of that
    // focused object, which a reader speaks too.
    function hearAnswer() { hearDelay.restart() }
    Timer {
        id: hearDelay
        // After the turn, so the reader speaks a face that is on screen.
        interval: Theme.presentationDuration + 40
        onTriggered: {
            if (!face.enabled)
                return
            if (errorText.visible)
                errorText.forceActiveFocus()
            else if (answerText.visible)
                answerText.forceActiveFocus()
            else if (face.reverseMode && candidates.count > 0)
                candidates.itemAt(0).forceActiveFocus()
            else if (loadingNote.visible)
                loadingNote.forceActiveFocus()
        }
    }
    Connections {
        target: face.viewModel
        // What the reader was told may have changed: the answer arrived, its
        // streaming ended, or it failed.
        function onIsLoadingChanged() { face.hearAnswer() }
        function onErrorMessageChanged() { face.hearAnswer() }
    }
    Shortcut {
        sequence: "Ctrl+D"
        enabled: face.enabled && face.canStar
        onActivated: face.history.toggleStar()
    }

    Item {
        id: content
        anchors.fill: parent
        anchors.leftMargin: 20
        anchors.rightMargin: 20
        anchors.topMargin: CardMetrics.faceMargin
        anchors.bottomMargin: CardMetrics.faceMargin

        Item {
            id: header
            width: parent.width
            height: CardMetrics.headerRow

            FaceTitle {
                anchors.verticalCenter: parent.verticalCenter
                text: "WORDLUMEN · 答"
                windowController: face.windowController
            }
            Row {
                anchors.right: parent.right
                anchors.rightMargin: 24 // the fold corner's room
                anchors.verticalCenter: parent.verticalCenter
                IconCircleButton {
                    objectName: "starButton"
                    visible: face.canStar
                    icon: face.history && face.history.starred ? "star.fill" : "star"
                    tint: face.history && face.history.starred ? Theme.accent : Theme.controlInk
                    label: face.history ? face.history.starLabel : "收藏"
                    checkable: true
                    checked: face.history !== null && face.history.starred
                    onClicked: face.history.toggleStar()
                }
                IconCircleButton {
                    visible: !face.reverseMode
                    icon: copier.didCopy ? "checkmark" : "square.on.square"
                    // While the check mark shows, the name says so: a reader
                    // speaks the new name of the focused button.
                    label: copier.didCopy ? "已复制" : "复制解释"
                    onClicked: copier.copy(face.explanation)
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
                label: "翻回黑话面"
                onClicked: face.viewModel.flipToFront()
            }
        }

        Column {
            id: heading
            anchors.top: header.bottom
            anchors.topMargin: CardMetrics.headerGap
            width: parent.width

            CardSectionLabel { text: face.reverseMode ? "02 · 反查" : "02 · 人话" }

            Item { width: 1; height: CardMetrics.sectionGap; visible: titleBox.visible }

            // The title's rows are a title line each, the last one too (a fixed
            // line height leaves the last line at the face's own, taller one).
            Item {
                id: titleBox
                width: parent.width
                height: title.lineCount * title.lineHeight
                visible: face.reverseMode || face.viewModel.hasResult
                Text {
                id: title
                objectName: "answerTitle"
                // Half of what the last line overhangs goes above the rows.
                y: -2
                width: parent.width
                text: face.reverseMode ? "你可能在找" : face.viewModel.resultTitle
                font: Theme.serif(22, Font.DemiBold)
                lineHeightMode: Text.FixedHeight
                lineHeight: CardMetrics.titleLine
                color: Theme.ink
                wrapMode: Text.Wrap
                maximumLineCount: 2
                elide: Text.ElideRight
                Accessible.role: Accessible.Heading
                Accessible.name: text
                }
            }

            Item { width: 1; height: CardMetrics.sourceGap; visible: source.visible }

            Row {
                id: source
                visible: titleBox.visible
                height: CardMetrics.sourceRow
                spacing: 10
                Rectangle {
                    anchors.verticalCenter: parent.verticalCenter
                    width: 24
                    height: 2
                    color: Theme.accent
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: face.reverseMode ? "在线 API · 点击词条继续解释"
                                           : CardFormat.originLabel(face.viewModel.resultOrigin)
                    font: Theme.mono(9, Font.DemiBold, face.reverseMode ? 0.6 : 0.8)
                    lineHeightMode: Text.FixedHeight
                    lineHeight: CardMetrics.sourceRow
                    color: !face.reverseMode && CardFormat.originIsNotice(face.viewModel.resultOrigin)
                           ? Theme.accentInk : Theme.secondaryInk
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }
        }

        Flickable {
            id: scroller
            objectName: "answerScroll"
            anchors.top: heading.bottom
            anchors.topMargin: CardMetrics.bodyGap
            anchors.bottom: passageRow.visible ? passageRow.top : footer.top
            anchors.bottomMargin: passageRow.visible ? CardMetrics.passageRowGap : 0
            width: parent.width
            clip: true
            contentWidth: width
            contentHeight: body.implicitHeight
            interactive: Scrolling.scrolls(contentHeight, height)
            boundsBehavior: Flickable.StopAtBounds

            Column {
                id: body
                width: scroller.width - 6
                spacing: face.reverseMode ? 8 : CardMetrics.errorGap

                SkeletonLines {
                    width: parent.width
                    visible: face.viewModel.showsPlaceholder
                }

                TextEdit {
                    id: answerText
                    width: parent.width
                    visible: !face.reverseMode && face.viewModel.hasResult
                             && !face.viewModel.showsPlaceholder
                    text: CardFormat.answerHtml(face.explanation)
                    readOnly: true
                    selectByMouse: true
                    wrapMode: TextEdit.Wrap
                    textFormat: TextEdit.RichText
                    font: Theme.font(13.5)
                    color: Theme.alpha(Theme.ink, 0.92)
                    selectionColor: Theme.alpha(Theme.accent, 0.3)
                    selectedTextColor: Theme.ink
                    activeFocusOnPress: true
                    // Spoken as the title, then the explanation; the Text
                    // interface reads the explanation line by line.
                    Accessible.role: Accessible.StaticText
                    Accessible.name: face.viewModel.resultTitle
                    Accessible.description: face.viewModel.isLoading ? "正在继续写…" : face.explanation
                }

                // A saved answer shown again: when it was saved, and for an
                // online one the way to ask the service again.
                Item {
                    objectName: "savedRow"
                    width: parent.width
                    height: CardMetrics.savedRow - CardMetrics.errorGap
                    visible: face.savedLabel.length > 0 && !face.viewModel.showsPlaceholder
                    Text {
                        anchors.left: parent.left
                        anchors.right: regenerate.visible ? regenerate.left : parent.right
                        anchors.rightMargin: 8
                        anchors.verticalCenter: parent.verticalCenter
                        text: face.savedLabel
                        elide: Text.ElideRight
                        font: Theme.mono(9.5, Font.Medium, 0.4)
                        color: Theme.secondaryInk
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                    }
                    InlineAction {
                        id: regenerate
                        anchors.right: parent.right
                        anchors.verticalCenter: parent.verticalCenter
                        visible: face.viewModel.canRegenerate
                        title: "重新生成"
                        systemImage: "arrow.clockwise"
                        iconTrailing: false
                        onClicked: face.viewModel.regenerate()
                    }
                }

                InlineAction {
                    visible: !face.reverseMode && face.viewModel.offersApiSetup
                    title: "接上 API"
                    systemImage: "arrow.up.right"
                    iconTrailing: true
                    onClicked: face.viewModel.openSettings()
                }

                Repeater {
                    id: candidates
                    model: face.reverseMode ? face.viewModel.reverseLookupMatches : null
                    ReverseLookupRow {
                        width: body.width
                        onClicked: face.viewModel.selectReverseLookup(index)
                    }
                }

                Text {
                    id: errorText
                    width: parent.width
                    visible: face.viewModel.errorMessage.length > 0
                    text: face.viewModel.errorMessage
                    wrapMode: Text.Wrap
                    font: Theme.font(10.5, Font.Medium)
                    lineHeightMode: Text.FixedHeight
                    lineHeight: CardMetrics.errorLine
                    height: lineCount * lineHeight
                    color: Theme.accentInk
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }
        }
        ScrollIndicator { flickable: scroller }

        // The passage's other terms, between the answer and the footer.
        PassageRow {
            id: passageRow
            anchors.bottom: footer.top
            width: parent.width
            visible: !face.reverseMode && face.viewModel.hasResult
                     && face.viewModel.passage.others.count > 0
            viewModel: face.viewModel
        }

        Column {
            id: footer
            anchors.bottom: parent.bottom
            width: parent.width
            spacing: CardMetrics.footerGap

            Rectangle {
                width: parent.width
                height: 1
                color: Theme.alpha(Theme.ink, 0.07)
            }
            Item {
                width: parent.width
                height: CardMetrics.footerRow
                InlineAction {
                    anchors.verticalCenter: parent.verticalCenter
                    title: "换一个词"
                    systemImage: "shuffle"
                    iconTrailing: false
                    onClicked: face.viewModel.startOver()
                }
                InlineAction {
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    visible: !face.viewModel.isLoading
                    title: "翻回去"
                    systemImage: "arrow.uturn.backward"
                    iconTrailing: true
                    onClicked: face.viewModel.flipToFront()
                }
                Text {
                    id: loadingNote
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    visible: face.viewModel.isLoading
                    text: face.reverseMode ? "正在反查…" : "正在继续写…"
                    font: Theme.mono(9.5, Font.Medium)
                    color: Theme.secondaryInk
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }
        }
    }
}
