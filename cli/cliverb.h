#pragma once

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

namespace wordlumen::cli {

/// Exit codes shared by every verb.
enum ExitCode : int
{
    Success = 0,
    ShownError = 1, ///< the verb ran and its message is an error (or no answer was found)
    UsageError = 2, ///< the command line could not be understood
};

/// What a verb writes to and knows about its terminal.
struct CliContext
{
    QTextStream &out;
    QTextStream &err;
    bool outIsTerminal = false;
};

/// A verb takes its own arguments (without the program and verb names).
using VerbFunction = int (*)(const QStringList &arguments, CliContext &context);

/**
 * Parses a verb's arguments with `--help` support. Returns nothing when the
 * caller should exit with `*exitCode` (help shown, or a usage error printed).
 */
[[nodiscard]] bool parseVerbArguments(QCommandLineParser &parser, const QString &verb,
                                      const QStringList &arguments, CliContext &context,
                                      int *exitCode);

/// Prints a usage error for a verb and returns `UsageError`.
int usageError(const QCommandLineParser &parser, const QString &verb, const QString &message,
               CliContext &context);

// The verbs. Each lives in its own file.
int runLookup(const QStringList &arguments, CliContext &context);
int runSpot(const QStringList &arguments, CliContext &context);
int runCheckPack(const QStringList &arguments, CliContext &context);
int runImport(const QStringList &arguments, CliContext &context);
int runPacks(const QStringList &arguments, CliContext &context);
int runConfig(const QStringList &arguments, CliContext &context);
int runSetKey(const QStringList &arguments, CliContext &context);
int runClearKey(const QStringList &arguments, CliContext &context);
int runHistory(const QStringList &arguments, CliContext &context);

} // namespace wordlumen::cli
