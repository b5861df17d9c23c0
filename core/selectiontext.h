#pragma once

#include <QString>
#include <QStringView>

class QClipboard;

namespace wordlumen {

/**
 * The text `wordlumen --selection` and the global shortcut look up: what is
 * selected in any program (the X11 primary selection, which XWayland shares
 * with Wayland programs), else what is on the clipboard.
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

/// The primary selection when the platform has one and it holds text, otherwise the clipboard.
[[nodiscard]] QString fromClipboard(const QClipboard &clipboard);

} // namespace SelectionText
} // namespace wordlumen
