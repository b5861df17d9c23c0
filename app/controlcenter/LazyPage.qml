import QtQuick

// A page of the control center that is built on its first visit and kept, so
// the window's first frame does not wait for pages nobody has opened yet. Only
// the chosen page takes input and keyboard focus, from the moment it is chosen;
// the others fade out.
Loader {
    id: lazy

    required property bool chosen
    required property url pageSource
    required property QtObject pageModel

    opacity: chosen ? 1 : 0
    visible: chosen || opacity > 0
    enabled: chosen
    Behavior on opacity { NumberAnimation { duration: 140; easing.type: Easing.OutQuad } }

    function build() {
        if (chosen && !item)
            setSource(pageSource, { page: pageModel })
    }
    onChosenChanged: build()
    Component.onCompleted: build()
}
