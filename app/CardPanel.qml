import QtQuick
import Wordlumen.Card
import Wordlumen.App

// The floating panel's content: the card with the application's settings face.
CardView {
    id: panel

    settingsFace: Component {
        SettingsView {
            viewModel: panel.viewModel
            windowController: panel.windowController
        }
    }
}
