#pragma once

namespace wordlumen {

/**
 * Makes the text of both windows read and edit through a screen reader the
 * way a desktop's text does.
 *
 * Qt Quick 6.4 gives a one-line field (TextInput) a Text interface but no
 * EditableText one, reports no inserted or removed text while the user types
 * (so a reader can neither echo characters nor update a braille line), and
 * reads a password field's text in clear; a label (Text) has a name but an
 * empty Text interface. The interfaces installed here wrap Qt Quick's own: a
 * field gains editing, reports each change as text removed and inserted, and
 * gives a password field's content, value and events as bullets of the same
 * length, never the typed text; a label's Text interface reads its name,
 * and a label claims the keyboard only when Tab reaches it.
 * (The views do not set Accessible.passwordEdit: Qt Quick then drops the
 * field's name; the password state is added here from the echo mode.)
 *
 * Call once, after the first Qt Quick window exists (Qt Quick installs its
 * own interfaces then, and the one installed last is asked first).
 */
void installTextAccessibility();

} // namespace wordlumen
