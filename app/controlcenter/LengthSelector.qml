import QtQuick
import Wordlumen.App

// The answer length, three segments (精简, 推荐, 完整) whose tooltips are the
// lengths' summaries; the pointer over a segment shows its summary below.
SegmentedChoice {
    id: selector

    required property ApiPageModel page

    titles: page.lengthTitles
    tooltips: page.lengthSummaries
    currentIndex: page.lengthIndex
    accessibleName: "回答长度"
    onChosen: (index) => page.lengthIndex = index
    onHovered: (index) => page.hoverLength(index)
    onUnhovered: (index) => page.unhoverLength(index)
}
