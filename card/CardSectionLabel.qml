import QtQuick
import Wordlumen.Card

Text {
    font: Theme.mono(10, Font.DemiBold, 1.8)
    color: Theme.secondaryInk
}
