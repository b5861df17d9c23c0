#pragma once

#include <QString>
#include <QStringView>

namespace wordlumen {

/**
 * The text `wordlumen --selection` and the global shortcut look up, as a
 * query: the desktop's selection source finds the text, these rules shape it.
 */
namespace SelectionText {

/// A selection longer than this is cut: a term or a sentence describing one is far shorter.
inline constexpr qsizetype kMaximumGraphemes = 200;

/**
 * A selected text as a query: every run of white space (the line breaks of a
 * PDF or a wrapped chat message) becomes one space, the ends are trimmed, and
 * at most kMaximumGraphemes characters are kept.
 */
[[nodiscard]] QString normalised(QStringView text);

} // namespace SelectionText
} // namespace wordlumen
