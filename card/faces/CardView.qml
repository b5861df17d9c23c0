import QtQuick
import Wordlumen.Paint
import Wordlumen.Card

// The floating panel's content: the collapsed trigger or the open card.
FocusScope {
    id: root

    /// Null until the card is first opened; see CardViewController.viewModelRequested.
    property CardViewModel viewModel: null
    property FloatingCardWindowController windowController: null
    /// The settings face (a QML file with `viewModel` and `windowController`),
    /// supplied by the application.
    property url settingsFace

    readonly property alias controller: controller

    CardViewController {
        id: controller
        viewModel: root.viewModel
        windowController: root.windowController
    }

    Shortcut {
        sequence: "Escape"
        enabled: controller.isOpen
        onActivated: controller.escapePressed()
    }
    // The answer's text, when it has the keyboard, keeps Escape from the
    // shortcut; the key press it leaves unhandled comes up to here.
    Keys.onEscapePressed: if (controller.isOpen) controller.cancel()
    Shortcut {
        sequence: "Ctrl+,"
        enabled: root.windowController !== null
        onActivated: root.windowController.requestSettings()
    }
    Shortcut {
        sequence: "Ctrl+Q"
        enabled: root.windowController !== null
        onActivated: root.windowController.requestQuit()
    }

    // The content keeps to the edges of the panel's frame that hold still, so
    // the card unfolds away from the screen corner; while a resize settles the
    // window is larger than that frame.
    readonly property bool alignRight: windowController ? windowController.anchoredRight : true
    readonly property bool alignTop: windowController ? windowController.anchoredTop : false
    readonly property rect frame: windowController ? windowController.contentRect
                                                   : Qt.rect(0, 0, width, height)

    Item {
        id: triggerBox
        width: controller.collapsedSize.width
        height: controller.collapsedSize.height
        x: root.alignRight ? root.frame.x + root.frame.width - width : root.frame.x
        y: root.alignTop ? root.frame.y : root.frame.y + root.frame.height - height
        visible: opacity > 0.001
        opacity: controller.isOpen ? 0 : 1
        scale: controller.isOpen ? 0.94 : 1
        transformOrigin: Item.Right
        Behavior on opacity { NumberAnimation { duration: Theme.presentationDuration } }
        Behavior on scale {
            NumberAnimation {
                duration: Theme.presentationDuration
                easing.type: Theme.curvedMotion ? Easing.Bezier : Easing.Linear
                easing.bezierCurve: Theme.cardCurve
            }
        }

        Loader {
            id: triggerLoader
            anchors.fill: parent
            // The folded card keeps the keyboard: Return opens it again.
            focus: !controller.isOpen
            // A new trigger each time the card collapses: hover and press start
            // fresh. It stays while it fades out.
            active: !controller.isOpen || triggerBox.visible
            source: "CollapsedTrigger.qml"
            onLoaded: {
                (item as CollapsedTrigger).windowController = root.windowController
                item.focus = true
            }
        }
        Connections {
            target: triggerLoader.item as CollapsedTrigger
            function onActivated() { controller.activateAndExpand() }
        }
    }

    Item {
        id: cardBox
        width: controller.shadowLeft + controller.cardWidth + controller.shadowRight
        height: controller.shadowTop + controller.cardHeight + controller.shadowBottom
        x: root.alignRight ? root.frame.x + root.frame.width - width : root.frame.x
        y: root.alignTop ? root.frame.y : root.frame.y + root.frame.height - height
        visible: opacity > 0.001
        opacity: controller.isOpen ? 1 : 0
        scale: controller.isOpen ? 1 : 0.96
        transformOrigin: Item.Right
        Behavior on opacity { NumberAnimation { duration: Theme.presentationDuration } }
        Behavior on scale {
            NumberAnimation {
                duration: Theme.presentationDuration
                easing.type: Theme.curvedMotion ? Easing.Bezier : Easing.Linear
                easing.bezierCurve: Theme.cardCurve
            }
        }

        Loader {
            id: cardLoader
            x: controller.shadowLeft
            width: controller.cardWidth
            // The card's height follows the view model with its own animation.
            property real cardHeight: controller.cardHeight
            Behavior on cardHeight {
                NumberAnimation {
                    duration: Theme.heightDuration
                    easing.type: Theme.curvedMotion ? Easing.Bezier : Easing.Linear
                    easing.bezierCurve: Theme.cardCurve
                }
            }
            height: cardHeight
            y: root.alignTop ? controller.shadowTop
                             : parent.height - controller.shadowBottom - height
            focus: controller.isOpen
            // Nothing of the open card exists while collapsed (once it has faded),
            // and its faces are compiled only when the card first opens.
            active: controller.isOpen || cardBox.visible
            // The faces are compiled on the first opening; the Loader keeps the
            // source and its properties for every opening after that.
            property bool sourceSet: false
            onActiveChanged: {
                if (active && !sourceSet) {
                    sourceSet = true
                    setSource("OpenCard.qml", {
                        viewModel: root.viewModel,
                        controller: controller,
                        windowController: root.windowController,
                        settingsFace: root.settingsFace
                    })
                }
            }
            onLoaded: root.focusFace()
        }
    }

    // The keyboard goes to the face that shows: the input on the front, the
    // answer on the back (a screen reader speaks it from there).
    function focusFace() {
        const card = cardLoader.item as OpenCard
        if (!root.viewModel || !card)
            return
        if (root.viewModel.presentation === CardViewModel.Front)
            card.focusFront()
        else if (root.viewModel.presentation === CardViewModel.Back)
            card.focusAnswer()
    }
    Connections {
        target: root.viewModel
        function onPresentationChanged() { root.focusFace() }
    }
}
