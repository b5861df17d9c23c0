#pragma once

#include <QByteArray>

namespace wordlumen::cli {

/**
 * What the companion asks of the terminal it runs in. The one file of the
 * program that talks to the operating system's terminal interface; where a
 * system offers none of it, a stream is taken for no terminal, 80 columns
 * wide, and input is read as it comes.
 */
namespace Terminal {

/// Whether standard output is a terminal (streamed answers are redrawn in place there).
[[nodiscard]] bool outputIsTerminal();
/// Whether standard input is a terminal (a person types, so there is a prompt).
[[nodiscard]] bool inputIsTerminal();
/// The width of the terminal on standard output in columns; 80 when unknown.
[[nodiscard]] int columns();
/// One line from standard input, without echoing what is typed on a terminal.
[[nodiscard]] QByteArray readLineWithoutEcho();

} // namespace Terminal
} // namespace wordlumen::cli
