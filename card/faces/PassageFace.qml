pragma ComponentBehavior: Bound
import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls
import Wordlumen.Card

// The passage view, on the back of the card: every known term of the passage
// in order of appearance with its short explanation, the passage with those
// terms marked, and, with a key, the online search for the rest. Choosing a
// term (a row, a mark) explains it fully.
//
// The rows are the ones the view model sizes the card for (CardMetrics).
Item {
    id: face

    required property CardViewModel viewModel
    property FloatingCardWindowController windowController: null
    readonly property PassageSession passage: viewModel.passage
    /// The whole passage instead of its first lines; view state only.
    property bool passageOpened: false

    Connections {
        target: face.passage
        function onPassageChanged() { face.passageOpened = false }
        // The search's outcome is heard as the answer face's is: the keyboard
        // moves to what it says (see hearView).
        function onSearchChanged() {
            if (face.passage.searchState === PassageSession.Failed
                    || face.passage.searchState === PassageSession.Answered)
                hearDelay.restart()
        }
    }

    // Qt Quick 6.4 cannot ask a screen reader to speak a message (that came
    // with Accessible.announce in Qt 6.8); a reader speaks the object that
    // takes the keyboard, its name and then its description. So when the view
    // shows, its heading takes the keyboard (named with what was found), and
    // when the online search ends, its message or the first term it found.
    function hearView() { hearDelay.restart() }
    onEnabledChanged: if (enabled) hearView()
    Component.onCompleted: hearView()
    Timer {
        id: hearDelay
        // After the turn, so the reader speaks a face that is on screen.
        interval: Theme.presentationDuration + 40
        onTriggered: {
            if (!face.enabled)
                return
            if (searchNote.visible)
                searchNote.forceActiveFocus()
            else if (face.passage.searchState === PassageSession.Answered && foundHeading.visible)
                foundHeading.forceActiveFocus()
            else
                viewTitle.forceActiveFocus()
        }
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
                text: "WORDLUMEN · 段"
                windowController: face.windowController
            }
            IconCircleButton {
                anchors.right: parent.right
                anchors.rightMargin: 24 // the fold corner's room
                anchors.verticalCenter: parent.verticalCenter
                icon: "chevron.down"
                label: "收起"
                onClicked: face.viewModel.collapse()
            }
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

            CardSectionLabel { text: "02 · 整段" }
            Item { width: 1; height: CardMetrics.sectionGap }
            Text {
                y: -2
                width: parent.width
                height: CardMetrics.titleLine
                id: viewTitle
                text: "这段话里的黑话"
                font: Theme.serif(22, Font.DemiBold)
                lineHeightMode: Text.FixedHeight
                lineHeight: CardMetrics.titleLine
                color: Theme.ink
                Accessible.role: Accessible.Heading
                Accessible.name: text
                Accessible.description: face.passage.summary
            }
            Item { width: 1; height: CardMetrics.sourceGap }
            Row {
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
                    text: face.passage.summary
                    font: Theme.mono(9, Font.DemiBold, 0.6)
                    lineHeightMode: Text.FixedHeight
                    lineHeight: CardMetrics.sourceRow
                    color: Theme.secondaryInk
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }
        }

        Flickable {
            id: scroller
            objectName: "passageScroll"
            anchors.top: heading.bottom
            anchors.topMargin: CardMetrics.bodyGap
            anchors.bottom: footer.top
            width: parent.width
            clip: true
            contentWidth: width
            contentHeight: body.implicitHeight
            interactive: Scrolling.scrolls(contentHeight, height)
            boundsBehavior: Flickable.StopAtBounds

            Column {
                id: body
                width: scroller.width - 6
                spacing: CardMetrics.passageBlockGap

                // The passage as written, its terms marked; a mark explains its term.
                Text {
                    id: passageText
                    objectName: "passageText"
                    width: parent.width
                    text: face.passage.markedText
                    textFormat: Text.StyledText
                    wrapMode: Text.Wrap
                    maximumLineCount: face.passageOpened ? 100000 : CardMetrics.passageFoldedLines
                    elide: Text.ElideRight
                    font: Theme.font(12.5)
                    lineHeightMode: Text.FixedHeight
                    lineHeight: CardMetrics.passageLine
                    color: Theme.alpha(Theme.ink, 0.86)
                    linkColor: Theme.accentInk
                    onLinkActivated: link => face.viewModel.explainPassageTerm(
                                         face.passage.termOfLink(link))
                    Accessible.role: Accessible.StaticText
                    Accessible.name: face.passage.text
                    HoverHandler {
                        cursorShape: passageText.hoveredLink.length > 0 ? Qt.PointingHandCursor
                                                                          : Qt.ArrowCursor
                    }
                }

                InlineAction {
                    visible: passageText.truncated || face.passageOpened
                    implicitHeight: CardMetrics.passageAction
                    title: face.passageOpened ? "收起原文" : "展开原文"
                    systemImage: "chevron.down"
                    iconTrailing: true
                    onClicked: face.passageOpened = !face.passageOpened
                }

                Column {
                    width: parent.width
                    spacing: CardMetrics.passageTermGap
                    visible: face.passage.terms.count > 0
                    Repeater {
                        model: face.passage.terms
                        PassageTermRow {
                            required property string term
                            width: body.width
                            onClicked: face.viewModel.explainPassageTerm(term)
                        }
                    }
                }

                CardSectionLabel {
                    id: foundHeading
                    visible: face.passage.found.count > 0
                    text: "在线 API · 其余黑话"
                    Accessible.role: Accessible.Heading
                    Accessible.name: "在线 API 找到的其余黑话"
                }
                Column {
                    width: parent.width
                    spacing: CardMetrics.passageTermGap
                    visible: face.passage.found.count > 0
                    Repeater {
                        model: face.passage.found
                        PassageTermRow {
                            required property string term
                            width: body.width
                            onClicked: face.viewModel.explainPassageTerm(term)
                        }
                    }
                }

                InlineAction {
                    visible: face.passage.offersSearch
                    implicitHeight: CardMetrics.passageAction
                    title: "找出其余黑话"
                    systemImage: "sparkles"
                    iconTrailing: false
                    onClicked: face.passage.search()
                }

                Text {
                    id: searchNote
                    width: parent.width
                    visible: text.length > 0
                    text: face.passage.searchMessage
                    wrapMode: Text.Wrap
                    font: Theme.font(10.5, Font.Medium)
                    lineHeightMode: Text.FixedHeight
                    lineHeight: CardMetrics.errorLine
                    height: lineCount * lineHeight
                    color: face.passage.searchState === PassageSession.Failed ? Theme.accentInk
                                                                              : Theme.secondaryInk
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
                Text {
                    width: parent.width
                    visible: text.length > 0
                    text: face.passage.cutNotice
                    wrapMode: Text.Wrap
                    font: Theme.font(10.5, Font.Medium)
                    lineHeightMode: Text.FixedHeight
                    lineHeight: CardMetrics.errorLine
                    height: lineCount * lineHeight
                    color: Theme.secondaryInk
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }
        }
        ScrollIndicator { flickable: scroller }

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
                    visible: face.passage.searchState !== PassageSession.Searching
                    // Back to the answer the view was opened from, else to the front.
                    title: face.viewModel.hasResult ? "回到解释" : "翻回去"
                    systemImage: "arrow.uturn.backward"
                    iconTrailing: true
                    onClicked: face.viewModel.leavePassage()
                }
                Text {
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    visible: face.passage.searchState === PassageSession.Searching
                    text: "正在找其余黑话…"
                    font: Theme.mono(9.5, Font.Medium)
                    color: Theme.secondaryInk
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }
        }
    }
}
