#pragma once

#include <QString>

namespace wordlumen {

/**
 * The text the user selected in any program, for a lookup of the selection:
 * where the desktop has a selection of its own (the X11 primary selection,
 * which XWayland shares with Wayland programs) that one, otherwise what is
 * on the clipboard. Raw text; turning it into a query is the caller's rule.
 */
class SelectionSource
{
public:
    SelectionSource() = default;
    virtual ~SelectionSource() = default;
    SelectionSource(const SelectionSource &) = delete;
    SelectionSource &operator=(const SelectionSource &) = delete;

    /// The selected text, else the clipboard's; empty when neither holds text.
    [[nodiscard]] virtual QString selectedText() const = 0;
};

} // namespace wordlumen
