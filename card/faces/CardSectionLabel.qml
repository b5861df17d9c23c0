import QtQuick
import Wordlumen.Paint

Text {
    font: Theme.mono(10, Font.DemiBold, 1.8)
    color: Theme.secondaryInk
    // The CJK face's tall default line would push the answer down; keep it to
    // the type (a fixed line height leaves the last line at the face's own).
    lineHeightMode: Text.FixedHeight
    lineHeight: 12
    height: 12
}
