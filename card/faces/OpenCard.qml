import QtQuick
import Wordlumen.Paint
import Wordlumen.Controls
import Wordlumen.Card

// The open card: a sheet of paper with a folded corner, its shadows, and the
// front and answer faces stacked back to back (or the settings face).
FocusScope {
    id: card
    objectName: "openCard"

    required property CardViewModel viewModel
    required property CardViewController controller
    property FloatingCardWindowController windowController: null
    /// The settings face, supplied by the application (it lives above the card).
    property url settingsFace

    readonly property real foldSize: controller.showsSettings ? 0 : 36
    readonly property bool showsPassage: viewModel.answerMode === CardViewModel.Passage
    onShowsPassageChanged: if (showsPassage) passageFace.load()
    Component.onCompleted: if (showsPassage) passageFace.load()

    // 0 shows the front face, 1 the answer face; the turn animates in between.
    property real turn: controller.showsBack ? 1 : 0
    Behavior on turn {
        NumberAnimation {
            duration: Theme.presentationDuration
            easing.type: Theme.curvedMotion ? Easing.Bezier : Easing.Linear
            easing.bezierCurve: Theme.cardCurve
        }
    }

    function focusFront() { front.focusInput() }
    function focusAnswer() { answer.hearAnswer() }

    // The software renderer repaints only what changed, and the bounds of a
    // face in perspective are rounded; when a turn ends, repaint the whole
    // sheet so no sliver of an in-between frame stays behind.
    onTurnChanged: if (turn === 0 || turn === 1) paper.update()

    SoftShadow {
        shape: SoftShadow.FoldedCard
        cornerRadius: 16
        foldSize: card.foldSize
        blur: Theme.cardShadow.blur
        x: -spread
        y: -spread + Theme.cardShadow.drop
        width: card.width + 2 * spread
        height: card.height + 2 * spread
        opacity: Theme.cardShadow.opacity
    }
    SoftShadow {
        shape: SoftShadow.FoldedCard
        cornerRadius: 16
        foldSize: card.foldSize
        blur: Theme.cardContactShadow.blur
        x: -spread
        y: -spread + Theme.cardContactShadow.drop
        width: card.width + 2 * spread
        height: card.height + 2 * spread
        opacity: Theme.cardContactShadow.opacity
    }
    // Where windows cannot be see-through, the panel is cut to this outline.
    ShapeMask {
        anchors.fill: parent
        shape: ShapeMask.FoldedCard
        cornerRadius: 16
        foldSize: card.foldSize
    }
    CardPaper {
        id: paper
        anchors.fill: parent
        cornerRadius: 16
        foldSize: card.foldSize
    }
    PaperGrain {
        anchors.fill: parent
        cornerRadius: 16
        foldSize: card.foldSize
    }

    Item {
        id: faces
        anchors.fill: parent
        visible: !card.controller.showsSettings

        FrontFace {
            id: front
            objectName: "frontFace"
            anchors.fill: parent
            viewModel: card.viewModel
            windowController: card.windowController
            opacity: 1 - card.turn
            visible: opacity > 0.001
            enabled: !card.controller.showsBack
            focus: !card.controller.showsBack
            transform: Matrix4x4 {
                matrix: CardFormat.flipMatrix(Math.PI * card.turn, front.width, front.height)
            }
        }
        AnswerFace {
            id: answer
            anchors.fill: parent
            viewModel: card.viewModel
            windowController: card.windowController
            opacity: card.showsPassage ? 0 : card.turn
            visible: opacity > 0.001
            enabled: card.controller.showsBack && !card.showsPassage
            focus: card.controller.showsBack && !card.showsPassage
            transform: Matrix4x4 {
                matrix: CardFormat.flipMatrix(-Math.PI * (1 - card.turn), answer.width,
                                              answer.height)
            }
        }
        // The passage view shares the back of the card with the answer.
        Loader {
            id: passageFace
            anchors.fill: parent
            // Made the first time it shows, then kept.
            function load() {
                if (status === Loader.Null)
                    setSource(Qt.resolvedUrl("PassageFace.qml"), {
                                  viewModel: card.viewModel,
                                  windowController: card.windowController
                              })
            }
            opacity: card.showsPassage ? card.turn : 0
            visible: opacity > 0.001
            enabled: card.controller.showsBack && card.showsPassage
            focus: card.controller.showsBack && card.showsPassage
            transform: Matrix4x4 {
                matrix: CardFormat.flipMatrix(-Math.PI * (1 - card.turn), passageFace.width,
                                              passageFace.height)
            }
        }
    }

    Loader {
        id: settings
        anchors.fill: parent
        // A fresh settings face each time: the key is read anew, old messages are gone.
        active: card.controller.showsSettings
        focus: card.controller.showsSettings
        opacity: active ? 1 : 0
        Behavior on opacity { NumberAnimation { duration: Theme.presentationDuration } }
        Component.onCompleted: setSource(card.settingsFace, {
            viewModel: card.viewModel,
            windowController: card.windowController
        })
    }
}
