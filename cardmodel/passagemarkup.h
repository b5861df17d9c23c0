#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace wordlumen {

/**
 * The passage as the card shows it, with its terms marked: Qt's styled text
 * (the small HTML subset of a QML Text's StyledText), every mark a link the
 * view colours and follows. The passage itself is text, never markup: every
 * character that markup would read is escaped, so a passage that holds tags
 * or entities shows them as written.
 */
namespace PassageMarkup {

/// One marked stretch of the passage, in UTF-16 code units, and where its link leads.
struct Mark
{
    qsizetype start = 0;
    qsizetype length = 0;
    QString link;

    bool operator==(const Mark &) const = default;
};

/**
 * The styled text of `passage` with `marks` (in order, not overlapping; a
 * mark that overlaps the one before it or runs past the end is passed over).
 * Line breaks become <br>.
 */
[[nodiscard]] QString styledText(QStringView passage, const QList<Mark> &marks);

/// The text escaped for styled text: &, < and > as entities, line breaks as <br>.
[[nodiscard]] QString escaped(QStringView text);

/**
 * `marks` and then those of `more` that overlap none of them, in passage
 * order: the local terms' marks keep their places, and a term the online
 * search found is marked wherever it lies apart from them.
 */
[[nodiscard]] QList<Mark> merged(const QList<Mark> &marks, const QList<Mark> &more);

} // namespace PassageMarkup
} // namespace wordlumen
