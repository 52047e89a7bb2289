#pragma once

#include <QString>

// `pelm <command> [options]`: the office's batch work without a display (see
// `pelm --help`). The command word comes first, after the options every
// command takes; today's --init-db, --backup, --restore and --copy-to are
// aliases of their commands.
namespace command_line {

// Whether these arguments ask for a command (a command word, an alias, --help or
// --version) rather than the application's window.
bool isCommand(int argc, char* argv[]);

// Runs the command and returns its exit status (0 done, 1 refused, 2 bad
// usage). Makes its own application object: none may exist yet.
int run(int argc, char* argv[], const QString& version);

} // namespace command_line
