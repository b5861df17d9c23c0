pragma ComponentBehavior: Bound
import QtQuick
import Wordlumen.Paint
import Wordlumen.Card

// Below an answer: the passage's other known terms, as many chips as fit,
// then "+N" (or "全部") for the passage view.
Item {
    id: row

    required property CardViewModel viewModel
    readonly property PassageSession passage: viewModel.passage

    implicitHeight: CardMetrics.passageRow

    Text {
        id: lead
        anchors.verticalCenter: parent.verticalCenter
        text: "这段话里还有："
        font: Theme.font(10.5, Font.Medium)
        color: Theme.secondaryInk
        Accessible.role: Accessible.StaticText
        Accessible.name: "这段话里还有"
    }

    ChipRowFit {
        id: fit
        labels: row.passage.others.labels
        font: Theme.font(10.5, Font.DemiBold)
        availableWidth: row.width - chips.x
    }

    Row {
        id: chips
        x: lead.implicitWidth + 2
        anchors.verticalCenter: parent.verticalCenter
        spacing: CardMetrics.chipSpacing

        Repeater {
            model: row.passage.others
            PassageChip {
                required property int index
                required property string term
                required property string chipName
                accessibleName: chipName
                visible: index < fit.shownCount
                onClicked: row.viewModel.explainPassageTerm(term)
            }
        }
        PassageChip {
            label: fit.trailingLabel
            accessibleName: fit.trailingName
            opensList: true
            onClicked: row.viewModel.showPassage()
        }
    }
}
