#pragma once

#include "launchrequest.h"

#include <QString>
#include <QStringList>

namespace wordlumen {

/**
 * The options of `wordlumen`, read before anything connects to the display so
 * that `--help`, `--version` and a mistyped option work in any terminal, and
 * a request for a running instance leaves at once.
 */
struct CommandLine
{
    enum class Outcome
    {
        Run,
        ShowHelp,
        ShowVersion,
        UsageError,
    };
    /// The exit status of a usage error.
    static constexpr int kUsageErrorStatus = 2;

    Outcome outcome = Outcome::Run;
    LaunchRequest request;
    /// For a usage error: the sentence that says what is wrong.
    QString error;

    /**
     * Reads `arguments` (the program's name first). Options of the toolkit
     * itself (`-platform xcb`, `-style …`) are left to it and are not ours to
     * refuse; everything after `--` is text to look up.
     */
    [[nodiscard]] static CommandLine parse(const QStringList &arguments);

    /// The text of `--help`; names the program as the running application was started.
    [[nodiscard]] static QString helpText();
    /// The text of `--version`.
    [[nodiscard]] static QString versionText();
};

} // namespace wordlumen
