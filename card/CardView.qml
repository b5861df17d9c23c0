import QtQuick
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
        onActivated: controller.cancel()
    }
    Shortcut {
        sequence: "Ctrl+Q"
        enabled: root.windowController !== null
        onActivated: root.windowController.requestQuit()
    }

    // While the panel animates its frame the content keeps to the edges that
    // hold still, so the card unfolds away from the screen corner.
    readonly property bool alignRight: windowController ? windowController.anchoredRight : true
    readonly property bool alignTop: windowController ? windowController.anchoredTop : false

    Item {
        id: triggerBox
        width: root.windowController ? root.windowController.collapsedSize.width : 140
        height: root.windowController ? root.windowController.collapsedSize.height : 60
        x: root.alignRight ? root.width - width : 0
        y: root.alignTop ? 0 : root.height - height
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
            // A new trigger each time the card collapses: hover and press start fresh.
            active: !controller.isOpen
            source: "CollapsedTrigger.qml"
            onLoaded: (item as CollapsedTrigger).windowController = root.windowController
        }
        Connections {
            target: triggerLoader.item as CollapsedTrigger
            function onActivated() { controller.activateAndExpand() }
        }
    }

    Item {
        id: cardBox
        width: 356 + 2 * 12
        height: (root.viewModel ? root.viewModel.expandedHeight : 312) + 2 * 12
        x: root.alignRight ? root.width - width : 0
        y: root.alignTop ? 0 : root.height - height
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
            x: 12
            width: 356
            // The card's height follows the view model with its own animation.
            property real cardHeight: root.viewModel ? root.viewModel.expandedHeight : 312
            Behavior on cardHeight {
                NumberAnimation {
                    duration: Theme.heightDuration
                    easing.type: Theme.curvedMotion ? Easing.Bezier : Easing.Linear
                    easing.bezierCurve: Theme.cardCurve
                }
            }
            height: cardHeight
            y: root.alignTop ? 12 : parent.height - 12 - height
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
            onLoaded: if (root.viewModel && root.viewModel.presentation === CardViewModel.Front)
                          (item as OpenCard).focusFront()
        }
    }

    Connections {
        target: root.viewModel
        function onPresentationChanged() {
            if (root.viewModel && root.viewModel.presentation === CardViewModel.Front && cardLoader.item)
                (cardLoader.item as OpenCard).focusFront()
        }
    }
}
