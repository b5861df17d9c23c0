import QtQuick
import Wordlumen.Paint

// A caption above a text field; a secure field hides what is typed. Edits
// are reported as they are typed.
Column {
    id: field

    required property string title
    property string placeholder: ""
    property bool secure: false
    /// What a screen reader calls the field (the title is in capitals for the eye).
    property string accessibleName: title
    property string text
    signal edited(string text)

    spacing: 5

    Text {
        text: field.title
        font: Theme.font(8.5, Font.DemiBold, 1.0)
        color: Theme.secondaryInk
    }
    Rectangle {
        width: field.width
        height: 30
        radius: 7
        color: Theme.alpha(Theme.controlFill, 0.7)
        border.width: 1
        border.color: input.activeFocus ? Theme.alpha(Theme.accent, 0.75) : Theme.edge

        TextInput {
            id: input
            anchors.fill: parent
            anchors.leftMargin: 9
            anchors.rightMargin: 9
            verticalAlignment: TextInput.AlignVCenter
            text: field.text
            font: Theme.font(11)
            color: Theme.ink
            echoMode: field.secure ? TextInput.Password : TextInput.Normal
            passwordCharacter: "•"
            selectByMouse: true
            selectionColor: Theme.alpha(Theme.accent, 0.3)
            selectedTextColor: Theme.ink
            clip: true
            activeFocusOnTab: true
            onTextEdited: field.edited(text)
            // A long address shows from its beginning while it is not being edited.
            onActiveFocusChanged: if (!activeFocus) cursorPosition = 0
            onTextChanged: if (!activeFocus) cursorPosition = 0
            Accessible.role: Accessible.EditableText
            Accessible.name: field.accessibleName

            Text {
                anchors.fill: parent
                verticalAlignment: Text.AlignVCenter
                visible: input.text.length === 0 && input.preeditText.length === 0
                text: field.placeholder
                font: input.font
                color: Theme.alpha(Theme.secondaryInk, 0.8)
                elide: Text.ElideRight
            }
        }
    }
}
