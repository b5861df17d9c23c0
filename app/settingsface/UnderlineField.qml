import QtQuick
import Wordlumen.Paint

// A titled, borderless text field with a hairline under it.
Column {
    id: field

    required property string title
    property string placeholder: ""
    property bool hidden: false
    /// What a screen reader calls the field (the title is in capitals for the eye).
    property string accessibleName: title
    property alias text: input.text
    signal edited(string text)

    function focusInput() { input.forceActiveFocus() }

    spacing: 5

    Text {
        text: field.title
        font: Theme.font(9, Font.DemiBold, 1.2)
        color: Theme.secondaryInk
    }
    TextInput {
        id: input
        width: field.width
        font: Theme.font(11.5)
        color: Theme.ink
        echoMode: field.hidden ? TextInput.Password : TextInput.Normal
        passwordCharacter: "•"
        selectByMouse: true
        selectionColor: Theme.alpha(Theme.accent, 0.3)
        selectedTextColor: Theme.ink
        clip: true
        activeFocusOnTab: true
        bottomPadding: 6
        onTextEdited: field.edited(text)
        Accessible.role: Accessible.EditableText
        Accessible.name: field.accessibleName

        Text {
            anchors.fill: parent
            anchors.bottomMargin: 6
            visible: input.text.length === 0 && input.preeditText.length === 0
            text: field.placeholder
            font: input.font
            color: Theme.alpha(Theme.secondaryInk, 0.75)
            elide: Text.ElideRight
        }
    }
    Rectangle {
        width: field.width
        height: 1
        color: input.activeFocus ? Theme.alpha(Theme.accent, 0.72) : Theme.alpha(Theme.ink, 0.14)
    }
}
