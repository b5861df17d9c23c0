#pragma once

namespace wordlumen {

/**
 * Makes the one-line text fields of both windows (Qt Quick's TextInput) read
 * and edit through a screen reader the way a desktop text field does.
 *
 * Qt Quick 6.4 gives a TextInput a Text interface but no EditableText one,
 * reports no inserted or removed text while the user types (so a reader can
 * neither echo characters nor update a braille line), and reads a password
 * field's text in clear. The interface installed here wraps Qt Quick's own:
 * it adds editing, reports each change as text removed and inserted, and
 * gives a password field's content, value and events as bullets of the same
 * length, never the typed text. (The views do not set Accessible.passwordEdit:
 * Qt Quick then drops the field's name; the password state is added here.)
 *
 * Call once, after the first Qt Quick window exists (Qt Quick installs its
 * own interfaces then, and the one installed last is asked first).
 */
void installTextFieldAccessibility();

} // namespace wordlumen
