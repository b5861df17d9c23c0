import QtQuick
import Wordlumen.Card
import Wordlumen.App

// The floating panel's content: the card with the application's settings face.
CardView {
    settingsFace: Qt.resolvedUrl("SettingsView.qml")
}
